#include "controls/grid.h"
#include "store/names.h"
#include "testsupport.h"
#include "todo/todoview.h"
#include "todo_editor/frmaddtodo.h"

#include <QAction>
#include <QLineEdit>
#include <QSqlQuery>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace todo = store::names::todo;

namespace {

// Each row as shown: text, priority, strike-through, and the item the view holds.
QStringList shown(const ToDoView &view)
{
    QStringList rows;
    const Grid *grid = view.grid();
    for (int row = 1; row < grid->rows(); ++row) {
        const std::optional<store::ToDoItem> item = view.itemAt(row);
        rows << QStringLiteral("%1|%2|%3%4|%5").arg(grid->textMatrix(row, 0), grid->textMatrix(row, 1))
                    .arg(int(grid->cellStrikeThroughAt(row, 0))).arg(int(grid->cellStrikeThroughAt(row, 1))).arg(item ? item->id : -1);
    }
    return rows;
}

} // namespace

// A command redraws only its item's row, which must match a list rebuilt from the file.
class ToDoChangeTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changedRowMatchesTheFile_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("fails");
        QTest::addColumn<int>("selected");
        for (const bool fails : {false, true}) {
            const char *suffix = fails ? ", write fails" : "";
            QTest::addRow("done, middle row%s", suffix) << "mnuMarkAsDone" << 2 << fails << 2;
            QTest::addRow("not done, last row%s", suffix) << "mnuMarkAsDone" << 4 << fails << 4;
            QTest::addRow("priority, first row%s", suffix) << "mnuSetPriority3" << 1 << fails << 1;
            QTest::addRow("delete, middle row%s", suffix) << "mnuDeleteToDoTask" << 3 << fails << 1;
            QTest::addRow("delete, last row%s", suffix) << "mnuDeleteToDoTask" << 4 << fails << 1;
            QTest::addRow("edited in the editor%s", suffix) << "mnuEditToDoItem" << 3 << fails << (fails ? 3 : 1);
        }
    }
    void changedRowMatchesTheFile()
    {
        QFETCH(QString, command);
        QFETCH(int, row);
        QFETCH(bool, fails);
        QFETCH(int, selected);
        TestData data;
        const QList<std::pair<QString, QString>> items{{QStringLiteral("No"), QStringLiteral("1")},
                                                       {QStringLiteral("No"), QString()},
                                                       {QStringLiteral("Yes"), QStringLiteral("2")},
                                                       {QStringLiteral("Yes"), QStringLiteral("3")}};
        for (const auto &[done, priority] : items) {
            data.insert(names::ToDo, {{todo::Task, QStringLiteral("Item %1").arg(priority)}, {todo::Done, done},
                                      {todo::Priority, priority}});
        }
        QWidget window;
        ToDoView view(data.db(), &window);
        view.reload();
        const QStringList before = shown(view);
        view.grid()->selectRow(row, 0);
        Q_EMIT view.grid()->clicked(); // the commands act on a picked row
        if (fails)
            data.failWrites(names::ToDo);
        window.findChild<QAction *>(command)->trigger();
        if (auto *editor = window.findChild<frmAddToDo *>()) {
            auto *text = editor->findChild<QLineEdit *>(QStringLiteral("txtTask"));
            text->setText(text->text() + QStringLiteral(" changed"));
            QTest::keyClick(text, Qt::Key_Return);
            editor->close();
        }

        QWidget fresh;
        ToDoView rebuilt(data.db(), &fresh);
        rebuilt.reload();
        QCOMPARE(shown(view), shown(rebuilt));
        QVERIFY2(fails == (shown(view) == before), "the list shows the change exactly when it was written");
        QCOMPARE(view.grid()->row(), selected);
    }

    // Items are read a page at a time as rows are shown; a page that cannot
    // be read is reported once, after the read that failed.
    void unreadablePageIsReported()
    {
        TestData data;
        for (int i = 1; i <= 100; ++i)
            data.insert(names::ToDo, {{todo::Task, QStringLiteral("Item %1").arg(i)}});
        QWidget window;
        ToDoView view(data.db(), &window);
        view.reload();
        QCOMPARE(view.grid()->textMatrix(2, 0), QStringLiteral("Item 2"));
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("ALTER TABLE \"To Do\" RENAME TO \"Gone\"")));
        QCOMPARE(view.grid()->textMatrix(64, 0), QStringLiteral("Item 64")); // on the page read before
        QVERIFY(view.grid()->textMatrix(100, 0).isEmpty());
        QVERIFY(view.grid()->textMatrix(99, 0).isEmpty());
        QVERIFY(data.desktop().messages.isEmpty());
        QTRY_COMPARE(data.desktop().messages.size(), 1);
        QVERIFY(data.desktop().messages.first().text.contains(data.path()));
    }
};

BREVANE_TEST(ToDoChangeTests)
#include "tst_todochanges.moc"
