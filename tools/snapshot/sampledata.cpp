#include "sampledata.h"

#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"

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
