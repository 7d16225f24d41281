#pragma once

#include "platform/unsavedchanges.h"
#include "store/todorepository.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;

namespace brevane {

class FlatButton;
class LimitedLineEdit;
namespace store {
class Database;
} // namespace store

// The window in which a to-do item is added or changed: its text, category,
// done flag and priority. A modeless dialog; the main window keeps one and
// reuses it while it is open.
//
// In edit mode the window keeps the item as it read it. Save writes only what
// the user changed, so that a change made meanwhile in the main window (Mark
// as Done, Priority) or a value the lists cannot show survives; when the item
// in the file is no longer the one read, the user is asked first.
class frmAddToDo : public QDialog, public UnsavedChanges
{
    Q_OBJECT

public:
    static constexpr int kMaxTaskLength = store::ToDoRepository::kTextLimit;

    enum class Mode { Add, Edit };
    // How an edit opened: shown, or not, because the item is gone or could
    // not be read (which has been reported).
    enum class Opened { Shown, Gone, Unreadable };

    explicit frmAddToDo(store::Database &db, QWidget *parent = nullptr);
    ~frmAddToDo() override;
    Q_DISABLE_COPY_MOVE(frmAddToDo)

    // Shows the window for a new item. The fields keep what they hold; Done
    // is "No" and cannot be changed, as a new item is never done.
    void openForAdd();
    // Shows the window on the item with this identity, filled from the file;
    // nothing is shown when the item no longer exists or cannot be read.
    Opened openForEdit(store::RecordId id);

    [[nodiscard]] Mode mode() const { return m_mode; }
    // The item an edit writes into; kNoRecord in add mode.
    [[nodiscard]] store::RecordId editedRecord() const { return m_mode == Mode::Edit ? m_item.id : store::kNoRecord; }

    // The Save button and the Enter key in the text box.
    void save();

    // True when the user typed or chose something that Save would write.
    [[nodiscard]] bool hasUnsavedChanges() const override;
    // Escape and reject() close the window like its Close button.
    void done(int result) override;

Q_SIGNALS:
    // The item with this identity was added or changed in the file.
    void saved(store::RecordId id);
    // The window closed, whichever way.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // What the controls show, as the user sees it.
    struct Shown {
        QString text;
        QString category;
        QString done;
        QString priority;
        friend bool operator==(const Shown &, const Shown &) = default;
    };

    void addNewTask();
    void editTask();
    [[nodiscard]] Shown shown() const;
    [[nodiscard]] store::ToDoFields changedFields() const;
    [[nodiscard]] store::ToDoItem itemFromControls(store::ToDoItem item) const;
    [[nodiscard]] bool textFits();
    void reportFailedWrite(const QString &reason);
    void resetFields();
    void enableButton(FlatButton *button);
    void bringToFront();

    store::ToDoRepository m_items;
    Mode m_mode = Mode::Add;
    // Edit mode: the item as it was read when the window was opened on it.
    store::ToDoItem m_item;
    // What the window showed when it was opened; the user's changes are the
    // differences from it.
    Shown m_opened;

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
