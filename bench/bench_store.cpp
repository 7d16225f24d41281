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
const QDate kToday(2026, 6, 15);

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
    if (!db || !bench::fillThreeYears(*db, tasks, kToDoItems, &error)) {
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
