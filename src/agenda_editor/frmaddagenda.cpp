#include "agenda_editor/frmaddagenda.h"

#include "controls/flatbutton.h"
#include "controls/limitedlineedit.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "platform/desktop.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include <algorithm>

namespace brevane {

namespace {

constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;
// The alarm list: "Yes", "No".
constexpr int kAlarmOff = 1;
// The reminder list: "" and "1 Day" .. "7 Days", then a stored lead it lacks.
constexpr int kLongestListedLead = 7;
// The longest lead computeReminderDate takes.
constexpr int kLongestLead = 28;

// Selects the entry with this text, letter case ignored, the way a stored
// value is shown back; a text that is no entry leaves the selection alone.
void selectText(QComboBox *box, const QString &text)
{
    const int index = box->findText(text, Qt::MatchFixedString);
    if (index >= 0)
        box->setCurrentIndex(index);
}

void selectIndex(QComboBox *box, int index)
{
    if (index >= 0 && index < box->count())
        box->setCurrentIndex(index);
}

// The time the three drop-downs show: hours "1" to "12", minutes "00" and
// "30", "AM" and "PM" by position. "12:00 AM" is midnight, "12:00 PM" noon.
QTime timeIn(const QComboBox *hour, const QComboBox *minute, const QComboBox *amPm)
{
    return QTime(((hour->currentIndex() + 1) % 12) + 12 * amPm->currentIndex(), 30 * minute->currentIndex());
}

// Shows a stored time; one off the half-hour grid, or unreadable, leaves the
// drop-downs as they are.
void showTime(QComboBox *hour, QComboBox *minute, QComboBox *amPm, const QTime &time)
{
    if (!time.isValid() || time.minute() % 30 != 0)
        return;
    hour->setCurrentIndex((time.hour() + 11) % 12);
    minute->setCurrentIndex(time.minute() / 30);
    amPm->setCurrentIndex(time.hour() < 12 ? 0 : 1);
}

QString shownTime(const QComboBox *hour, const QComboBox *minute, const QComboBox *amPm)
{
    return timeText(hour->currentText(), minute->currentText(), amPm->currentText());
}

QComboBox *makeDropDown(QWidget *parent, const QString &name, const QString &accessibleName)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(accessibleName);
    return box;
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption, QWidget *buddy = nullptr)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

} // namespace

frmAddAgenda::frmAddAgenda(store::Database &db, QWidget *parent)
    : QDialog(parent)
    , m_tasks(db)
{
    setObjectName(QStringLiteral("frmAddAgenda"));
    setWindowTitle(tr("Add Agenda Task"));
    buildControls();
    fillDropDowns();
    m_rememberedDay = static_cast<qint16>(textToNumber(m_cmbDay->currentText()));
    m_loading = false;
    enableButton(m_cmdSave);
    m_opened = shown();
}

frmAddAgenda::~frmAddAgenda() = default;

