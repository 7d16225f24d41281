// The store's reads behind the views, on data files of N agenda tasks spread
// evenly over three years (June 2025 to May 2028, about N / 36 tasks a month,
// one in ten with a reminder) and 100,000 to-do items. The files are made
// once per run, in a temporary folder. "store" runs 1,000 and 100,000 tasks;
// "store_1m" runs 1,000,000 (it takes a while to make).

#include "bench.h"

#include "store/agendarepository.h"
#include "store/database.h"
#include "store/names.h"
#include "store/todorepository.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <memory>

using namespace brevane;
namespace names = store::names;

namespace {

constexpr int kToDoItems = 100'000;
constexpr int kDays = 1096; // 2025-06-01 .. 2028-05-31
const QDate kToday(2026, 6, 15);

QString quoted(const QStringList &fields)
{
    QStringList list;
    for (const QString &field : fields)
        list << store::Database::quoteName(field);
    return list.join(u',');
}

// One statement in one transaction: SQLite makes the rows itself, so a
// million tasks take seconds rather than minutes. Task i falls on day
// (i * 7919) mod 1096 of the three years, so that each day gets its share
// and the table is not in date order; the tasks of a day start at every
// half hour in turn and last up to an hour.
bool fill(store::Database &db, int tasks, int items, QString *error)
{
    namespace ag = names::agenda;
    namespace td = names::todo;
    QSqlDatabase connection = db.connection();
    if (!connection.transaction()) {
        *error = connection.lastError().text();
        return false;
    }
    QSqlQuery query(connection);
    const QString agenda =
        QStringLiteral(
            "INSERT INTO %1 (%2) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?), "
            "t(i, d, lead, h) AS (SELECT i, date('2025-06-01', '+' || ((i * 7919) % %3) || ' days'), 1 + i % 7, "
            "(i / %3) % 48 / 2 FROM n) "
            "SELECT CASE WHEN i % 10 = 0 THEN 'Dentist appointment ' ELSE 'Project review ' END || i || "
            "' (to 10:30 AM)', CASE i % 3 WHEN 0 THEN 'Business' WHEN 1 THEN 'Personal' ELSE 'Other' END, "
            "(h + 11) % 12 + 1, CASE (i / %3) % 2 WHEN 0 THEN '00' ELSE '30' END, CASE WHEN h < 12 THEN 'AM' ELSE "
            "'PM' END, h % 12 + 1, '00', CASE WHEN h < 11 OR h = 23 THEN 'AM' ELSE 'PM' END, "
            "CAST(strftime('%d', d) AS INTEGER), CAST(strftime('%m', d) AS INTEGER), strftime('%Y', d), "
            "CASE WHEN i % 10 = 3 THEN lead || CASE lead WHEN 1 THEN ' Day' ELSE ' Days' END ELSE '' END, "
            "CASE WHEN i % 10 = 3 THEN CAST(strftime('%d', d, '-' || lead || ' days') AS INTEGER) ELSE '' END, "
            "CASE WHEN i % 10 = 3 THEN CAST(strftime('%m', d, '-' || lead || ' days') AS INTEGER) ELSE '' END, "
            "CASE WHEN i % 10 = 3 THEN strftime('%Y', d, '-' || lead || ' days') ELSE '' END FROM t")
            .arg(store::Database::quoteName(names::Agenda),
                 quoted({ag::Task, ag::Category, ag::StartHour, ag::StartMinute, ag::StartAmPm, ag::EndHour,
                         ag::EndMinute, ag::EndAmPm, ag::Day, ag::Month, ag::Year, ag::Reminder, ag::ReminderDay,
                         ag::ReminderMonth, ag::ReminderYear}))
            .arg(kDays);
    const QString todo =
        QStringLiteral("INSERT INTO %1 (%2) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE "
                       "i + 1 < ?) SELECT 'To-do item ' || i || ': call the plumber about the kitchen tap', "
                       "'Business', CASE WHEN i % 5 = 0 THEN 'Yes' ELSE 'No' END, i % 4 FROM n")
            .arg(store::Database::quoteName(names::ToDo), quoted({td::Task, td::Category, td::Done, td::Priority}));
    for (const auto &[sql, count] : {std::pair{agenda, tasks}, {todo, items}}) {
        if (!query.prepare(sql)) {
            *error = query.lastError().text();
            return false;
        }
        query.addBindValue(count);
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
    }
    if (!connection.commit()) {
        *error = connection.lastError().text();
        return false;
    }
    return true;
}

// The data file of this many tasks, made at its first use in the run.
store::Database *dataFile(int tasks)
{
    static QTemporaryDir dir;
    static QHash<int, std::shared_ptr<store::Database>> files;
    if (const auto file = files.constFind(tasks); file != files.cend())
        return file->get();
    QElapsedTimer timer;
    timer.start();
    QString error;
    std::shared_ptr<store::Database> db =
        store::Database::open(dir.filePath(QStringLiteral("tasks-%1.sqlite").arg(tasks)), &error);
    if (!db || !fill(*db, tasks, kToDoItems, &error)) {
        std::fprintf(stderr, "no data file of %d tasks: %s\n", tasks, qPrintable(error));
        return nullptr;
    }
    std::printf("(%d tasks and %d to-do items made in %.1f s)\n", tasks, kToDoItems, timer.elapsed() / 1000.0);
    files.insert(tasks, db);
    return db.get();
}

// Times `runs` reads and reports the median; the row count is the last read's.
void measure(const QByteArray &what, int runs, const std::function<qsizetype(int)> &read)
{
    qsizetype rows = 0;
    const double ms = bench::medianMs(runs, [&](int i) { rows = read(i); });
    bench::report((what + " (" + QByteArray::number(rows) + " rows)").constData(), ms);
}

void run(int tasks)
{
    store::Database *db = dataFile(tasks);
    if (!db)
        return;
    const store::AgendaRepository agenda(*db);
    const store::ToDoRepository todo(*db);
    const QByteArray of = ", " + QByteArray::number(tasks) + " tasks";
    constexpr int kRuns = 41;

    measure("day read" + of, kRuns, [&](int i) { return agenda.day(2026, 6, 1 + i % 30).value->size(); });
    measure("dayShown (the grid's tasks)" + of, kRuns,
            [&](int i) { return agenda.dayShown(2026, 6, 1 + i % 30).value->shown.size(); });
    measure("taskDays" + of, kRuns, [&](int i) { return agenda.taskDays(2026 + i % 2, 1 + i % 12).value->size(); });
    measure("month read" + of, kRuns, [&](int i) { return agenda.month(2026 + i % 2, 1 + i % 12).value->size(); });
    measure("dueReminders" + of, kRuns, [&](int i) { return agenda.dueReminders(kToday.addDays(i)).value->size(); });
    for (const char *text : {"dentist", "review 777 ", "\u00dcber"}) {
        const QString what = QString::fromUtf8(text);
        measure("search \"" + QByteArray(text) + '"' + of, 21, [&](int) { return agenda.search(what).value->size(); });
    }

    if (tasks != 100'000)
        return;
    // The to-do list: 100,000 items.
    measure("to-do count", kRuns, [&](int) { return qsizetype(*todo.count().value); });
    measure("to-do page of 40 rows", kRuns,
            [&](int i) { return todo.page((i * 7919) % kToDoItems, 40).value->size(); });
    measure("to-do ids", kRuns, [&](int) { return todo.ids().value->size(); });
    const QList<store::RecordId> ids = *todo.ids().value;
    measure("to-do byIds of 40 rows", kRuns,
            [&](int i) { return todo.byIds(ids.mid((i * 7919) % kToDoItems, 40)).value->size(); });
    measure("to-do whole list (all)", 11, [&](int) { return todo.all().value->size(); });
    measure("to-do search \"item 7777:\"", 21,
            [&](int) { return todo.search(QStringLiteral("item 7777:")).value->size(); });
}

} // namespace

BREVANE_BENCH(store)
{
    run(1'000);
    run(100'000);
}

BREVANE_BENCH(store_1m)
{
    run(1'000'000);
}
