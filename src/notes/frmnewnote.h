#pragma once

#include "store/recordset.h"

#include <QDialog>

class QLineEdit;

namespace brevane {

class FlatButton;
namespace store {
class Database;
} // namespace store

// Asks for a note's title, modal. In New mode it adds an empty note with that
// title, refusing a title another note already has; in Rename mode it gives
// one note the title, whatever other notes are called. Once accepted, note()
// is the note added or renamed, for the notes window to open.
class frmNewNote : public QDialog
{
    Q_OBJECT

public:
    enum class Mode { New, Rename };

    frmNewNote(store::Database &db, Mode mode, QWidget *parent = nullptr);
    ~frmNewNote() override;
    Q_DISABLE_COPY_MOVE(frmNewNote)

    [[nodiscard]] Mode mode() const { return m_mode; }
    // Rename mode: the note to rename and its title, which the box starts with.
    void setRenamedNote(store::RecordId id, const QString &title);
    [[nodiscard]] store::RecordId note() const { return m_note; }

    // The OK button, and the Enter key in the title box.
    void AddNote();

private:
    void addNew(const QString &title);
    void rename(const QString &title);
    void enableButton(FlatButton *button, bool enable);

    store::Database &m_db;
    const Mode m_mode;
    store::RecordId m_note = store::kNoRecord;

    QLineEdit *m_txtTitle = nullptr;
    FlatButton *m_cmdOk = nullptr;
    FlatButton *m_cmdCancel = nullptr;
};

} // namespace brevane
