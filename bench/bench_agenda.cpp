// Day-cell clicks and task saves on data files with many years of tasks: the
// agenda's redraw must not grow with the size of the "Agenda" table.

#include "bench.h"

#include "agenda_editor/frmaddagenda.h"
#include "app/frmmain.h"
#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "core/organizer.h"
#include "scripteddesktop.h"
#include "store/database.h"
#include "store/names.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

namespace {

using namespace brevane;
namespace ag = store::names::agenda;

const QDate kToday(2024, 6, 12);
constexpr int kClicks = 200;
constexpr int kSaves = 96;
constexpr int kTasksThisMonth = 200;

// Fills the file in one transaction: `spread` tasks over 1900-2100 (none in
// this month or the next, where the saves go) and 200 in this month.
bool fill(store::Database &db, int spread)
{
    QSqlDatabase connection = db.connection();
    connection.transaction();
    QSqlQuery insert(connection);
    insert.prepare(QStringLiteral("INSERT INTO \"Agenda\" (\"Agenda Task\", \"Agenda Category\", \"Start Hour\", "
                                  "\"Start Minute\", \"Start AMPM\", \"End Hour\", \"End Minute\", \"End AMPM\", "
                                  "\"Day\", \"Month\", \"Year\") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    std::mt19937 random(20240612);
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    const QDate nextMonth = kToday.addMonths(1);
    const auto add = [&](int day, int month, int year) {
        const QString hour = QString::number(pick(1, 12));
        const QString minute = pick(0, 1) ? QStringLiteral("30") : QStringLiteral("00");
        const QString amPm = pick(0, 1) ? QStringLiteral("PM") : QStringLiteral("AM");
        const QString category = categoryNames().at(pick(0, 12));
        for (const QString &value : {QStringLiteral("Task %1 (to %2:%3 %4)").arg(pick(1, 99999)).arg(hour, minute, amPm),
                                     category, hour, minute, amPm, hour, minute, amPm, QString::number(day),
                                     QString::number(month), QString::number(year)})
            insert.addBindValue(value);
        return insert.exec();
    };
    for (int i = 0; i < spread; ++i) {
        const int year = pick(1900, 2100);
        const int month = pick(1, 12);
        if ((year == kToday.year() && month == kToday.month())
            || (year == nextMonth.year() && month == nextMonth.month())) {
            --i;
            continue;
        }
        if (!add(pick(1, daysInMonth(month, year)), month, year))
            return false;
    }
    for (int i = 0; i < kTasksThisMonth; ++i) {
        if (!add(pick(1, kToday.daysInMonth()), kToday.month(), kToday.year()))
            return false;
    }
    if (!connection.commit()) {
        std::fprintf(stderr, "fill: %s\n", qPrintable(connection.lastError().text()));
        return false;
    }
    return true;
}

FlatButton *cellOfDay(const frmMain &window, int day)
{
    for (int i = 0; i < 42; ++i) {
        auto *cell = window.findChild<FlatButton *>(QStringLiteral("cmdDay%1").arg(i));
        if (cell->text() == QString::number(day))
            return cell;
    }
    return nullptr;
}

int agendaCount(store::Database &db)
{
    QSqlQuery count(db.connection());
    return count.exec(QStringLiteral("SELECT count(*) FROM \"Agenda\"")) && count.next() ? count.value(0).toInt() : -1;
}

void run(int spread)
{
    QTemporaryDir dir;
    QString error;
    auto db = store::Database::open(dir.filePath(QStringLiteral("bench.sqlite")), &error);
    if (!db || !fill(*db, spread)) {
        std::fprintf(stderr, "bench data file not made: %s\n", qPrintable(error));
        return;
    }

    frmMain window(*db);
    window.load();
    window.resize(1280, 800);
    QApplication::processEvents();

    const QByteArray size = QByteArray::number(spread + kTasksThisMonth);
    const double click = bench::medianMs(kClicks, [&window](int i) {
        cellOfDay(window, i % kToday.daysInMonth() + 1)->click();
    });
    bench::report(("day-cell click, " + size + " tasks").constData(), click);
    const double clickPainted = bench::medianMs(kClicks, [&window](int i) {
        cellOfDay(window, i % kToday.daysInMonth() + 1)->click();
        QApplication::processEvents();
    });
    bench::report(("day-cell click and repaint, " + size + " tasks").constData(), clickPainted);

    // Saves go to free slots of next month's first days: 48 slot rows a day.
    window.findChild<QAction *>(QStringLiteral("mnuNextMonth"))->trigger();
    auto *grid = window.findChild<Grid *>(QStringLiteral("Agenda"));
    const int before = agendaCount(*db);
    const double save = bench::medianMs(kSaves, [&](int i) {
        if (i % 48 == 0) {
            cellOfDay(window, i / 48 + 1)->click();
        }
        const int slot = i % 48;
        grid->selectRow(slot < 24 ? slot + 2 : slot + 3, 1); // past "Midnight" and "Noon"
        window.findChild<QAction *>(QStringLiteral("mnuNewAgendaTask"))->trigger();
        auto *editor = window.findChild<frmAddAgenda *>();
        editor->findChild<QLineEdit *>(QStringLiteral("txtTask"))->setText(QStringLiteral("Benchmark task"));
        editor->updateAgenda();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    bench::report(("open the editor and save a task, " + size + " tasks").constData(), save);
    if (agendaCount(*db) != before + kSaves)
        std::printf("  (only %d of %d saves stored)\n", agendaCount(*db) - before, kSaves);
}

} // namespace

BREVANE_BENCH(agenda)
{
    ScriptedDesktop desktop;
    desktop.setToday(kToday);
    setDesktop(&desktop);
    run(1'000);
    run(100'000);
    setDesktop(nullptr);
}
