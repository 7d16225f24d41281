#include "reminders/frmremind.h"

#include "platform/appicon.h"
#include "reminders/logging.h"
#include "core/organizer.h"
#include "core/reminders.h"
#include "platform/desktop.h"
#include "store/todorepository.h"

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
    setWindowTitle(tr("Reminder"));
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

    m_chkReminder = new QCheckBox(tr("Place this reminder in my to-do list"), this);
    m_chkReminder->setObjectName(QStringLiteral("chkReminder"));
    m_chkDisplay = new QCheckBox(tr("Don't Display This Message Again"), this);
    m_chkDisplay->setObjectName(QStringLiteral("chkDisplay"));

    m_cmbNext = new QComboBox(this);
    m_cmbNext->setObjectName(QStringLiteral("cmbNext"));
    m_cmbNext->setEditable(false);
    m_cmbNext->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cmbNext->setMinimumContentsLength(8);

    m_cmdOk = new QPushButton(tr("OK"), this);
    m_cmdOk->setObjectName(QStringLiteral("cmdOk"));
    m_cmdOk->setDefault(true);
    m_cmdOk->setMinimumWidth(metrics.averageCharWidth() * 12);

    auto *bell = new QLabel(this);
    bell->setObjectName(QStringLiteral("imgReminder"));
    const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    bell->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(iconSize));
    bell->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    auto *fields = new QGridLayout;
    fields->addWidget(buddyLabel(tr("Task:"), m_txtTask, this), 0, 0, Qt::AlignTop);
    fields->addWidget(m_txtTask, 0, 1, 1, 3);
    fields->addWidget(buddyLabel(tr("Date:"), m_txtDate, this), 1, 0);
    fields->addWidget(m_txtDate, 1, 1);
    fields->addWidget(buddyLabel(tr("Time:"), m_txtTime, this), 1, 2);
    fields->addWidget(m_txtTime, 1, 3);
    fields->addWidget(buddyLabel(tr("Category:"), m_txtCategory, this), 2, 0);
    fields->addWidget(m_txtCategory, 2, 1);
    fields->setColumnStretch(1, 3);
    fields->setColumnStretch(3, 2);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);

    auto *next = new QHBoxLayout;
    next->addWidget(buddyLabel(tr("Remind me again in:"), m_cmbNext, this));
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

void frmRemind::setReminder(const store::AgendaTask &task)
{
    // The start as its three parts ("9", "30", "AM"), read off its shown form.
    const QString start = timeText(task.start);
    const qsizetype colon = start.indexOf(u':');
    const qsizetype blank = start.indexOf(u' ');
    setReminder(task.day, task.month, task.year, task.shownText, start.left(colon), start.mid(colon + 1, blank - colon - 1),
                start.mid(blank + 1), task.category, task.id);
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
                          tr("The change to the reminder of \"%1\" was not saved.\n\n%2")
                              .arg(m_task, reason),
                          Desktop::Icon::Exclamation);
    };

    if (m_record == store::kNoRecord)
        return;
    // The record is sought by its identity alone: its texts may have twins.
    store::AgendaRepository agenda(m_db);
    const store::ReadResult<store::AgendaTask> read = agenda.byId(m_record);
    if (!read.ok()) {
        notSaved(read.error);
        return;
    }
    if (!read.value) {
        // A record deleted while the window was up has no reminder to change.
        qCDebug(lcReminders) << "reminder record" << m_record << "no longer exists";
        return;
    }
    store::AgendaTask task = *read.value;
    if (days) {
        // The lead shrinks by the days put off, never below none.
        const int putOff = std::max(0, *days);
        const int lead = std::max(0, store::AgendaRepository::reminderLeadDays(task.reminder) - putOff);
        const QDate next = desktop().today().addDays(putOff);
        task.reminder = store::AgendaRepository::postponedReminderText(lead);
        task.reminderDay = next.day();
        task.reminderMonth = next.month();
        task.reminderYear = next.year();
    } else {
        task.reminder.clear();
        task.reminderDay = task.reminderMonth = task.reminderYear = 0;
    }
    if (const store::WriteResult result = agenda.update(task, store::AgendaField::Reminder); !result) {
        notSaved(result.error);
        return;
    }
    Q_EMIT reminderChanged();
}

void frmRemind::addTodoCopy()
{
    store::ToDoItem item;
    item.category = m_category;
    item.text = reminders::todoCopyText(m_task, m_dateText, m_timeText);
    if (const store::WriteResult result = store::ToDoRepository(m_db).addReminderCopy(item); !result) {
        desktop().message(this, tr("The reminder was not copied to the to-do list.\n\n%1").arg(result.error),
                          Desktop::Icon::Exclamation);
        return;
    }
    Q_EMIT todoAdded();
}

} // namespace brevane
