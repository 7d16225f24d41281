#include "reminders/frmremind.h"

#include "platform/appicon.h"
#include "reminders/logging.h"
#include "core/organizer.h"
#include "core/reminders.h"
#include "platform/desktop.h"
#include "store/names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <optional>

namespace brevane {

namespace names = store::names;

namespace {

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(text);
    return label;
}

QLineEdit *readOnlyBox(const QString &name, QWidget *parent)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    return box;
}

} // namespace

frmRemind::frmRemind(store::Database &db, QWidget *parent)
    : QDialog(parent), m_db(db)
{
    setObjectName(QStringLiteral("frmRemind"));
    setWindowTitle(QStringLiteral("Reminder"));
    setWindowIcon(appIcon());
    setModal(true);

    m_txtTask = new QPlainTextEdit(this);
    m_txtTask->setObjectName(QStringLiteral("txtTask"));
    m_txtTask->setReadOnly(true);
    m_txtTask->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtTask->setTabChangesFocus(true);
    // Room for three lines of a long task; the scroll bar shows the rest.
    const QFontMetrics metrics(m_txtTask->font());
    m_txtTask->setFixedHeight(metrics.lineSpacing() * 3 + 2 * m_txtTask->frameWidth() + 8);
    m_txtTask->setMinimumWidth(metrics.averageCharWidth() * 44);

    m_txtDate = readOnlyBox(QStringLiteral("txtDate"), this);
    m_txtTime = readOnlyBox(QStringLiteral("txtTime"), this);
    m_txtCategory = readOnlyBox(QStringLiteral("txtCategory"), this);

    m_chkReminder = new QCheckBox(QStringLiteral("Place this reminder in my to-do list"), this);
    m_chkReminder->setObjectName(QStringLiteral("chkReminder"));
    m_chkDisplay = new QCheckBox(QStringLiteral("Don't Display This Message Again"), this);
    m_chkDisplay->setObjectName(QStringLiteral("chkDisplay"));

    m_cmbNext = new QComboBox(this);
    m_cmbNext->setObjectName(QStringLiteral("cmbNext"));
    m_cmbNext->setEditable(false);
    m_cmbNext->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cmbNext->setMinimumContentsLength(8);

    m_cmdOk = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(true);
    m_cmdOk->setMinimumWidth(metrics.averageCharWidth() * 12);

    auto *bell = new QLabel(this);
    bell->setObjectName(QStringLiteral("imgReminder"));
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    bell->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(iconSize));
    bell->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *fields = new QGridLayout;
    fields->addWidget(buddyLabel(QStringLiteral("Task:"), m_txtTask, this), 0, 0, Qt::AlignTop);
    fields->addWidget(m_txtTask, 0, 1, 1, 3);
    fields->addWidget(buddyLabel(QStringLiteral("Date:"), m_txtDate, this), 1, 0);
    fields->addWidget(m_txtDate, 1, 1);
    fields->addWidget(buddyLabel(QStringLiteral("Time:"), m_txtTime, this), 1, 2);
    fields->addWidget(m_txtTime, 1, 3);
    fields->addWidget(buddyLabel(QStringLiteral("Category:"), m_txtCategory, this), 2, 0);
    fields->addWidget(m_txtCategory, 2, 1);
    fields->setColumnStretch(1, 3);
    fields->setColumnStretch(3, 2);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto *next = new QHBoxLayout;
    next->addWidget(buddyLabel(QStringLiteral("Remind me again in:"), m_cmbNext, this));
    next->addWidget(m_cmbNext);
    next->addStretch(1);
    next->addWidget(m_cmdOk);

    auto *body = new QVBoxLayout;
    body->addLayout(fields);
    body->addSpacing(4);
    body->addWidget(rule);
    body->addWidget(m_chkReminder);
    body->addWidget(m_chkDisplay);
    body->addSpacing(4);
    body->addLayout(next);

    auto *outer = new QHBoxLayout(this);
    outer->addWidget(bell, 0, Qt::AlignTop);
    outer->addSpacing(6);
    outer->addLayout(body, 1);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_txtTask, m_txtDate);
    setTabOrder(m_txtDate, m_txtTime);
    setTabOrder(m_txtTime, m_txtCategory);
    setTabOrder(m_txtCategory, m_chkReminder);
    setTabOrder(m_chkReminder, m_chkDisplay);
    setTabOrder(m_chkDisplay, m_cmbNext);
    setTabOrder(m_cmbNext, m_cmdOk);
    m_cmdOk->setFocus();

    // Not showing the reminder again overrides any postponement; the list is
    // greyed so that the window does not seem to promise both.
    connect(m_chkDisplay, &QCheckBox::toggled, m_cmbNext, &QWidget::setDisabled);
    connect(m_cmdOk, &QPushButton::clicked, this, &frmRemind::cmdOk_Click);
}

