// The task search on a data file of 100,000 agenda tasks: a search that finds
// few tasks, and one that finds a tenth of them, each listed in the window.

#include "bench.h"

#include "fakenavigation.h"
#include "scripteddesktop.h"
#include "store/agendarepository.h"
#include "store/database.h"
#include "store/names.h"
#include "task_search/frmsearch.h"

#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace brevane;
namespace names = store::names;

namespace {

constexpr int kTasks = 100000;

bool fillAgenda(store::Database &db, int count)
{
    namespace ag = names::agenda;
    QSqlDatabase connection = db.connection();
    connection.transaction();
    QSqlQuery insert(connection);
    QStringList fields{ag::Task, ag::StartHour, ag::StartMinute, ag::StartAmPm, ag::EndHour, ag::EndMinute,
                       ag::EndAmPm, ag::Day, ag::Month, ag::Year};
    QStringList quoted;
    for (const QString &field : std::as_const(fields))
        quoted << store::Database::quoteName(field);
    insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?,?,?,?,?,?,?,?,?,?)")
                       .arg(store::Database::quoteName(names::Agenda), quoted.join(u',')));
    for (int i = 0; i < count; ++i) {
        const QString what = i % 10 == 0 ? QStringLiteral("Dentist appointment") : QStringLiteral("Project review");
        insert.addBindValue(QStringLiteral("%1 number %2 (to 10:30 AM)").arg(what).arg(i + 1));
        for (const char *value : {"9", "30", "AM", "10", "30", "AM"})
            insert.addBindValue(QString::fromLatin1(value));
        insert.addBindValue(QString::number(1 + i % 28));
        insert.addBindValue(QString::number(1 + (i / 28) % 12));
        insert.addBindValue(QString::number(1990 + i % 40));
        if (!insert.exec())
            return false;
    }
    return connection.commit();
}

} // namespace

BREVANE_BENCH(task_search)
{
    ScriptedDesktop scripted;
    setDesktop(&scripted);
    QTemporaryDir dir;
    QString error;
    auto db = store::Database::open(dir.filePath(QStringLiteral("bench.sqlite")), &error);
    if (!db || !fillAgenda(*db, kTasks)) {
        std::fprintf(stderr, "no data file: %s\n", qPrintable(error));
        setDesktop(nullptr);
        return;
    }
    {
        testing::FakeNavigation navigation;
        frmSearch window(*db, navigation);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QApplication::processEvents();
        auto *text = window.findChild<QLineEdit *>(QStringLiteral("txtSearchFor"));
        auto *results = window.findChild<QListView *>(QStringLiteral("lstResults"));
        const auto search = [&](const QString &what) {
            text->setText(what);
            return [&window, results](int) {
                window.Search();
                results->viewport()->repaint();
            };
        };
        bench::report("search: 1 of 100,000 agenda tasks (\"NUMBER 77777 \")",
                      bench::medianMs(21, search(QStringLiteral("number 77777 "))));
        bench::report("search: 10,000 of 100,000 agenda tasks (\"dentist\")",
                      bench::medianMs(21, search(QStringLiteral("dentist"))));
        // The part of it that is the file's: reading and matching the tasks.
        store::AgendaRepository agenda(*db);
        bench::report("search: the reading alone (AgendaRepository::search)",
                      bench::medianMs(21, [&](int) { (void)agenda.search(QStringLiteral("dentist")); }));
        if (results->model()->rowCount() != kTasks / 10)
            std::fprintf(stderr, "unexpected result count: %d\n", results->model()->rowCount());
        if (!scripted.messages.isEmpty())
            std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(scripted.messageTexts().join(u'|')));
    }
    db.reset();
    setDesktop(nullptr);
}
