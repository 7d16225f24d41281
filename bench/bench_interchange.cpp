// Exporting a data file of 100,000 agenda tasks and 10,000 to-do items to
// iCalendar, importing that file into an empty data file, and importing it
// again into the same one (every record known by its UID).

#include "bench.h"

#include "interchange/transfer.h"
#include "scripteddesktop.h"
#include "store/database.h"
#include "store/names.h"

#include <QElapsedTimer>
#include <QSaveFile>
#include <QSqlQuery>
#include <QThread>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace brevane;
namespace names = store::names;

namespace {

constexpr int kTasks = 100000;
constexpr int kToDos = 10000;

bool fill(store::Database &db)
{
    namespace a = names::agenda;
    QSqlDatabase connection = db.connection();
    connection.transaction();
    QSqlQuery insert(connection);
    const QStringList fields{a::Task, a::Category, a::Alarm, a::StartHour, a::StartMinute, a::StartAmPm,
                             a::EndHour, a::EndMinute, a::EndAmPm, a::Day, a::Month, a::Year};
    QStringList quoted;
    for (const QString &field : fields)
        quoted << store::Database::quoteName(field);
    insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                       .arg(store::Database::quoteName(names::Agenda), quoted.join(u',')));
    const QDate first(2020, 1, 1);
    const auto hourOf = [](int slot) { return QString::number((slot / 2) % 12 == 0 ? 12 : (slot / 2) % 12); };
    for (int i = 0; i < kTasks; ++i) {
        // Every half hour of every day, so that no two tasks share a slot.
        const QDate day = first.addDays(i / 48);
        const int slot = i % 48;
        const int end = std::min(slot + 1, 47);
        insert.addBindValue(QStringLiteral("Meeting %1 about the quarterly figures (to %2:%3 %4)")
                                .arg(i)
                                .arg(hourOf(end), end % 2 ? QStringLiteral("30") : QStringLiteral("00"),
                                     end < 24 ? QStringLiteral("AM") : QStringLiteral("PM")));
        insert.addBindValue(QStringLiteral("Meeting"));
        insert.addBindValue(QStringLiteral("No"));
        for (int s : {slot, end}) {
            insert.addBindValue(hourOf(s));
            insert.addBindValue(s % 2 ? QStringLiteral("30") : QStringLiteral("00"));
            insert.addBindValue(s < 24 ? QStringLiteral("AM") : QStringLiteral("PM"));
        }
        insert.addBindValue(QString::number(day.day()));
        insert.addBindValue(QString::number(day.month()));
        insert.addBindValue(QString::number(day.year()));
        if (!insert.exec())
            return false;
    }
    QSqlQuery todo(connection);
    todo.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, 'Task', ?, ?)")
                     .arg(store::Database::quoteName(names::ToDo), store::Database::quoteName(names::todo::Task),
                          store::Database::quoteName(names::todo::Category),
                          store::Database::quoteName(names::todo::Done),
                          store::Database::quoteName(names::todo::Priority)));
    for (int i = 0; i < kToDos; ++i) {
        todo.addBindValue(QStringLiteral("Item %1: call the plumber about the kitchen tap").arg(i + 1));
        todo.addBindValue(i % 5 == 0 ? QStringLiteral("Yes") : QStringLiteral("No"));
        todo.addBindValue(QString::number(1 + i % 3));
        if (!todo.exec())
            return false;
    }
    return connection.commit();
}

} // namespace

