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

} // namespace brevane::snapshot