void frmAddAgenda::buildControls()
{
    m_txtTask = new LimitedLineEdit(store::AgendaRepository::kTextLimit, this);
    m_txtTask->setObjectName(QStringLiteral("txtTask"));
    m_txtTask->setMinimumWidth(QFontMetrics(m_txtTask->font()).horizontalAdvance(QString(42, u'x')));
    auto *lblTask = makeLabel(this, QStringLiteral("lblTask"), tr("Task:"), m_txtTask);
    m_txtTask->setAccessibleName(tr("Task:"));
    auto *lblMax = makeLabel(this, QStringLiteral("lblMaxCharacters"),
                             tr("(Max. %1 characters)").arg(store::AgendaRepository::kTextLimit));

    m_cmbStartHour = makeDropDown(this, QStringLiteral("cmbStartHour"), tr("Start Time:"));
    m_cmbStartMinute = makeDropDown(this, QStringLiteral("cmbStartMinute"), tr("Start minute"));
    m_cmbStartAMPM = makeDropDown(this, QStringLiteral("cmbStartAMPM"), tr("Start AM/PM"));
    m_cmbEndHour = makeDropDown(this, QStringLiteral("cmbEndHour"), tr("End Time:"));
    m_cmbEndMinute = makeDropDown(this, QStringLiteral("cmbEndMinute"), tr("End minute"));
    m_cmbEndAMPM = makeDropDown(this, QStringLiteral("cmbEndAMPM"), tr("End AM/PM"));
    m_cmbCategory = makeDropDown(this, QStringLiteral("cmbCategory"), tr("Category:"));
    m_cmbMonth = makeDropDown(this, QStringLiteral("cmbMonth"), tr("Date: month"));
    m_cmbDay = makeDropDown(this, QStringLiteral("cmbDay"), tr("Date: day"));
    m_cmbYear = makeDropDown(this, QStringLiteral("cmbYear"), tr("Date: year"));
    m_cmbRepeat = makeDropDown(this, QStringLiteral("cmbRepeat"), tr("Repeat:"));
    m_cmbReminder = makeDropDown(this, QStringLiteral("cmbReminder"), tr("Reminder:"));
    m_cmbAlarm = makeDropDown(this, QStringLiteral("cmbAlarm"), tr("Alarm?"));
    // Kept and saved, but the organizer offers no repetition or alarm.
    m_cmbRepeat->hide();
    m_cmbAlarm->hide();
    // Room for "12", "00" and "PM" whatever the style draws around them.
    for (QComboBox *box : {m_cmbStartHour, m_cmbStartMinute, m_cmbStartAMPM, m_cmbEndHour, m_cmbEndMinute,
                           m_cmbEndAMPM, m_cmbDay})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto *lblStart = makeLabel(this, QStringLiteral("lblStartTime"), tr("Start Time:"), m_cmbStartHour);
    auto *lblEnd = makeLabel(this, QStringLiteral("lblEndTime"), tr("End Time:"), m_cmbEndHour);
    auto *lblCategory = makeLabel(this, QStringLiteral("lblCategory"), tr("Category:"), m_cmbCategory);
    auto *lblDate = makeLabel(this, QStringLiteral("lblDate"), tr("Date:"), m_cmbMonth);
    auto *lblRepeat = makeLabel(this, QStringLiteral("lblRepeat"), tr("Repeat:"), m_cmbRepeat);
    auto *lblReminder = makeLabel(this, QStringLiteral("lblReminder"), tr("Reminder:"), m_cmbReminder);
    auto *lblAlarm = makeLabel(this, QStringLiteral("lblAlarm"), tr("Alarm?"), m_cmbAlarm);
    lblRepeat->hide();
    lblAlarm->hide();

    m_cmdSave = new FlatButton(tr("Save"), this);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdReset = new FlatButton(tr("Reset Fields"), this);
    m_cmdReset->setObjectName(QStringLiteral("cmdReset"));
    m_cmdClose = new FlatButton(tr("Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    const int buttonWidth = static_cast<QWidget *>(m_cmdReset)->sizeHint().width() + 16;
    for (FlatButton *button : {m_cmdSave, m_cmdReset, m_cmdClose}) {
        button->setMinimumWidth(buttonWidth);
        // Enter belongs to the text box; no button of the dialog takes it.
        button->setAutoDefault(false);
    }
    auto *divider = new QFrame(this);
    divider->setObjectName(QStringLiteral("linDivider"));
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);

    auto colon = [this](const QString &name) { return makeLabel(this, name, tr(":")); };

    auto *grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);

    grid->addWidget(lblTask, 0, 0);
    auto *taskRow = new QHBoxLayout;
    taskRow->addWidget(m_txtTask, 1);
    taskRow->addWidget(lblMax);
    grid->addLayout(taskRow, 0, 1);

    grid->addWidget(lblStart, 1, 0);
    auto *timeRow = new QHBoxLayout;
    timeRow->setSpacing(4);
    timeRow->addWidget(m_cmbStartHour);
    timeRow->addWidget(colon(QStringLiteral("lblStartColon")));
    timeRow->addWidget(m_cmbStartMinute);
    timeRow->addWidget(m_cmbStartAMPM);
    timeRow->addSpacing(24);
    timeRow->addWidget(lblEnd);
    timeRow->addWidget(m_cmbEndHour);
    timeRow->addWidget(colon(QStringLiteral("lblEndColon")));
    timeRow->addWidget(m_cmbEndMinute);
    timeRow->addWidget(m_cmbEndAMPM);
    timeRow->addStretch(1);
    grid->addLayout(timeRow, 1, 1);

    grid->addWidget(lblCategory, 2, 0);
    auto *dateRow = new QHBoxLayout;
    dateRow->setSpacing(4);
    dateRow->addWidget(m_cmbCategory);
    dateRow->addSpacing(24);
    dateRow->addWidget(lblDate);
    dateRow->addWidget(m_cmbMonth);
    dateRow->addWidget(m_cmbDay);
    dateRow->addWidget(m_cmbYear);
    dateRow->addWidget(lblRepeat);
    dateRow->addWidget(m_cmbRepeat);
    dateRow->addWidget(lblAlarm);
    dateRow->addWidget(m_cmbAlarm);
    dateRow->addStretch(1);
    grid->addLayout(dateRow, 2, 1);

    grid->addWidget(lblReminder, 3, 0);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->setSpacing(6);
    buttonRow->addWidget(m_cmbReminder);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_cmdSave);
    buttonRow->addWidget(m_cmdReset);
    buttonRow->addWidget(divider);
    buttonRow->addWidget(m_cmdClose);
    grid->addLayout(buttonRow, 3, 1);
    grid->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_txtTask, m_cmbStartHour);
    setTabOrder(m_cmbStartHour, m_cmbStartMinute);
    setTabOrder(m_cmbStartMinute, m_cmbStartAMPM);
    setTabOrder(m_cmbStartAMPM, m_cmbEndHour);
    setTabOrder(m_cmbEndHour, m_cmbEndMinute);
    setTabOrder(m_cmbEndMinute, m_cmbEndAMPM);
    setTabOrder(m_cmbEndAMPM, m_cmbCategory);
    setTabOrder(m_cmbCategory, m_cmbMonth);
    setTabOrder(m_cmbMonth, m_cmbDay);
    setTabOrder(m_cmbDay, m_cmbYear);
    setTabOrder(m_cmbYear, m_cmbRepeat);
    setTabOrder(m_cmbRepeat, m_cmbReminder);
    setTabOrder(m_cmbReminder, m_cmdSave);
    setTabOrder(m_cmdSave, m_cmdReset);
    setTabOrder(m_cmdReset, m_cmdClose);
    setTabOrder(m_cmdClose, m_cmbAlarm);

    connect(m_txtTask, &QLineEdit::textChanged, this, [this] { enableButton(m_cmdSave); });
    connect(m_txtTask, &QLineEdit::returnPressed, this, [this] {
        if (m_cmdSave->isEnabled())
            updateAgenda();
    });
    connect(m_cmbMonth, &QComboBox::currentIndexChanged, this, &frmAddAgenda::cmbMonth_Click);
    connect(m_cmbYear, &QComboBox::currentIndexChanged, this, &frmAddAgenda::cmbYear_Click);
    connect(m_cmbDay, &QComboBox::currentIndexChanged, this, &frmAddAgenda::cmbDay_Click);
    connect(m_cmdSave, &QPushButton::clicked, this, &frmAddAgenda::updateAgenda);
    connect(m_cmdReset, &QPushButton::clicked, this, &frmAddAgenda::cmdReset_Click);
    connect(m_cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void frmAddAgenda::fillDropDowns()
{
    // The alarm and repeat entries are kept in the task as they stand.
    m_cmbAlarm->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    m_cmbAlarm->setCurrentIndex(kAlarmOff);
    for (int hour = 1; hour <= 12; ++hour) {
        m_cmbStartHour->addItem(QString::number(hour));
        m_cmbEndHour->addItem(QString::number(hour));
    }
    m_cmbStartHour->setCurrentIndex(0);
    m_cmbEndHour->setCurrentIndex(0);
    for (QComboBox *box : {m_cmbStartAMPM, m_cmbEndAMPM}) {
        box->addItems({tr("AM"), tr("PM")});
        box->setCurrentIndex(0);
    }
    for (QComboBox *box : {m_cmbStartMinute, m_cmbEndMinute}) {
        box->addItems({QStringLiteral("00"), QStringLiteral("30")});
        box->setCurrentIndex(0);
    }
    m_cmbCategory->addItem(QString());
    m_cmbCategory->addItems(categoryNames());
    m_cmbCategory->setCurrentIndex(-1);
    m_cmbMonth->addItems(monthNames());
    m_cmbMonth->setCurrentIndex(-1);
    for (int days = 0; days <= kLongestListedLead; ++days)
        m_cmbReminder->addItem(store::AgendaRepository::editorReminderText(days));
    m_cmbReminder->setCurrentIndex(-1);
    for (int year = kFirstYear; year <= kLastYear; ++year)
        m_cmbYear->addItem(QString::number(year));
    m_cmbYear->setCurrentIndex(-1);
    fillDays(31);
    m_cmbRepeat->addItems({QString(), QStringLiteral("Daily"), QStringLiteral("Weekly"), QStringLiteral("Bi-Weekly"),
                           QStringLiteral("Monthly"), QStringLiteral("Yearly")});
    m_cmbRepeat->setCurrentIndex(0);
}

// Refills the day list with nothing selected; the callers choose the day.
void frmAddAgenda::fillDays(int count)
{
    m_fillingDays = true;
    m_cmbDay->clear();
    for (int day = 1; day <= count; ++day)
        m_cmbDay->addItem(QString::number(day));
    m_cmbDay->setCurrentIndex(-1);
    m_fillingDays = false;
}

bool frmAddAgenda::presetStartTime(const QString &hour, const QString &minute, const QString &amPm)
{
    const int hourIndex = m_cmbStartHour->findText(hour, Qt::MatchFixedString);
    const int minuteIndex = m_cmbStartMinute->findText(minute, Qt::MatchFixedString);
    const int amPmIndex = m_cmbStartAMPM->findText(amPm, Qt::MatchFixedString);
    if (hourIndex < 0 || minuteIndex < 0 || amPmIndex < 0)
        return false;
    m_cmbStartHour->setCurrentIndex(hourIndex);
    m_cmbStartMinute->setCurrentIndex(minuteIndex);
    m_cmbStartAMPM->setCurrentIndex(amPmIndex);
    m_cmbEndHour->setCurrentIndex(hourIndex);
    m_cmbEndMinute->setCurrentIndex(minuteIndex);
    m_cmbEndAMPM->setCurrentIndex(amPmIndex);
    const Shown now = shown();
    m_opened.start = now.start;
    m_opened.end = now.end;
    return true;
}

void frmAddAgenda::presetDate(int day, int monthIndex, int year)
{
    selectIndex(m_cmbDay, day - 1);
    selectIndex(m_cmbYear, m_cmbYear->findText(QString::number(year)));
    selectIndex(m_cmbMonth, monthIndex);
    m_opened.date = shown().date;
}

bool frmAddAgenda::editRecord(store::RecordId id, const DayMonthYear &filedOn)
{
    const store::ReadResult<store::AgendaTask> read = m_tasks.byId(id);
    if (!read.ok()) {
        desktop().message(parentWidget(), tr("The task could not be read: ") + read.error, Desktop::Icon::Critical);
        return false;
    }
    if (!read.value) {
        qCDebug(lcAgendaEditor) << "task" << id << "not found for editing";
        return false;
    }
    m_task = *read.value;
    m_mode = Mode::Edit;
    setWindowTitle(tr("Edit Agenda Task"));
    showTask(m_task);
    presetDate(filedOn.day, filedOn.month - 1, filedOn.year);
    m_opened = shown();
    return true;
}

void frmAddAgenda::showTask(const store::AgendaTask &task)
{
    m_txtTask->setText(task.text);
    selectText(m_cmbCategory, task.category);
    showTime(m_cmbStartHour, m_cmbStartMinute, m_cmbStartAMPM, task.start);
    showTime(m_cmbEndHour, m_cmbEndMinute, m_cmbEndAMPM, task.end);
    selectText(m_cmbRepeat, task.repeating);
    // A lead the list does not offer (a reminder put off to "0 days") is
    // shown as it stands, so that it is seen and kept.
    if (m_cmbReminder->findText(task.reminder, Qt::MatchFixedString) < 0)
        m_cmbReminder->addItem(task.reminder);
    selectText(m_cmbReminder, task.reminder);
}

frmAddAgenda::Shown frmAddAgenda::shown() const
{
    return {m_txtTask->text(),
            shownTime(m_cmbStartHour, m_cmbStartMinute, m_cmbStartAMPM),
            shownTime(m_cmbEndHour, m_cmbEndMinute, m_cmbEndAMPM),
            m_cmbCategory->currentText(),
            m_cmbDay->currentText() + u' ' + m_cmbMonth->currentText() + u' ' + m_cmbYear->currentText(),
            m_cmbReminder->currentText(),
            m_cmbAlarm->currentText(),
            m_cmbRepeat->currentText()};
}

store::AgendaFields frmAddAgenda::changedFields() const
{
    using store::AgendaField;
    const Shown now = shown();
    store::AgendaFields fields;
    fields.setFlag(AgendaField::Text, now.text != m_opened.text);
    fields.setFlag(AgendaField::Start, now.start != m_opened.start);
    fields.setFlag(AgendaField::End, now.end != m_opened.end);
    fields.setFlag(AgendaField::Category, now.category != m_opened.category);
    fields.setFlag(AgendaField::Date, now.date != m_opened.date);
    fields.setFlag(AgendaField::Reminder, now.reminder != m_opened.reminder);
    fields.setFlag(AgendaField::Alarm, now.alarm != m_opened.alarm);
    fields.setFlag(AgendaField::Repeating, now.repeating != m_opened.repeating);
    return fields;
}

bool frmAddAgenda::hasUnsavedChanges() const
{
    return isVisible() && shown() != m_opened;
}

// The task Save writes: in edit mode the task as read with what the user
// changed, and `fields` says what to write; in add mode every field.
store::AgendaTask frmAddAgenda::taskFromControls(store::AgendaFields *fields) const
{
    using store::AgendaField;
    *fields = isEditMode() ? changedFields() : store::AgendaFields(AgendaField::All);
    store::AgendaTask task = isEditMode() ? m_task : store::AgendaTask{};
    task.text = m_txtTask->text();
    task.category = m_cmbCategory->currentText();
    task.start = startTime();
    task.end = endTime();
    task.day = textToNumber(m_cmbDay->currentText());
    task.month = m_cmbMonth->currentIndex() + 1;
    task.year = textToNumber(m_cmbYear->currentText());
    task.alarm = m_cmbAlarm->currentText();
    task.repeating = m_cmbRepeat->currentText();

    // A lead chosen from the list sets the reminder afresh. A lead left as it
    // was keeps its stored text and, unless the task moves, its stored due
    // day: a reminder put off in the pop-up stays put off.
    if (fields->testFlag(AgendaField::Reminder) && m_cmbReminder->currentIndex() <= kLongestListedLead) {
        store::AgendaRepository::setReminderLead(task, m_cmbReminder->currentIndex());
    } else if (fields->testFlag(AgendaField::Date)) {
        const int lead = store::AgendaRepository::reminderLeadDays(task.reminder);
        if (lead >= 0 && lead <= kLongestLead) {
            const DayMonthYear due = computeReminderDate(task.day, task.month, task.year, lead);
            task.reminderDay = due.day;
            task.reminderMonth = due.month;
            task.reminderYear = due.year;
            fields->setFlag(AgendaField::Reminder);
        }
    }
    return task;
}

void frmAddAgenda::enableButton(FlatButton *button)
{
    // A task needs its whole date: without a day it would be filed under no
    // day and never be seen again.
    const bool enable = !m_txtTask->text().isEmpty() && m_cmbDay->currentIndex() >= 0
                        && m_cmbMonth->currentIndex() >= 0 && m_cmbYear->currentIndex() >= 0;
    button->enableWithEdges(enable, kEdgeGrey);
}

void frmAddAgenda::cmbMonth_Click()
{
    if (m_loading)
        return;
    const int count = daysInMonth(m_cmbMonth->currentIndex() + 1, textToNumber(m_cmbYear->currentText()));
    fillDays(count);
    m_cmbDay->setCurrentIndex(m_rememberedDay < count ? m_rememberedDay - 1 : count - 1);
    enableButton(m_cmdSave);
}

void frmAddAgenda::cmbYear_Click()
{
    if (m_loading)
        return;
    if (m_cmbMonth->currentText() == monthName(2)) {
        fillDays(isLeapYear(textToNumber(m_cmbYear->currentText())) ? 29 : 28);
        if (m_rememberedDay >= 1 && m_rememberedDay <= m_cmbDay->count())
            m_cmbDay->setCurrentIndex(m_rememberedDay - 1);
    }
    enableButton(m_cmdSave);
}

void frmAddAgenda::cmbDay_Click()
{
    if (m_loading || m_fillingDays)
        return;
    // A day list rebuilt without a selection keeps the remembered day, so
    // that returning to a month or year that has it selects it again.
    if (m_cmbDay->currentIndex() >= 0)
        m_rememberedDay = static_cast<qint16>(textToNumber(m_cmbDay->currentText()));
    enableButton(m_cmdSave);
}

void frmAddAgenda::cmdReset_Click()
{
    m_txtTask->clear();
    m_cmbCategory->setCurrentIndex(0);
    m_cmbAlarm->setCurrentIndex(kAlarmOff);
    m_cmbReminder->setCurrentIndex(0);
    m_cmbRepeat->setCurrentIndex(0);
    m_txtTask->setFocus();
}

bool frmAddAgenda::timeRangeValid() const
{
    // A range is valid when it does not end before it starts; it may not
    // cross midnight.
    return endTime() >= startTime();
}

QTime frmAddAgenda::startTime() const
{
    return timeIn(m_cmbStartHour, m_cmbStartMinute, m_cmbStartAMPM);
}

QTime frmAddAgenda::endTime() const
{
    return timeIn(m_cmbEndHour, m_cmbEndMinute, m_cmbEndAMPM);
}

bool frmAddAgenda::textFits()
{
    // A longer text stored before (written elsewhere) may be kept or
    // shortened, as the text box allows; never lengthened.
    if (m_txtTask->fits() || (isEditMode() && characterCount(m_txtTask->text()) <= characterCount(m_task.text)))
        return true;
    desktop().message(this, m_txtTask->tooLongMessage(), Desktop::Icon::Exclamation);
    m_txtTask->setFocus();
    return false;
}

// The agenda shows one task per start row; a second task starting in the
// same slot of the same day would hide the first for good.
bool frmAddAgenda::startSlotFree(const store::AgendaTask &task)
{
    const store::ReadResult<QList<store::AgendaTask>> sameDay = m_tasks.day(task.year, task.month, task.day);
    if (!sameDay.ok()) {
        desktop().message(this, tr("The task could not be saved: ") + sameDay.error, Desktop::Icon::Exclamation);
        return false;
    }
    const QList<store::AgendaTask> &others = *sameDay.value;
    const bool taken = std::any_of(others.cbegin(), others.cend(), [&task](const store::AgendaTask &other) {
        return other.id != task.id && other.start == task.start;
    });
    if (taken) {
        desktop().message(this,
                          tr("Another task already starts at ")
                              + shownTime(m_cmbStartHour, m_cmbStartMinute, m_cmbStartAMPM)
                              + tr(" on this day.  Please choose another start time."),
                          Desktop::Icon::Exclamation);
        m_cmbStartHour->setFocus();
    }
    return !taken;
}

// True when the task in the file is still there and, if it was changed since
// the window read it and Save would write over it, the user wants that.
bool frmAddAgenda::stillTheTaskRead(bool writing)
{
    const store::ReadResult<store::AgendaTask> current = m_tasks.byId(m_task.id);
    if (!current.ok()) {
        desktop().message(this, tr("The task could not be saved: ") + current.error, Desktop::Icon::Exclamation);
        return false;
    }
    if (!current.value) {
        desktop().message(this, tr("This task no longer exists.  It may have been deleted."),
                          Desktop::Icon::Exclamation);
        return false;
    }
    return !writing || *current.value == m_task
           || desktop().message(this,
                                tr("This item was changed elsewhere since you opened it.  Save your version anyway?"),
                                Desktop::Icon::Question, Desktop::Buttons::YesNo)
                  == Desktop::Answer::Yes;
}

void frmAddAgenda::updateAgenda()
{
    using store::AgendaField;
    if (!m_cmdSave->isEnabled())
        return;
    if (!timeRangeValid()) {
        desktop().message(this,
                          tr("The selected timeframe is invalid.  The start time must come before ")
                              + tr("the end time."),
                          Desktop::Icon::Exclamation);
        m_cmbEndHour->setFocus();
        return;
    }
    store::AgendaFields fields;
    store::AgendaTask task = taskFromControls(&fields);
    if (fields.testFlag(AgendaField::Text) && !textFits())
        return;
    // A task that stays where it stands clashes with nothing new, even beside
    // an older twin in its slot (data written elsewhere).
    if ((fields & (AgendaField::Start | AgendaField::Date)) && !startSlotFree(task))
        return;

    store::WriteResult result{true, {}};
    if (!isEditMode()) {
        result = m_tasks.add(task);
    } else {
        if (!stillTheTaskRead(fields.toInt() != 0))
            return;
        if (fields)
            result = m_tasks.update(task, fields);
    }
    if (!result) {
        desktop().message(this, tr("The task could not be saved: ") + result.error, Desktop::Icon::Exclamation);
        return;
    }
    qCDebug(lcAgendaEditor) << (isEditMode() ? "changed task" : "added task") << task.id << fields.toInt();
    m_opened = shown();
    Q_EMIT saved();
    close();
}

// Escape and the dialog's own reject() close the window like Close does, so
// that every way out tells the main window.
void frmAddAgenda::done(int result)
{
    setResult(result);
    close();
}

void frmAddAgenda::closeEvent(QCloseEvent *event)
{
    // Closing without saving is the Close button's meaning: no question.
    QWidget::closeEvent(event);
    Q_EMIT unloaded();
}

void frmAddAgenda::mousePressEvent(QMouseEvent *event)
{
    m_txtTask->setFocus();
    QDialog::mousePressEvent(event);
}

} // namespace brevane
