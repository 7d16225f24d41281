#pragma once

#include "store/recordset.h"

#include <QString>
#include <QWidget>

class QComboBox;
class QLabel;

namespace brevane {

class FlatButton;
class LimitedLineEdit;
namespace store {
class Database;
} // namespace store

// The window in which a to-do item is added or changed: its text, category,
// done flag and priority. Not modal; the main window keeps one and reuses it
// while it is open. The caption is the mode: Save adds a record while it
// reads "Add To-Do Item" and overwrites the record the window was opened on
// while it reads "Edit To-Do Item".
class frmAddToDo : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMaxTaskLength = 250;

    explicit frmAddToDo(store::Database &db, QWidget *parent = nullptr);
    ~frmAddToDo() override;
    Q_DISABLE_COPY_MOVE(frmAddToDo)

    // Shows the window for a new item. The fields keep what they hold; Done
    // is "No" and cannot be changed, as a new item is never done.
    void openForAdd();
    // Shows the window on the record with this identity, filled from the
    // file. False (and nothing shown) when the record no longer exists.
    bool openForEdit(store::RecordId id);

    // The record an edit writes into; kNoRecord in add mode.
    [[nodiscard]] store::RecordId editedRecord() const { return m_recordId; }

    // The Save button and the Enter key in the text box.
    void save();

Q_SIGNALS:
    // A record was written; the to-do list reloads.
    void saved();
    // The window closed, whichever way.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void addNewTask();
    void editTask();
    void writeFields(store::RecordSet &set) const;
    void reportFailedWrite(const QString &reason);
    void resetFields();
    void enableButton(FlatButton *button);
    void bringToFront();

    store::Database &m_db;
    store::RecordId m_recordId = store::kNoRecord;

    LimitedLineEdit *m_txtTask = nullptr;
    QLabel *m_lblMaxLength = nullptr;
    QComboBox *m_cmbCategory = nullptr;
    QComboBox *m_cmbDone = nullptr;
    QComboBox *m_cmbPriority = nullptr;
    FlatButton *m_cmdSave = nullptr;
    FlatButton *m_cmdReset = nullptr;
    FlatButton *m_cmdClose = nullptr;
};

} // namespace brevane
