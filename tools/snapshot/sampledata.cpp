#include "sampledata.h"

#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"

#include <QRegularExpression>

#include <cstdio>

namespace brevane::snapshot {

namespace names = store::names;

namespace {

void add(store::Database &db, const QString &table, const QList<std::pair<QString, QString>> &fields)
{
    store::RecordSet set(db, table);
    set.addNew();
    for (const auto &[name, value] : fields)
        set.setField(name, value);
    if (const store::WriteResult result = set.update(); !result)
        std::fprintf(stderr, "sample data: %s\n", qPrintable(result.error));
}

} // namespace

void fillSampleData(store::Database &db)
{
    namespace ql = names::quicklinks;
    add(db, names::QuickLinks, {{ql::ProgramName, QStringLiteral("Text Editor")}, {ql::ProgramPath, QStringLiteral("/usr/bin/gedit")}});
    add(db, names::QuickLinks, {{ql::ProgramName, QStringLiteral("Calculator")}, {ql::ProgramPath, QStringLiteral("/usr/bin/gnome-calculator")}});
    add(db, names::QuickLinks, {{ql::ProgramName, QStringLiteral("Web Browser")}, {ql::ProgramPath, QStringLiteral("/usr/bin/firefox")}});

    {
        // Agenda: a busy "today", a few tasks on other days of the month, and
        // one task in the month before.
        namespace ag = names::agenda;
        const auto task = [&db](const QDate &date, const QString &text, const QString &category, const QString &start,
                                const QString &end) {
            const QStringList from = start.split(QRegularExpression(QStringLiteral("[: ]")));
            const QStringList to = end.split(QRegularExpression(QStringLiteral("[: ]")));
            add(db, names::Agenda,
                {{ag::Task, text + QStringLiteral(" (to ") + end + u')'}, {ag::Category, category},
                 {ag::Alarm, QStringLiteral("No")}, {ag::Repeating, QString()}, {ag::Reminder, QString()},
                 {ag::StartHour, from.at(0)}, {ag::StartMinute, from.at(1)}, {ag::StartAmPm, from.at(2)},
                 {ag::EndHour, to.at(0)}, {ag::EndMinute, to.at(1)}, {ag::EndAmPm, to.at(2)},
                 {ag::Day, QString::number(date.day())}, {ag::Month, QString::number(date.month())},
                 {ag::Year, QString::number(date.year())}});
        };
        const QDate today = kSampleToday;
        task(today, QStringLiteral("Morning run along the river"), QStringLiteral("Leisure"), QStringLiteral("7:00 AM"), QStringLiteral("7:30 AM"));
        task(today, QStringLiteral("Breakfast with Anna"), QStringLiteral("Personal"), QStringLiteral("8:00 AM"), QStringLiteral("8:30 AM"));
        task(today, QStringLiteral("Project review with the design team"), QStringLiteral("Meeting"), QStringLiteral("9:00 AM"), QStringLiteral("10:30 AM"));
        task(today, QStringLiteral("Quarterly planning workshop"), QStringLiteral("Work"), QStringLiteral("11:00 AM"), QStringLiteral("1:00 PM"));
        task(today, QStringLiteral("Dentist, Dr. Okafor"), QStringLiteral("Appointment"), QStringLiteral("1:30 PM"), QStringLiteral("2:00 PM"));
        task(today, QStringLiteral("Write the monthly report"), QStringLiteral("Work"), QStringLiteral("2:30 PM"), QStringLiteral("4:00 PM"));
        task(today, QStringLiteral("Pick up the dry cleaning"), QStringLiteral("Task"), QStringLiteral("4:30 PM"), QStringLiteral("4:30 PM"));
        task(today, QStringLiteral("Anniversary dinner at Luca's"), QStringLiteral("Anniversary"), QStringLiteral("7:00 PM"), QStringLiteral("9:00 PM"));
        task(today, QStringLiteral("Call Mum"), QString(), QStringLiteral("9:30 PM"), QStringLiteral("10:00 PM"));
        task(today.addDays(-3), QStringLiteral("Team stand-up"), QStringLiteral("Work"), QStringLiteral("9:00 AM"), QStringLiteral("9:30 AM"));
        task(today.addDays(7), QStringLiteral("Jonas's birthday"), QStringLiteral("Birthday"), QStringLiteral("12:00 PM"), QStringLiteral("12:00 PM"));
        task(today.addDays(12), QStringLiteral("Public holiday"), QStringLiteral("Holiday"), QStringLiteral("12:00 AM"), QStringLiteral("11:30 PM"));
        task(today.addDays(19), QStringLiteral("Flight to Lisbon"), QStringLiteral("Travel"), QStringLiteral("6:30 AM"), QStringLiteral("9:00 AM"));
        task(today.addDays(20), QStringLiteral("Vacation in Portugal"), QStringLiteral("Vacation"), QStringLiteral("9:00 AM"), QStringLiteral("5:00 PM"));
        task(today.addMonths(-1), QStringLiteral("Evening class"), QStringLiteral("School"), QStringLiteral("6:00 PM"), QStringLiteral("8:00 PM"));
    }
    // The to-do list: every priority, some items done, one copied from a
    // reminder (no priority, no done flag).
    namespace td = names::todo;
    const auto toDo = [&db](const char *task, const char *category, const char *done, const char *priority) {
        add(db, names::ToDo, {{td::Task, QString::fromUtf8(task)}, {td::Category, QString::fromUtf8(category)},
                              {td::Done, QString::fromUtf8(done)}, {td::Priority, QString::fromUtf8(priority)}});
    };
    toDo("Renew passport before the Lisbon trip", "Travel", "No", "1");
    toDo("Buy a birthday present for Mum", "Birthday", "Yes", "1");
    toDo("Book the car in for its service", "Task", "No", "2");
    toDo("Reply to the school about the museum visit", "School", "Yes", "2");
    toDo("REMINDER: Dentist (to 10:30 AM) (March 9, 2026 at 9:30 AM)", "Appointment", "", "");
    toDo("Pay the electricity bill", "Personal", "No", "3");
    toDo("Water the plants on the balcony", "Personal", "Yes", "3");
    toDo("Sort out the garage", "Other", "No", "3");
    toDo("Café booking for Zoë's party", "Leisure", "No", "2");
}

void setPasswordRequired(store::Database &db, bool required)
{
    store::RecordSet options(db, names::Options);
    options.moveFirst();
    options.edit();
    options.setField(names::options::RequirePassword, required ? QStringLiteral("True") : QStringLiteral("False"));
    if (const store::WriteResult result = options.update(); !result)
        std::fprintf(stderr, "sample data: %s\n", qPrintable(result.error));
}

qint64 addDueReminder(store::Database &db)
{
    namespace ag = names::agenda;
    const QDate task = kSampleToday.addDays(3);
    const QDate remind = kSampleToday.addDays(-2);
    store::RecordSet set(db, names::Agenda);
    set.addNew();
    const QList<std::pair<QString, QString>> fields{
        {ag::Task, QStringLiteral("Dentist: check-up and cleaning with Dr. Okafor, bring the insurance card (to 11:00 AM)")},
        {ag::Category, QStringLiteral("Appointment")},
        {ag::Reminder, QStringLiteral("5 Days")},
        {ag::ReminderDay, QString::number(remind.day())},
        {ag::ReminderMonth, QString::number(remind.month())},
        {ag::ReminderYear, QString::number(remind.year())},
        {ag::StartHour, QStringLiteral("10")},
        {ag::StartMinute, QStringLiteral("00")},
        {ag::StartAmPm, QStringLiteral("AM")},
        {ag::EndHour, QStringLiteral("11")},
        {ag::EndMinute, QStringLiteral("00")},
        {ag::EndAmPm, QStringLiteral("AM")},
        {ag::Day, QString::number(task.day())},
        {ag::Month, QString::number(task.month())},
        {ag::Year, QString::number(task.year())}};
    for (const auto &[name, value] : fields)
        set.setField(name, value);
    if (const store::WriteResult result = set.update(); !result) {
        std::fprintf(stderr, "sample data: %s\n", qPrintable(result.error));
        return store::kNoRecord;
    }
    return set.recordId();
}

} // namespace brevane::snapshot
