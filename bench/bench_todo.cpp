// The to-do list on a data file of 100,000 items: building the list, and the
// commands that change one item, which redraw only its row.

#include "bench.h"

#include "app/frmmain.h"
#include "controls/grid.h"
#include "scripteddesktop.h"
#include "store/database.h"
#include "store/todorepository.h"
#include "todo/todoview.h"
#include "todo_editor/frmaddtodo.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include <cstdio>

using namespace brevane;

namespace {

constexpr int kItems = 100'000;
constexpr int kRuns = 21;

} // namespace

BREVANE_BENCH(todo)
{
    ScriptedDesktop scripted;
    setDesktop(&scripted);
    store::Database *db = bench::threeYearFile(0, kItems);
    if (!db) {
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
        auto *priority = window.findChild<QAction *>(QStringLiteral("mnuSetPriority1"));
        auto *deleteItem = window.findChild<QAction *>(QStringLiteral("mnuDeleteToDoTask"));

        bench::report("to-do: list rebuilt from the file, 100,000 items",
                      bench::medianMs(kRuns, [&](int) { window.findChild<ToDoView *>()->reload(); }));
        // A click on a row enables the commands; the timed part is the command
        // with the redraw it ends in, painted.
        const auto pick = [&](int i) {
            grid->selectRow(1 + (i * 379) % (grid->rows() - 1), 0);
            Q_EMIT grid->clicked();
        };
        const auto command = [&](const char *what, QAction *action) {
            bench::report(what, bench::medianMs(kRuns, [&](int i) {
                              pick(i);
                              action->trigger();
                              QApplication::processEvents();
                          }));
        };
        // The write alone, each committed to the file before it returns.
        store::ToDoRepository repository(*db);
        bench::report("to-do: the write alone (Done), 100,000 items", bench::medianMs(kRuns, [&](int i) {
                          store::ToDoItem item = *window.findChild<ToDoView *>()->itemAt(1 + (i * 379) % 1000);
                          item.done = !item.done;
                          if (!repository.update(item, store::ToDoField::Done))
                              std::fprintf(stderr, "write failed\n");
                      }));
        command("to-do: Mark as done (write + row redrawn), 100,000 items", markAsDone);
        command("to-do: Priority (write + row redrawn), 100,000 items", priority);
        command("to-do: Delete (write + row removed), 100,000 items", deleteItem);
        // The editor: what its Save costs the list (the item written, then
        // its row redrawn, or a new row added at the end).
        auto *edit = window.findChild<QAction *>(QStringLiteral("mnuEditToDoItem"));
        auto *add = window.findChild<QAction *>(QStringLiteral("mnuNewToDoItem"));
        const auto save = [&](const char *what, const char *kind, QAction *open) {
            bench::report(what, bench::medianMs(kRuns, [&](int i) {
                              pick(i);
                              open->trigger();
                              auto *editor = window.findChild<frmAddToDo *>();
                              auto *text = editor->findChild<QLineEdit *>(QStringLiteral("txtTask"));
                              text->setText(QStringLiteral("%1 in the editor, run %2").arg(QLatin1String(kind)).arg(i));
                              QTest::keyClick(text, Qt::Key_Return);
                              editor->close();
                              QApplication::processEvents();
                          }));
        };
        save("to-do: edited in the editor (write + row redrawn), 100,000 items", "Edited", edit);
        save("to-do: added in the editor (write + row added), 100,000 items", "Added", add);
        // Scrolling: one page down, with the repaint it causes.
        QScrollBar *scroll = grid->table()->verticalScrollBar();
        bench::report("to-do: scroll one page and repaint, 100,000 items",
                      bench::medianMs(kRuns, [&](int i) {
                          scroll->setValue((i + 1) * scroll->pageStep());
                          grid->table()->viewport()->repaint();
                      }));
        if (scripted.messages.size() != kRuns)
            std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(scripted.messageTexts().join(u'|')));
    }
    setDesktop(nullptr);
}