BREVANE_BENCH(interchange)
{
    ScriptedDesktop scripted;
    setDesktop(&scripted);
    QTemporaryDir dir;
    QString error;
    auto db = store::Database::open(dir.filePath(QStringLiteral("bench.sqlite")), &error);
    if (!db || !fill(*db)) {
        std::fprintf(stderr, "no data file: %s\n", qPrintable(error));
        setDesktop(nullptr);
        return;
    }
    // As the window runs it: everything but writing the file beside the
    // window, through a connection of its own.
    const auto exportBeside = [&](const interchange::ExportCancel &cancelled = {}) {
        interchange::ExportResult result;
        std::unique_ptr<QThread> worker(QThread::create([&] {
            QString problem;
            const auto alongside = store::Database::openAlongside(db->path(), &problem);
            if (!alongside) {
                result.error = problem;
                return;
            }
            result = interchange::writeCalendarExport(interchange::collectCalendar(*alongside, cancelled),
                                                      QDateTime::currentDateTimeUtc());
        }));
        worker->start();
        worker->wait();
        if (!result.ok && !result.cancelled)
            std::fprintf(stderr, "export failed: %s\n", qPrintable(result.error));
        return result;
    };
    const auto forgetUids = [&] {
        QSqlQuery forget(db->connection());
        if (!forget.exec(QStringLiteral("DELETE FROM \"Record UIDs\"")))
            std::fprintf(stderr, "UIDs not removed\n");
    };
    // The first export gives every record its UID in one statement a table.
    std::vector<double> firstTimes;
    for (int i = 0; i < 3; ++i) {
        forgetUids();
        QElapsedTimer timer;
        timer.start();
        (void)exportBeside();
        firstTimes.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(firstTimes.begin(), firstTimes.end());
    bench::report("interchange: export the first time (UIDs made), beside the window", firstTimes[1]);
    QByteArray exported;
    bench::report("interchange: export 100,000 tasks, 10,000 to-dos (.ics), beside the window",
                  bench::medianMs(5, [&](int) { exported = exportBeside().data; }));
    bench::report("interchange: export on the window's connection (command line)",
                  bench::medianMs(3, [&](int) {
                      (void)interchange::exportCalendar(*db, QDateTime::currentDateTimeUtc());
                  }));
    // Writing the file: on disk under a temporary name beside the window,
    // then moved into place on the window's thread.
    const QString target = dir.filePath(QStringLiteral("bench.ics"));
    double placing = 0;
    bench::report("interchange: export, writing the file (beside the window)",
                  bench::medianMs(5, [&](int) {
                      QSaveFile file(target);
                      QString problem = interchange::prepareExportFile(file, exported);
                      QElapsedTimer timer;
                      timer.start();
                      if (problem.isEmpty())
                          problem = interchange::finishExportFile(file);
                      placing = double(timer.nsecsElapsed()) / 1e6;
                      if (!problem.isEmpty())
                          std::fprintf(stderr, "%s\n", qPrintable(problem));
                  }));
    bench::report("interchange: export, moving the file into place (window's thread, last run)", placing);
    // How long Cancel takes to stop the reading, pressed 100 ms into it.
    bench::report("interchange: export, Cancel 100 ms into the reading, until stopped",
                  bench::medianMs(5, [&](int) {
                      QElapsedTimer since;
                      since.start();
                      const interchange::ExportResult result =
                          exportBeside([&since] { return since.elapsed() >= 100; });
                      if (!result.cancelled)
                          std::fprintf(stderr, "not cancelled\n");
                  }) - 100);
    db.reset();
    bench::report("interchange: import of that file into an empty data file",
                  bench::medianMs(5, [&](int i) {
                      auto target = store::Database::open(dir.filePath(QStringLiteral("import%1.sqlite").arg(i)),
                                                          &error);
                      const interchange::ImportResult result = interchange::storeImport(
                          *target, interchange::readImportData(exported, QStringLiteral("bench.ics"),
                                                               QDate::currentDate()));
                      if (result.events != kTasks || result.todos != kToDos)
                          std::fprintf(stderr, "import: %s %s\n", qPrintable(result.summary()),
                                       qPrintable(result.error));
                  }));
    {
        // Every record of the file is known by its UID and updated.
        auto target = store::Database::open(dir.filePath(QStringLiteral("import0.sqlite")), &error);
        bench::report("interchange: import of that file again into the same data file",
                      bench::medianMs(3, [&](int) {
                          const interchange::ImportResult result = interchange::storeImport(
                              *target, interchange::readImportData(exported, QStringLiteral("bench.ics"),
                                                                   QDate::currentDate()));
                          if (result.events != kTasks || result.todos != kToDos)
                              std::fprintf(stderr, "re-import: %s %s\n", qPrintable(result.summary()),
                                           qPrintable(result.error));
                      }));
    }
    setDesktop(nullptr);
}
