#pragma once

#include "core/organizer.h"
#include "platform/unsavedchanges.h"
#include "store/agendarepository.h"

#include <QDialog>
#include <QTime>

class QComboBox;

namespace brevane {

class FlatButton;
class LimitedLineEdit;
namespace store {
class Database;
} // namespace store

// The window in which the user enters a new agenda task or changes one: its
// text, start and end time, category, date and reminder lead time. A modeless
// dialog; the main window presets it and learns of a save through saved().
//
// In edit mode the window keeps the task as it read it and writes into exactly
// that record, whatever else happens to the agenda while it is open. Save
// writes only what the user changed, so that a reminder put off meanwhile, or
// a stored value the drop-downs cannot show, survives; when the task in the
// file is no longer the one read, the user is asked first.
class frmAddAgenda : public QDialog, public UnsavedChanges
{
    Q_OBJECT

public:
    enum class Mode { Add, Edit };

    explicit frmAddAgenda(store::Database &db, QWidget *parent = nullptr);
    ~frmAddAgenda() override;
    Q_DISABLE_COPY_MOVE(frmAddAgenda)

    // Selects a start time ("9", "30", "AM") and the same entries as end
    // time. Returns false, changing nothing, when a text is not an entry.
    bool presetStartTime(const QString &hour, const QString &minute, const QString &amPm);
    // Day first, then year, then month (0-based): the month's day list then
    // keeps the day, or its last day when the month is shorter.
    void presetDate(int day, int monthIndex, int year);
    // Switches to edit mode on the task with this identity, which the caller
    // shows on `filedOn`, and fills the window from the stored task. False
    // (and add mode kept) when there is no such task or it cannot be read; a
    // failed read is reported.
    bool editRecord(store::RecordId id, const DayMonthYear &filedOn);
    [[nodiscard]] Mode mode() const { return m_mode; }
    [[nodiscard]] bool isEditMode() const { return m_mode == Mode::Edit; }
    [[nodiscard]] store::RecordId recordId() const { return isEditMode() ? m_task.id : store::kNoRecord; }

    // Save: checks the input and writes the task; closes the window when the
    // task is stored, stays open with the input otherwise.
    void updateAgenda();
    // Enables the button when there is task text and a whole date to file
    // it under.
    void enableButton(FlatButton *button);

    // True when the user typed or chose something that Save would write.
    [[nodiscard]] bool hasUnsavedChanges() const override;
    // Escape and reject() close the window like its Close button.
    void done(int result) override;

Q_SIGNALS:
    // The task is stored in the file.
    void saved();
    // The window closes, saved or not.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    // What the controls show, as the user sees it.
    struct Shown {
        QString text;
        QString start;
        QString end;
        QString category;
        QString date;
        QString reminder;
        QString alarm;
        QString repeating;
        friend bool operator==(const Shown &, const Shown &) = default;
    };

    void buildControls();
    void fillDropDowns();
    void cmbMonth_Click();
    void cmbYear_Click();
    void cmbDay_Click();
    void cmdReset_Click();
    void fillDays(int count);
    void showTask(const store::AgendaTask &task);
    [[nodiscard]] Shown shown() const;
    [[nodiscard]] store::AgendaFields changedFields() const;
    [[nodiscard]] store::AgendaTask taskFromControls(store::AgendaFields *fields) const;
    [[nodiscard]] bool timeRangeValid() const;
    [[nodiscard]] bool textFits();
    [[nodiscard]] bool startSlotFree(const store::AgendaTask &task);
    [[nodiscard]] bool stillTheTaskRead(bool writing);
    [[nodiscard]] QTime startTime() const;
    [[nodiscard]] QTime endTime() const;

    store::AgendaRepository m_tasks;
    Mode m_mode = Mode::Add;
    // Edit mode: the task as it was read when the window was opened on it.
    store::AgendaTask m_task;
    // What the window showed once the program had filled it; the user's
    // changes are the differences from it.
    Shown m_opened;
    qint16 m_rememberedDay = 0;
    bool m_loading = true;
    bool m_fillingDays = false;

    LimitedLineEdit *m_txtTask = nullptr;
    QComboBox *m_cmbStartHour = nullptr;
    QComboBox *m_cmbStartMinute = nullptr;
    QComboBox *m_cmbStartAMPM = nullptr;
    QComboBox *m_cmbEndHour = nullptr;
    QComboBox *m_cmbEndMinute = nullptr;
    QComboBox *m_cmbEndAMPM = nullptr;
    QComboBox *m_cmbCategory = nullptr;
    QComboBox *m_cmbMonth = nullptr;
    QComboBox *m_cmbDay = nullptr;
    QComboBox *m_cmbYear = nullptr;
    QComboBox *m_cmbRepeat = nullptr;
    QComboBox *m_cmbReminder = nullptr;
    QComboBox *m_cmbAlarm = nullptr;
    FlatButton *m_cmdSave = nullptr;
    FlatButton *m_cmdReset = nullptr;
    FlatButton *m_cmdClose = nullptr;
};

} // namespace brevane
