#pragma once

#include "core/organizer.h"
#include "store/recordset.h"

#include <QWidget>

#include <memory>

class QComboBox;
class QLineEdit;

namespace brevane {

class FlatButton;
class LimitedLineEdit;
namespace store {
class Database;
} // namespace store

// The window in which the user enters a new agenda task or changes one: its
// text, start and end time, category, date and reminder lead time. It is
// modeless; the main window presets it and learns of a save through saved().
//
// In edit mode the window holds on to the identity of the task it was opened
// on and writes into exactly that record, whatever else happens to the
// agenda while it is open.
class frmAddAgenda : public QWidget
{
    Q_OBJECT

public:
    explicit frmAddAgenda(store::Database &db, QWidget *parent = nullptr);
    ~frmAddAgenda() override;
    Q_DISABLE_COPY_MOVE(frmAddAgenda)

    static const QString kAddCaption;
    static const QString kEditCaption;

    // Selects a start time ("9", "30", "AM") and the same entries as end
    // time. Returns false, changing nothing, when a text is not an entry.
    bool presetStartTime(const QString &hour, const QString &minute, const QString &amPm);
    // Day first, then year, then month (0-based): the month's day list then
    // keeps the day, or its last day when the month is shorter.
    void presetDate(int day, int monthIndex, int year);
    // Switches to edit mode on the task with this identity, which the caller
    // shows on `filedOn`, and fills the window from the stored task. False
    // (and add mode kept) when there is no such task.
    bool editRecord(store::RecordId id, const DayMonthYear &filedOn);
    [[nodiscard]] bool isEditMode() const { return m_recordId != store::kNoRecord; }
    [[nodiscard]] store::RecordId recordId() const { return m_recordId; }

    // Save: checks the input and writes the task; closes the window when the
    // task is stored, stays open with the input otherwise.
    void updateAgenda();
    // Enables the button when there is task text and a whole date to file
    // it under.
    void enableButton(FlatButton *button);

Q_SIGNALS:
    // The task is stored in the file.
    void saved();
    // The window closes, saved or not.
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void buildControls();
    void fillDropDowns();
    void cmbMonth_Click();
    void cmbYear_Click();
    void cmbDay_Click();
    void cmdReset_Click();
    void fillDays(int count);
    [[nodiscard]] bool timeRangeValid() const;
    [[nodiscard]] bool keepsItsSlot(int day, int month, int year) const;
    [[nodiscard]] bool startSlotTaken(int day, int month, int year) const;
    [[nodiscard]] QString startTimeText() const;

    store::Database &m_db;
    store::RecordId m_recordId = store::kNoRecord;
    std::unique_ptr<store::RecordSet> m_editSet;
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
