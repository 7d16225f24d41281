// Day clicks, month changes and start-up on the three-year data sets: what a
// click costs must follow what the agenda shows, not how many tasks the file
// holds. "agenda" runs 1,000, 100,000 and 1,000,000 tasks (the last file takes
// a while to make); "startup" times the main window's first paint.

#include "bench.h"

#include "app/frmmain.h"
#include "controls/flatbutton.h"
#include "scripteddesktop.h"
#include "store/agendarepository.h"
#include "store/database.h"

#include <QAction>
#include <QApplication>
#include <QPaintEvent>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

using namespace brevane;

// Inside the three years, in a month of the usual share of tasks.
const QDate kToday(2026, 6, 15);
constexpr int kClicks = 101;
constexpr int kMonthSteps = 41;
constexpr int kStarts = 11;

FlatButton *cellOfDay(const frmMain &window, int day)
{
    for (int i = 0; i < 42; ++i) {
        auto *cell = window.findChild<FlatButton *>(QStringLiteral("cmdDay%1").arg(i));
        if (cell->text() == QString::number(day))
            return cell;
    }
    return nullptr;
}

// Notes that a widget was painted.
class PaintWatch final : public QObject
{
public:
    using QObject::QObject;
    Q_DISABLE_COPY_MOVE(PaintWatch)
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// A small file whose clicked days are as full as those of the million-task
// file: 48 tasks, one on every half hour, on each day of June 2026, and
// nothing else. Against it a day click shows what the file's size costs,
// apart from what a full day costs to draw.
store::Database *fullDaysFile()
{
    static QTemporaryDir dir;
    static std::shared_ptr<store::Database> db;
    if (db)
        return db.get();
    QString error;
    db = store::Database::open(dir.filePath(QStringLiteral("full-days.sqlite")), &error);
    QList<store::AgendaTask> tasks;
    for (int day = 1; day <= 30; ++day) {
        for (int slot = 0; slot < 48; ++slot) {
            store::AgendaTask task;
            task.day = day;
            task.month = kToday.month();
            task.year = kToday.year();
            task.start = QTime(slot / 2, slot % 2 * 30);
            task.end = task.start.addSecs(30 * 60);
            task.text = QStringLiteral("Project review %1").arg(day * 48 + slot);
            task.category = QStringLiteral("Business");
            tasks << task;
        }
    }
    if (!db || !store::AgendaRepository(*db).addAll(tasks)) {
        std::fprintf(stderr, "no file of full days: %s\n", qPrintable(error));
        db.reset();
    }
    return db.get();
}

// The median day click on this file, 0 when it could not be made.
double run(store::Database *db, const QByteArray &of)
{
    if (!db)
        return 0;
    frmMain window(*db);
    window.load();
    window.resize(1280, 800);
    QApplication::processEvents();

    bench::report(("day click, before the paint" + of).constData(), bench::medianMs(kClicks, [&window](int i) {
                      cellOfDay(window, i % 30 + 1)->click();
                  }));
    QApplication::processEvents();
    const double click = bench::medianMs(kClicks, [&window](int i) {
        cellOfDay(window, i % 30 + 1)->click();
        QApplication::processEvents();
    });
    bench::report(("day click, calendar and agenda redrawn" + of).constData(), click);

    auto *next = window.findChild<QAction *>(QStringLiteral("mnuNextMonth"));
    auto *last = window.findChild<QAction *>(QStringLiteral("mnuLastMonth"));
    const double month = bench::medianMs(kMonthSteps, [&](int i) {
        (i % 4 < 2 ? next : last)->trigger();
        QApplication::processEvents();
    });
    bench::report(("month change, calendar and agenda redrawn" + of).constData(), month);
    return click;
}

double run(int tasks)
{
    return run(bench::threeYearFile(tasks, 0), ", " + QByteArray::number(tasks) + " tasks");
}

} // namespace

BREVANE_BENCH(agenda)
{
    ScriptedDesktop desktop;
    desktop.setToday(kToday);
    setDesktop(&desktop);
    const double base = run(1'000);
    const double full = run(fullDaysFile(), ", 1,440 tasks, 48 on each clicked day");
    for (const int tasks : {100'000, 1'000'000}) {
        const double click = run(tasks);
        if (base > 0 && full > 0 && click > 0)
            std::printf("  day click at %d tasks is %.2fx its time at 1,000 and %.2fx its time on days as full\n",
                        tasks, click / base, click / full);
    }
    setDesktop(nullptr);
}

// From the end of the splash to the main window drawn: construct, load and
// process events until the window has painted, with the reminder check that
// follows the first paint.
BREVANE_BENCH(startup)
{
    ScriptedDesktop desktop;
    desktop.setToday(kToday);
    // The reminders due on the day are answered at once.
    desktop.onModal([](QDialog *) { return 0; });
    setDesktop(&desktop);
    for (const auto &[tasks, items] : {std::pair{100'000, 100'000}, {1'000'000, 100'000}}) {
        store::Database *db = bench::threeYearFile(tasks, items);
        if (!db)
            continue;
        const double ms = bench::medianMs(kStarts, [db](int) {
            frmMain window(*db);
            PaintWatch watch;
            window.installEventFilter(&watch);
            window.load();
            for (int spins = 0; !watch.painted && spins < 100; ++spins)
                QApplication::processEvents();
            window.removeEventFilter(&watch);
        });
        bench::report(QByteArray("start, splash end to main window drawn, " + QByteArray::number(tasks) + " tasks + "
                                 + QByteArray::number(items) + " to-dos")
                          .constData(),
                      ms);
    }
    setDesktop(nullptr);
}
