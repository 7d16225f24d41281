#include "agenda_editor/frmaddagenda.h"

#include "controls/flatbutton.h"
#include "controls/limitedlineedit.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/names.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

namespace brevane {

namespace names = store::names;
namespace agenda = store::names::agenda;

const QString frmAddAgenda::kAddCaption = QStringLiteral("Add Agenda Task");
const QString frmAddAgenda::kEditCaption = QStringLiteral("Edit Agenda Task");

namespace {

constexpr int kMaxTaskCharacters = 250;
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;

const QString kInvalidTimeframe = QStringLiteral("The selected timeframe is invalid.  The start time must come before ")
                                  + QStringLiteral("the end time.");
const QString kTaskGone = QStringLiteral("This task no longer exists.  It may have been deleted.");
const QString kNotSaved = QStringLiteral("The task could not be saved: ");

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

// Minutes since the day's start: "12:00 AM" is 0, "12:00 PM" is noon.
int minuteOfDay(const QComboBox *hour, const QComboBox *minute, const QComboBox *amPm)
{
    return ((hour->currentIndex() + 1) % 12) * 60 + minute->currentIndex() * 30 + amPm->currentIndex() * 12 * 60;
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
    : QWidget(parent)
    , m_db(db)
{
    setObjectName(QStringLiteral("frmAddAgenda"));
    setWindowFlag(Qt::Window);
    setWindowTitle(kAddCaption);
    buildControls();
    fillDropDowns();
    m_rememberedDay = static_cast<qint16>(textToNumber(m_cmbDay->currentText()));
    m_loading = false;
    enableButton(m_cmdSave);
}

frmAddAgenda::~frmAddAgenda() = default;

void frmAddAgenda::buildControls()
{
    m_txtTask = new LimitedLineEdit(kMaxTaskCharacters, this);
    m_txtTask->setObjectName(QStringLiteral("txtTask"));
    m_txtTask->setMinimumWidth(QFontMetrics(m_txtTask->font()).horizontalAdvance(QString(42, u'x')));
    auto *lblTask = makeLabel(this, QStringLiteral("lblTask"), QStringLiteral("Task:"), m_txtTask);
    m_txtTask->setAccessibleName(QStringLiteral("Task:"));
    auto *lblMax = makeLabel(this, QStringLiteral("lblMaxCharacters"), QStringLiteral("(Max. 250 characters)"));

    m_cmbStartHour = makeDropDown(this, QStringLiteral("cmbStartHour"), QStringLiteral("Start Time:"));
    m_cmbStartMinute = makeDropDown(this, QStringLiteral("cmbStartMinute"), QStringLiteral("Start minute"));
    m_cmbStartAMPM = makeDropDown(this, QStringLiteral("cmbStartAMPM"), QStringLiteral("Start AM/PM"));
    m_cmbEndHour = makeDropDown(this, QStringLiteral("cmbEndHour"), QStringLiteral("End Time:"));
    m_cmbEndMinute = makeDropDown(this, QStringLiteral("cmbEndMinute"), QStringLiteral("End minute"));
    m_cmbEndAMPM = makeDropDown(this, QStringLiteral("cmbEndAMPM"), QStringLiteral("End AM/PM"));
    m_cmbCategory = makeDropDown(this, QStringLiteral("cmbCategory"), QStringLiteral("Category:"));
    m_cmbMonth = makeDropDown(this, QStringLiteral("cmbMonth"), QStringLiteral("Date: month"));
    m_cmbDay = makeDropDown(this, QStringLiteral("cmbDay"), QStringLiteral("Date: day"));
    m_cmbYear = makeDropDown(this, QStringLiteral("cmbYear"), QStringLiteral("Date: year"));
    m_cmbRepeat = makeDropDown(this, QStringLiteral("cmbRepeat"), QStringLiteral("Repeat:"));
    m_cmbReminder = makeDropDown(this, QStringLiteral("cmbReminder"), QStringLiteral("Reminder:"));
    m_cmbAlarm = makeDropDown(this, QStringLiteral("cmbAlarm"), QStringLiteral("Alarm?"));
    // Kept and saved, but the organizer offers no repetition or alarm.
    m_cmbRepeat->hide();
    m_cmbAlarm->hide();
    // Room for "12", "00" and "PM" whatever the style draws around them.
    for (QComboBox *box : {m_cmbStartHour, m_cmbStartMinute, m_cmbStartAMPM, m_cmbEndHour, m_cmbEndMinute,
                           m_cmbEndAMPM, m_cmbDay})
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);

    auto *lblStart = makeLabel(this, QStringLiteral("lblStartTime"), QStringLiteral("Start Time:"), m_cmbStartHour);
    auto *lblEnd = makeLabel(this, QStringLiteral("lblEndTime"), QStringLiteral("End Time:"), m_cmbEndHour);
    auto *lblCategory = makeLabel(this, QStringLiteral("lblCategory"), QStringLiteral("Category:"), m_cmbCategory);
    auto *lblDate = makeLabel(this, QStringLiteral("lblDate"), QStringLiteral("Date:"), m_cmbMonth);
    auto *lblRepeat = makeLabel(this, QStringLiteral("lblRepeat"), QStringLiteral("Repeat:"), m_cmbRepeat);
    auto *lblReminder = makeLabel(this, QStringLiteral("lblReminder"), QStringLiteral("Reminder:"), m_cmbReminder);
    auto *lblAlarm = makeLabel(this, QStringLiteral("lblAlarm"), QStringLiteral("Alarm?"), m_cmbAlarm);
    lblRepeat->hide();
    lblAlarm->hide();

    m_cmdSave = new FlatButton(QStringLiteral("Save"), this);
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdReset = new FlatButton(QStringLiteral("Reset Fields"), this);
    m_cmdReset->setObjectName(QStringLiteral("cmdReset"));
    m_cmdClose = new FlatButton(QStringLiteral("Close"), this);
    m_cmdClose->setObjectName(QStringLiteral("cmdClose"));
    const int buttonWidth = static_cast<QWidget *>(m_cmdReset)->sizeHint().width() + 16;
    for (FlatButton *button : {m_cmdSave, m_cmdReset, m_cmdClose})
        button->setMinimumWidth(buttonWidth);
    auto *divider = new QFrame(this);
    divider->setObjectName(QStringLiteral("linDivider"));
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);

