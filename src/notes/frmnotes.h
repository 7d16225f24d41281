#pragma once

#include "platform/unsavedchanges.h"
#include "store/recordset.h"

#include <QList>
#include <QString>
#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;

namespace brevane {

class FlatButton;
class NoteTextEdit;
namespace store {
class Database;
} // namespace store

// The notes window: named free-text notes. One drop-down is both the command
// menu ("Add New Note") and the list of notes; choosing a note opens its text
// in the large box below, and the toolbar creates, deletes, renames, saves and
// closes. Not modal. Each note entry carries its record's identity, so notes
// that share a title each open their own text.
class frmNotes : public QWidget, public UnsavedChanges
{
    Q_OBJECT

public:
    explicit frmNotes(store::Database &db, QWidget *parent = nullptr);
    ~frmNotes() override;
    Q_DISABLE_COPY_MOVE(frmNotes)

    // The New button: offers to save the open note's changes, then asks for
    // the new note's title. File > New > "Note" runs it after showing the window.
    void cmdNew_Click();
    // The open note holds typed changes that Save would write.
    [[nodiscard]] bool hasUnsavedChanges() const override;
    // The note shown in the text box; kNoRecord when none is open.
    [[nodiscard]] store::RecordId openNote() const { return m_openNote; }

    // Rebuilds the drop-down from the file and closes any open note.
    void LoadNotes();
    // Writes the text box into the open note. False, after telling the user,
    // when the write failed; the text stays in the box.
    bool SaveNotes();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Entry { SelectAction, AddNewNote, OpenHeading, Note, NoNotes };

    void buildToolbar();
    void addEntry(const QString &text, Entry kind, store::RecordId id = store::kNoRecord);
    [[nodiscard]] Entry entryAt(int index) const;
    // Acts on the entry just chosen in the drop-down.
    void noteOptions(int index);
    void openNoteAt(int index);
    void closeNote();
    // Reloads the list and opens this note in it.
    void reloadAndOpen(store::RecordId id);
    void runNewNoteDialog();
    [[nodiscard]] QString shownTitle() const;

    void cmdDelete_Click();
    void cmdRename_Click();
    void cmdSave_Click();
    void txtNote_Change();
    void enableButton(FlatButton *button, bool enable);
    void layoutWindow();

    store::Database &m_db;
    store::RecordId m_openNote = store::kNoRecord;
    // The open note's text as it was opened or last saved.
    QString m_savedText;

    QLabel *m_lblNote = nullptr;
    QComboBox *m_cmbNote = nullptr;
    NoteTextEdit *m_txtNote = nullptr;
    QFrame *m_fraToolbar = nullptr;
    FlatButton *m_cmdNew = nullptr;
    FlatButton *m_cmdDelete = nullptr;
    FlatButton *m_cmdRename = nullptr;
    FlatButton *m_cmdSave = nullptr;
    FlatButton *m_cmdClose = nullptr;
    FlatButton *m_cmdDivider = nullptr;
};

} // namespace brevane
