// The to-do list on a data file of 10,000 items: rebuilding the grid, and the
// two in-place commands that rebuild it after writing.

#include "bench.h"

#include "app/frmmain.h"
#include "controls/grid.h"
#include "scripteddesktop.h"
#include "store/database.h"
#include "store/names.h"
#include "todo/todoview.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>
#include <QTableWidget>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace brevane;
namespace names = store::names;

namespace {

constexpr int kItems = 10000;

bool fillToDo(store::Database &db, int count)
{
    QSqlDatabase connection = db.connection();
    connection.transaction();
    QSqlQuery insert(connection);
    insert.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
                       .arg(store::Database::quoteName(names::ToDo), store::Database::quoteName(names::todo::Task),
                            store::Database::quoteName(names::todo::Category),
                            store::Database::quoteName(names::todo::Done),
                            store::Database::quoteName(names::todo::Priority)));
    const QStringList priorities{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString()};
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(QStringLiteral("Item %1: call the plumber about the kitchen tap").arg(i + 1));
        insert.addBindValue(QStringLiteral("Task"));
        insert.addBindValue(i % 5 == 0 ? QStringLiteral("Yes") : QStringLiteral("No"));
        insert.addBindValue(priorities.at(i % priorities.size()));
        if (!insert.exec())
            return false;
    }
    return connection.commit();
}

} // namespace

BREVANE_BENCH(todo)
{
    ScriptedDesktop scripted;
    setDesktop(&scripted);
    QTemporaryDir dir;
    QString error;
    auto db = store::Database::open(dir.filePath(QStringLiteral("bench.sqlite")), &error);
    if (!db || !fillToDo(*db, kItems)) {
        std::fprintf(stderr, "no data file: %s\n", qPrintable(error));
        setDesktop(nullptr);
        return;
    }
    {
        frmMain window(*db);
        window.load();
        window.resize(1024, 720);
        QApplication::processEvents();
        auto *grid = window.findChild<Grid *>(QStringLiteral("ToDo"));
        auto *markAsDone = window.findChild<QAction *>(QStringLiteral("mnuMarkAsDone"));
        auto *deleteItem = window.findChild<QAction *>(QStringLiteral("mnuDeleteToDoTask"));

        bench::report("to-do: loadToDoList, 10,000 items",
                      bench::medianMs(21, [&](int) { window.findChild<ToDoView *>()->reload(); }));
        // A click on a row enables the commands; the timed part is the command
        // with the rebuild it ends in.
        const auto pick = [&](int i) {
            grid->selectRow(1 + (i * 379) % (grid->rows() - 1), 0);
            Q_EMIT grid->clicked();
        };
        bench::report("to-do: Mark as done (write + rebuild), 10,000 items",
                      bench::medianMs(21, [&](int i) {
                          pick(i);
                          markAsDone->trigger();
                      }));
        bench::report("to-do: Delete (write + rebuild), 10,000 items",
                      bench::medianMs(21, [&](int i) {
                          pick(i);
                          deleteItem->trigger();
                      }));
        // Scrolling: one page down, with the repaint it causes.
        QScrollBar *scroll = grid->table()->verticalScrollBar();
        bench::report("to-do: scroll one page and repaint, 10,000 items",
                      bench::medianMs(21, [&](int i) {
                          scroll->setValue((i + 1) * scroll->pageStep());
                          grid->table()->viewport()->repaint();
                      }));
        if (!scripted.messages.isEmpty() && scripted.messages.size() != 21)
            std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(scripted.messageTexts().join(u'|')));
    }
    db.reset();
    setDesktop(nullptr);
}