frmRemind::~frmRemind() = default;

void frmRemind::setReminder(int day, int month, int year, const QString &task, const QString &startHour,
                            const QString &startMinute, const QString &startAmPm, const QString &category,
                            store::RecordId record)
{
    desktop().beep();
    m_record = record;
    m_done = false;

    const QDate taskDate = reminders::storedDate(QString::number(day), QString::number(month),
                                                 QString::number(year));
    const QStringList choices = reminders::postponementChoices(taskDate, desktop().today());
    m_cmbNext->clear();
    for (int i = 0; i < choices.size(); ++i) {
        // Each entry carries its days; "Never" carries none.
        m_cmbNext->addItem(choices.at(i), i == 0 ? QVariant() : QVariant(i - 1));
    }
    m_cmbNext->setCurrentIndex(1);

    m_task = task;
    m_category = category;
    m_dateText = reminders::dateText(day, month, year);
    m_timeText = timeText(startHour, startMinute, startAmPm);
    m_txtTask->setPlainText(m_task);
    m_txtDate->setText(m_dateText);
    m_txtTime->setText(m_timeText);
    m_txtCategory->setText(m_category);
    m_chkReminder->setChecked(false);
    m_chkDisplay->setChecked(false);
    m_cmdOk->setFocus();
    qCDebug(lcReminders) << "reminder shown for record" << record;
}

void frmRemind::cmdOk_Click()
{
    if (m_done)
        return;
    m_done = true;
    updateReminder();
    if (m_chkReminder->isChecked())
        addTodoCopy();
    accept();
}

void frmRemind::updateReminder()
{
    std::optional<int> days;
    const QVariant chosen = m_cmbNext->currentData();
    if (!m_chkDisplay->isChecked() && chosen.isValid())
        days = chosen.toInt();

    const auto notSaved = [this](const QString &reason) {
        desktop().message(this,
                          QStringLiteral("The change to the reminder of \"%1\" was not saved.\n\n%2")
                              .arg(m_task, reason),
                          Desktop::Icon::Exclamation);
    };

    if (m_record == store::kNoRecord)
        return;
    // The record is sought by its identity alone: its texts may have twins.
    store::RecordSet agenda(m_db, names::Agenda, store::onlyRecord(m_record));
    if (!agenda.moveToRecord(m_record)) {
        // A record deleted while the window was up has no reminder to change;
        // a file that could not be read is another matter.
        if (!agenda.lastError().isEmpty())
            notSaved(agenda.lastError());
        qCDebug(lcReminders) << "reminder record" << m_record << "no longer exists";
        return;
    }

    const reminders::ReminderFields next = reminders::postponedReminder(
        agenda.field(names::agenda::Reminder), days, desktop().today());
    agenda.edit();
    agenda.setField(names::agenda::Reminder, next.reminder);
    agenda.setField(names::agenda::ReminderDay, next.day);
    agenda.setField(names::agenda::ReminderMonth, next.month);
    agenda.setField(names::agenda::ReminderYear, next.year);
    if (const store::WriteResult result = agenda.update(); !result) {
        notSaved(result.error);
        return;
    }
    Q_EMIT reminderChanged();
}

void frmRemind::addTodoCopy()
{
    // Adding needs none of the existing items read.
    store::RecordSet todo(m_db, names::ToDo, store::onlyRecord(store::kNoRecord));
    todo.addNew();
    todo.setField(names::todo::Category, m_category);
    todo.setField(names::todo::Task, reminders::todoCopyText(m_task, m_dateText, m_timeText));
    if (const store::WriteResult result = todo.update(); !result) {
        desktop().message(this,
                          QStringLiteral("The reminder was not copied to the to-do list.\n\n%1").arg(result.error),
                          Desktop::Icon::Exclamation);
        return;
    }
    Q_EMIT todoAdded();
}

} // namespace brevane