    auto colon = [this](const QString &name) { return makeLabel(this, name, QStringLiteral(":")); };

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
    m_cmbAlarm->addItems({QStringLiteral("Yes"), QStringLiteral("No")});
    m_cmbAlarm->setCurrentIndex(1);
    for (int hour = 1; hour <= 12; ++hour) {
        m_cmbStartHour->addItem(QString::number(hour));
        m_cmbEndHour->addItem(QString::number(hour));
    }
    m_cmbStartHour->setCurrentIndex(0);
    m_cmbEndHour->setCurrentIndex(0);
    for (QComboBox *box : {m_cmbStartAMPM, m_cmbEndAMPM}) {
        box->addItems({QStringLiteral("AM"), QStringLiteral("PM")});
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
    m_cmbReminder->addItem(QString());
    m_cmbReminder->addItem(QStringLiteral("1 Day"));
    for (int days = 2; days <= 7; ++days)
        m_cmbReminder->addItem(QStringLiteral("%1 Days").arg(days));
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
    return true;
}

void frmAddAgenda::presetDate(int day, int monthIndex, int year)
{
    selectIndex(m_cmbDay, day - 1);
    selectIndex(m_cmbYear, m_cmbYear->findText(QString::number(year)));
    selectIndex(m_cmbMonth, monthIndex);
}

bool frmAddAgenda::editRecord(store::RecordId id, const DayMonthYear &filedOn)
{
    auto set = std::make_unique<store::RecordSet>(m_db, names::Agenda, store::onlyRecord(id));
    if (id == store::kNoRecord || !set->moveToRecord(id)) {
        qCDebug(lcAgendaEditor) << "task" << id << "not found for editing";
        return false;
    }
    m_recordId = id;
    setWindowTitle(kEditCaption);

    // Save appends the end-time note " (to ...)"; the text box shows the
    // task without it.
    const QString stored = set->field(agenda::Task);
    const qsizetype note = stored.lastIndexOf(QLatin1String("(to "));
    m_txtTask->setText(note < 0 ? stored : stored.left(std::max<qsizetype>(note - 1, 0)));
    selectText(m_cmbCategory, set->field(agenda::Category));
    presetDate(filedOn.day, filedOn.month - 1, filedOn.year);
    selectText(m_cmbStartHour, set->field(agenda::StartHour));
    selectText(m_cmbStartAMPM, set->field(agenda::StartAmPm));
    selectText(m_cmbStartMinute, set->field(agenda::StartMinute));
    selectText(m_cmbEndHour, set->field(agenda::EndHour));
    selectText(m_cmbEndMinute, set->field(agenda::EndMinute));
    selectText(m_cmbEndAMPM, set->field(agenda::EndAmPm));
    selectText(m_cmbRepeat, set->field(agenda::Repeating));
    selectText(m_cmbReminder, set->field(agenda::Reminder));
    m_editSet = std::move(set);
    return true;
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
    m_cmbAlarm->setCurrentIndex(m_cmbAlarm->findText(QStringLiteral("No")));
    m_cmbReminder->setCurrentIndex(0);
    m_cmbRepeat->setCurrentIndex(0);
    m_txtTask->setFocus();
}

bool frmAddAgenda::timeRangeValid() const
{
    // A range is valid when it does not end before it starts; it may not
    // cross midnight.
    return minuteOfDay(m_cmbEndHour, m_cmbEndMinute, m_cmbEndAMPM)
           >= minuteOfDay(m_cmbStartHour, m_cmbStartMinute, m_cmbStartAMPM);
}

QString frmAddAgenda::startTimeText() const
{
    return timeText(m_cmbStartHour->currentText(), m_cmbStartMinute->currentText(), m_cmbStartAMPM->currentText());
}

// The agenda shows one task per start row; a second task starting in the
// same slot of the same day would hide the first for good.
bool frmAddAgenda::keepsItsSlot(int day, int month, int year) const
{
    // A task saved where it already stands clashes with nothing new, even
    // when an older twin shares its slot (data written elsewhere).
    if (!isEditMode() || !m_editSet->requery() || !m_editSet->moveToRecord(m_recordId))
        return false;
    const store::RecordSet &task = *m_editSet;
    return textToNumber(task.field(agenda::Day)) == day && textToNumber(task.field(agenda::Month)) == month
           && textToNumber(task.field(agenda::Year)) == year
           && task.field(agenda::StartHour) == m_cmbStartHour->currentText()
           && task.field(agenda::StartMinute) == m_cmbStartMinute->currentText()
           && task.field(agenda::StartAmPm) == m_cmbStartAMPM->currentText();
}

bool frmAddAgenda::startSlotTaken(int day, int month, int year) const
{
    store::RecordSet sameDay(m_db, names::Agenda,
                             {{agenda::Year, year}, {agenda::Month, month}, {agenda::Day, day}});
    for (sameDay.moveFirst(); !sameDay.eof(); sameDay.moveNext()) {
        if (sameDay.recordId() == m_recordId)
            continue;
        if (sameDay.field(agenda::StartHour) == m_cmbStartHour->currentText()
            && sameDay.field(agenda::StartMinute) == m_cmbStartMinute->currentText()
            && sameDay.field(agenda::StartAmPm) == m_cmbStartAMPM->currentText())
            return true;
    }
    return false;
}

void frmAddAgenda::updateAgenda()
{
    if (!m_cmdSave->isEnabled())
        return;
    if (!timeRangeValid()) {
        desktop().message(this, kInvalidTimeframe, Desktop::Icon::Exclamation);
        m_cmbEndHour->setFocus();
        return;
    }
    const int day = textToNumber(m_cmbDay->currentText());
    const int month = m_cmbMonth->currentIndex() + 1;
    const int year = textToNumber(m_cmbYear->currentText());
    if (!keepsItsSlot(day, month, year) && startSlotTaken(day, month, year)) {
        desktop().message(this,
                          QStringLiteral("Another task already starts at ") + startTimeText()
                              + QStringLiteral(" on this day.  Please choose another start time."),
                          Desktop::Icon::Exclamation);
        m_cmbStartHour->setFocus();
        return;
    }

    std::unique_ptr<store::RecordSet> addSet;
    store::RecordSet *target = nullptr;
    if (isEditMode()) {
        if (!m_editSet->requery()) {
            desktop().message(this, kNotSaved + m_editSet->lastError(), Desktop::Icon::Exclamation);
            return;
        }
        if (!m_editSet->moveToRecord(m_recordId)) {
            desktop().message(this, kTaskGone, Desktop::Icon::Exclamation);
            return;
        }
        target = m_editSet.get();
        target->edit();
    } else {
        // Adding needs none of the existing tasks read.
        addSet = std::make_unique<store::RecordSet>(m_db, names::Agenda, store::onlyRecord(store::kNoRecord));
        target = addSet.get();
        target->addNew();
    }

    const QString endTime = timeText(m_cmbEndHour->currentText(), m_cmbEndMinute->currentText(), m_cmbEndAMPM->currentText());
    target->setField(agenda::Alarm, m_cmbAlarm->currentText());
    target->setField(agenda::Category, m_cmbCategory->currentText());
    target->setField(agenda::Task, m_txtTask->text() + QStringLiteral(" (to ") + endTime + u')');
    target->setField(agenda::Repeating, m_cmbRepeat->currentText());
    target->setField(agenda::Reminder, m_cmbReminder->currentText());
    target->setField(agenda::StartAmPm, m_cmbStartAMPM->currentText());
    target->setField(agenda::StartHour, m_cmbStartHour->currentText());
    target->setField(agenda::StartMinute, m_cmbStartMinute->currentText());
    target->setField(agenda::EndAmPm, m_cmbEndAMPM->currentText());
    target->setField(agenda::EndHour, m_cmbEndHour->currentText());
    target->setField(agenda::EndMinute, m_cmbEndMinute->currentText());
    target->setField(agenda::Day, m_cmbDay->currentText());
    target->setField(agenda::Month, QString::number(month));
    target->setField(agenda::Year, m_cmbYear->currentText());
    if (!m_cmbReminder->currentText().isEmpty()) {
        const DayMonthYear remind = computeReminderDate(day, month, year, m_cmbReminder->currentIndex());
        target->setField(agenda::ReminderDay, QString::number(remind.day));
        target->setField(agenda::ReminderMonth, QString::number(remind.month));
        target->setField(agenda::ReminderYear, QString::number(remind.year));
    } else {
        target->setField(agenda::ReminderDay, QString());
        target->setField(agenda::ReminderMonth, QString());
        target->setField(agenda::ReminderYear, QString());
    }
    if (const store::WriteResult result = target->update(); !result) {
        desktop().message(this, kNotSaved + result.error, Desktop::Icon::Exclamation);
        return;
    }
    qCDebug(lcAgendaEditor) << (isEditMode() ? "changed task" : "added task") << target->recordId();
    Q_EMIT saved();
    close();
}

void frmAddAgenda::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    Q_EMIT unloaded();
}

void frmAddAgenda::mousePressEvent(QMouseEvent *event)
{
    m_txtTask->setFocus();
    QWidget::mousePressEvent(event);
}

} // namespace brevane
