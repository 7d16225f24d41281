#pragma once

#include "store/database.h"
#include "store/names.h"

#include <QDate>
#include <QElapsedTimer>
#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// A tiny harness: each benchmark file registers one function with
// BREVANE_BENCH(name); main() runs them all (or those named on the command
// line) and each reports its medians.
namespace brevane::bench {

using BenchFn = std::function<void()>;

struct Entry {
    const char *name;
    BenchFn fn;
};

inline std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}

struct Registrar {
    Registrar(const char *name, BenchFn fn) { registry().push_back({name, std::move(fn)}); }
};

// Median wall time in milliseconds of `runs` calls of `fn`.
inline double medianMs(int runs, const std::function<void(int)> &fn)
{
    std::vector<double> times;
    times.reserve(static_cast<size_t>(runs));
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn(i);
        const auto end = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline void report(const char *what, double ms)
{
    std::printf("%-60s %9.3f ms\n", what, ms);
    std::fflush(stdout);
}

// The process's peak resident memory so far, in megabytes.
inline double peakMemoryMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

// The three-year data sets: `tasks` agenda tasks spread evenly over June 2025
// to May 2028 (about tasks / 36 a month, one in ten with a reminder) and
// `items` to-do items. SQLite makes the rows itself in one statement and one
// transaction, so a million tasks take seconds rather than minutes. Task i
// falls on day (i * 7919) mod 1096 of the three years, so that each day gets
// its share and the table is not in date order; the tasks of a day start at
// every half hour in turn and last up to an hour.
inline constexpr int kThreeYearDays = 1096; // 2025-06-01 .. 2028-05-31

inline bool fillThreeYears(store::Database &db, int tasks, int items, QString *error)
{
    namespace names = store::names;
    namespace ag = names::agenda;
    namespace td = names::todo;
    const auto quoted = [](const QStringList &fields) {
        QStringList list;
        for (const QString &field : fields)
            list << store::Database::quoteName(field);
        return list.join(u',');
    };
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
            .arg(kThreeYearDays);
    const QString todo =
        QStringLiteral("INSERT INTO %1 (%2) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE "
                       "i + 1 < ?) SELECT 'To-do item ' || i || ': call the plumber about the kitchen tap', "
                       "'Business', CASE WHEN i % 5 = 0 THEN 'Yes' ELSE 'No' END, i % 4 FROM n")
            .arg(store::Database::quoteName(names::ToDo), quoted({td::Task, td::Category, td::Done, td::Priority}));
    for (const auto &[sql, count] : {std::pair{agenda, tasks}, {todo, items}}) {
        if (count <= 0)
            continue;
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

// The data file of this many tasks and to-do items, made at its first use in
// the run and kept for the rest of it.
inline QHash<std::pair<int, int>, std::shared_ptr<store::Database>> &threeYearFiles()
{
    static QHash<std::pair<int, int>, std::shared_ptr<store::Database>> files;
    return files;
}

// Closes the data files; main() calls it while the application still exists.
inline void closeThreeYearFiles()
{
    threeYearFiles().clear();
}

inline store::Database *threeYearFile(int tasks, int items)
{
    static QTemporaryDir dir;
    auto &files = threeYearFiles();
    if (const auto file = files.constFind({tasks, items}); file != files.cend())
        return file->get();
    QElapsedTimer timer;
    timer.start();
    QString error;
    std::shared_ptr<store::Database> db = store::Database::open(
        dir.filePath(QStringLiteral("tasks-%1-items-%2.sqlite").arg(tasks).arg(items)), &error);
    if (!db || !fillThreeYears(*db, tasks, items, &error)) {
        std::fprintf(stderr, "no data file of %d tasks: %s\n", tasks, qPrintable(error));
        return nullptr;
    }
    std::printf("(%d tasks and %d to-do items made in %.1f s)\n", tasks, items, timer.elapsed() / 1000.0);
    files.insert({tasks, items}, db);
    return db.get();
}

} // namespace brevane::bench

#define BREVANE_BENCH(name) \
    static void bench_##name(); \
    static const ::brevane::bench::Registrar benchRegistrar_##name(#name, &bench_##name); \
    static void bench_##name()
