#pragma once

#include "store/agendarepository.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace brevane {

namespace store { class Database; }

// The reminder pop-up: shows one agenda task whose reminder is due and lets the
// user put the reminder off, stop it, or copy it into the to-do list. It acts on
// the record it was given, whatever the main window's record sets do meanwhile.
class frmRemind : public QDialog
{
    Q_OBJECT

public:
    explicit frmRemind(store::Database &db, QWidget *parent = nullptr);
    ~frmRemind() override;
    Q_DISABLE_COPY_MOVE(frmRemind)

    // Fills the window with the task of `record` and offers the postponements
    // from today up to the task's date, "0 Days" chosen.
    void setReminder(int day, int month, int year, const QString &task, const QString &startHour,
                     const QString &startMinute, const QString &startAmPm, const QString &category,
                     store::RecordId record);

    // The same for a task as the agenda reads it.
    void setReminder(const store::AgendaTask &task);

    // The record the window shows.
    [[nodiscard]] store::RecordId record() const { return m_record; }

    // OK: stores the chosen postponement in the record, adds the to-do copy
    // when asked to, and closes the window.
    void cmdOk_Click();

Q_SIGNALS:
    // The agenda record's reminder was changed in the file.
    void reminderChanged();
    // The reminder was copied into the to-do list.
    void todoAdded();

private:
    void updateReminder();
    void addTodoCopy();

    store::Database &m_db;
    QPlainTextEdit *m_txtTask = nullptr;
    QLineEdit *m_txtDate = nullptr;
    QLineEdit *m_txtTime = nullptr;
    QLineEdit *m_txtCategory = nullptr;
    QCheckBox *m_chkReminder = nullptr;
    QCheckBox *m_chkDisplay = nullptr;
    QComboBox *m_cmbNext = nullptr;
    QPushButton *m_cmdOk = nullptr;
    store::RecordId m_record = store::kNoRecord;
    // The texts as given: a text box may change line breaks and blanks, and
    // the to-do copy must carry the task exactly as stored.
    QString m_task;
    QString m_category;
    QString m_dateText;
    QString m_timeText;
    // OK acts once per reminder shown, however often it is pressed.
    bool m_done = false;
};

} // namespace brevane
