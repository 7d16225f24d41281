#include "app/frmmain.h"
#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "store/names.h"
#include "testsupport.h"
#include "todo_editor/frmaddtodo.h"

#include <QAction>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTableWidget>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace todo = store::names::todo;

namespace {

store::RecordId addItem(TestData &data, const QString &task, const QString &priority = QStringLiteral("2"),
                        const QString &done = QStringLiteral("No"))
{
    return data.insert(names::ToDo, {{todo::Task, task}, {todo::Done, done}, {todo::Priority, priority}});
}

// The main window, shown and active so that focus moves as for a user.
struct Main {
    explicit Main(TestData &data) : window(data.db())
    {
        window.load();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        grid = window.findChild<Grid *>(QStringLiteral("ToDo"));
    }
    frmMain window;
    Grid *grid = nullptr;
    bool active = false;

    template <typename T> T *child(const QString &name) const { return window.findChild<T *>(name); }
    QAction *action(const char *name) const { return child<QAction>(QLatin1String(name)); }
    frmAddToDo *editor() const { return child<frmAddToDo>(QStringLiteral("frmAddToDo")); }

    // The four selection commands are switched together: "on", "off" or "mixed".
    QString commands() const
    {
        const QList<bool> state{child<FlatButton>(QStringLiteral("cmdEditToDoTask"))->isEnabled(),
                                child<FlatButton>(QStringLiteral("cmdDeleteToDoTask"))->isEnabled(),
                                action("mnuEditToDoItem")->isEnabled(), action("mnuDeleteToDoTask")->isEnabled(),
                                child<QMenu>(QStringLiteral("mnuPriority"))->menuAction()->isEnabled(),
                                action("mnuMarkAsDone")->isEnabled()};
        if (state.count(state.first()) != state.size())
            return QStringLiteral("mixed");
        return state.first() ? QStringLiteral("on") : QStringLiteral("off");
    }
    QWidget *area(int row) const
    {
        return row == 0 ? grid->table()->horizontalHeader()->viewport() : grid->table()->viewport();
    }
    void click(int row, int col = 0, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(area(row), button, {}, grid->cellRect(row, col).center());
    }
    void button(const char *name) const { QTest::mouseClick(child<FlatButton>(QLatin1String(name)), Qt::LeftButton); }
    void key(Qt::Key key) const { QTest::keyClick(grid->table(), key); }
};

} // namespace

class ToDoListTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptyList()
    {
        TestData data;
        Main main(data);
        QCOMPARE(main.grid->rows(), 1);
        QCOMPARE(main.grid->textMatrix(0, 0) + u'|' + main.grid->textMatrix(0, 1), QStringLiteral("To-Do List|Priority"));
        QCOMPARE(main.commands(), QStringLiteral("off"));
        main.key(Qt::Key_Delete);
        QCOMPARE(data.desktop().messageTexts(), QStringList{QStringLiteral("Please Select A Task To Delete")});
        QCOMPARE(data.desktop().messages.last().icon, Desktop::Icon::Exclamation);
        main.window.editToDoTask();
        QCOMPARE(data.desktop().messageTexts().last(), QStringLiteral("Please Select A Task To Edit"));
        main.key(Qt::Key_Return);
        QVERIFY2(main.editor() && main.editor()->isVisible(), "Enter opens the editor");
        QCOMPARE(main.editor()->windowTitle(), QStringLiteral("Add To-Do Item"));
    }

    void rowShowsItem_data()
    {
        QTest::addColumn<QString>("priority");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("struck");
        QTest::newRow("high") << "1" << "No" << "High" << false;
        QTest::newRow("medium, done") << "2" << "Yes" << "Medium" << true;
        QTest::newRow("low, read as a number") << " 3" << "No" << "Low" << false;
        QTest::newRow("code 0") << "0" << "No" << "" << false;
        QTest::newRow("code 4, done") << "4" << "Yes" << "" << true;
        QTest::newRow("no priority, no done flag") << "" << "" << "" << false;
        QTest::newRow("lower-case yes") << "1" << "yes" << "High" << false;
        QTest::newRow("yes and a blank") << "1" << "Yes " << "High" << false;
    }
    void rowShowsItem()
    {
        QFETCH(QString, priority);
        QFETCH(QString, done);
        QFETCH(QString, shown);
        QFETCH(bool, struck);
        TestData data;
        addItem(data, QStringLiteral("first"), QStringLiteral("1"));
        addItem(data, QStringLiteral("the item"), priority, done);
        Main main(data);
        QCOMPARE(main.grid->rows(), 3);
        QCOMPARE(main.grid->textMatrix(2, 0), QStringLiteral("the item"));
        QCOMPARE(main.grid->textMatrix(2, 1), shown);
        QCOMPARE(main.grid->cellStrikeThroughAt(2, 0), struck);
        QCOMPARE(main.grid->cellStrikeThroughAt(2, 1), struck);
        QVERIFY(!main.grid->cellStrikeThroughAt(1, 0));
        QCOMPARE(main.grid->row(), 1);
        QCOMPARE(main.commands(), QStringLiteral("off"));
    }

    void commandsSwitchOff_data()
    {
        QTest::addColumn<QString>("event");
        for (const char *event : {"focus loss", "rebuild", "edit", "delete refused", "priority", "done", "header"})
            QTest::newRow(event) << QString::fromLatin1(event);
    }
    void commandsSwitchOff()
    {
        QFETCH(QString, event);
        TestData data;
        addItem(data, QStringLiteral("one"));
        addItem(data, QStringLiteral("two"));
        Main main(data);
        QVERIFY(main.active);
        main.click(2);
        QCOMPARE(main.commands(), QStringLiteral("on"));
        if (event == QLatin1String("focus loss")) {
            main.child<QComboBox>(QStringLiteral("cmbQuickLinks"))->setFocus();
        } else if (event == QLatin1String("rebuild")) {
            main.window.loadToDoList();
        } else if (event == QLatin1String("edit")) {
            main.button("cmdEditToDoTask");
        } else if (event == QLatin1String("delete refused")) {
            data.desktop().queueAnswer(Desktop::Answer::No);
            main.button("cmdDeleteToDoTask");
            QCOMPARE(data.countOf(names::ToDo), 2);
            main.window.loadToDoList();
        } else if (event == QLatin1String("priority")) {
            main.action("mnuSetPriority3")->trigger();
        } else if (event == QLatin1String("done")) {
            main.action("mnuMarkAsDone")->trigger();
        } else {
            main.click(0, 0, Qt::RightButton);
        }
        QCOMPARE(main.commands(), QStringLiteral("off"));
    }

    // Whichever cell or button picks the row, the commands act on that row.
    void commandsSwitchOn_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::newRow("click on the text") << 0 << Qt::LeftButton;
        QTest::newRow("click on an empty priority") << 1 << Qt::LeftButton;
        QTest::newRow("right click") << 1 << Qt::RightButton;
    }
    void commandsSwitchOn()
    {
        QFETCH(int, col);
        QFETCH(Qt::MouseButton, button);
        TestData data;
        addItem(data, QStringLiteral("one"));
        addItem(data, QStringLiteral("two"), QString());
        Main main(data);
        main.click(2, col, button);
        QCOMPARE(main.commands(), QStringLiteral("on"));
        QCOMPARE(main.grid->colSel(), 1);
        main.action("mnuEditToDoItem")->trigger();
        QVERIFY(main.editor());
        QCOMPARE(main.editor()->findChild<QLineEdit *>(QStringLiteral("txtTask"))->text(), QStringLiteral("two"));
    }

    void markAsDoneFollowsTheRow_data()
    {
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("after");
        QTest::newRow("done") << "Yes" << "Mark as Not Done" << "No";
        QTest::newRow("not done") << "No" << "Mark as Done" << "Yes";
        QTest::newRow("no done flag") << "" << "Mark as Done" << "Yes";
    }
    void markAsDoneFollowsTheRow()
    {
        QFETCH(QString, done);
        QFETCH(QString, caption);
        QFETCH(QString, after);
        TestData data;
        addItem(data, QStringLiteral("other"), QStringLiteral("1"), QStringLiteral("Yes"));
        const auto id = addItem(data, QStringLiteral("item"), QStringLiteral("1"), done);
        Main main(data);
        main.click(2, 0, Qt::RightButton);
        QCOMPARE(main.action("mnuMarkAsDone")->text(), caption);
        QCOMPARE(data.desktop().menusPopped, QList<QMenu *>{main.child<QMenu>(QStringLiteral("mnuToDo"))});
        main.action("mnuMarkAsDone")->trigger();
        QCOMPARE(data.fieldOf(names::ToDo, id, todo::Done), after);
        QCOMPARE(main.grid->cellStrikeThroughAt(2, 1), after == QLatin1String("Yes"));
        QCOMPARE(main.grid->row(), 2);
        QCOMPARE(main.grid->colSel(), 1);
    }

    // Two items with the same text: each command acts on the picked row's record.
    void commandActsOnThePickedRecord_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("delete") << "mnuDeleteToDoTask" << todo::Task << "<no record>";
        QTest::newRow("mark as done") << "mnuMarkAsDone" << todo::Done << "Yes";
        QTest::newRow("set priority") << "mnuSetPriority1" << todo::Priority << "1";
        QTest::newRow("edit") << "mnuEditToDoItem" << todo::Task << "Buy oat milk";
    }
    void commandActsOnThePickedRecord()
    {
        QFETCH(QString, command);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        TestData data;
        const auto first = addItem(data, QStringLiteral("Buy milk"), QStringLiteral("3"));
        const auto second = addItem(data, QStringLiteral("Buy milk"), QStringLiteral("3"));
        Main main(data);
        main.click(2, 1);
        main.action(qPrintable(command))->trigger();
        if (command == QLatin1String("mnuEditToDoItem")) {
            auto *txtTask = main.editor()->findChild<QLineEdit *>(QStringLiteral("txtTask"));
            txtTask->setText(QStringLiteral("Buy oat milk"));
            QTest::keyClick(txtTask, Qt::Key_Return);
            QCOMPARE(main.grid->textMatrix(2, 0), QStringLiteral("Buy oat milk"));
        }
        if (command == QLatin1String("mnuDeleteToDoTask"))
            QCOMPARE(data.desktop().messageTexts(), QStringList{QStringLiteral("Delete 'Buy milk' From To-Do List?")});
        QCOMPARE(data.fieldOf(names::ToDo, second, field), expected);
        QCOMPARE(data.fieldOf(names::ToDo, first, todo::Task) + data.fieldOf(names::ToDo, first, todo::Done)
                     + data.fieldOf(names::ToDo, first, todo::Priority),
                 QStringLiteral("Buy milkNo3"));
    }

    void failedWriteIsReported_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("message");
        QTest::newRow("delete") << "mnuDeleteToDoTask" << "The to-do item could not be deleted: ";
        QTest::newRow("mark as done") << "mnuMarkAsDone" << "The to-do item could not be saved: ";
        QTest::newRow("set priority") << "mnuSetPriority1" << "The to-do item could not be saved: ";
    }
    void failedWriteIsReported()
    {
        QFETCH(QString, command);
        QFETCH(QString, message);
        TestData data;
        const auto id = addItem(data, QStringLiteral("item"));
        Main main(data);
        data.failWrites(names::ToDo);
        main.click(1);
        main.action(qPrintable(command))->trigger();
        QVERIFY2(data.desktop().messageTexts().last().startsWith(message), qPrintable(data.desktop().messageTexts().last()));
        QCOMPARE(data.fieldOf(names::ToDo, id, todo::Done) + data.fieldOf(names::ToDo, id, todo::Priority),
                 QStringLiteral("No2"));
        QCOMPARE(main.grid->rows(), 2);
    }

    void doubleClickAndEnter_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("gone");
        QTest::addColumn<QString>("caption");
        QTest::newRow("double click on an item") << 1 << false << "Edit To-Do Item";
        QTest::newRow("on a vanished item") << 1 << true << "Add To-Do Item";
        QTest::newRow("on the header") << 0 << false << "Add To-Do Item";
        QTest::newRow("below the items") << -1 << false << "Add To-Do Item";
        QTest::newRow("Enter on an item") << 9 << false << "Edit To-Do Item";
    }
    void doubleClickAndEnter()
    {
        QFETCH(int, row);
        QFETCH(bool, gone);
        QFETCH(QString, caption);
        TestData data;
        const auto id = addItem(data, QStringLiteral("item"));
        Main main(data);
        if (gone) {
            store::RecordSet items(data.db(), names::ToDo);
            QVERIFY(items.moveToRecord(id) && items.deleteCurrent().ok);
        }
        if (row == 9) {
            main.key(Qt::Key_Return);
        } else {
            const QPoint at = row >= 0 ? main.grid->cellRect(row, 0).center()
                                       : QPoint(5, main.grid->table()->viewport()->height() - 5);
            QTest::mouseDClick(main.area(row), Qt::LeftButton, {}, at);
        }
        QTRY_VERIFY(main.editor());
        QCOMPARE(main.editor()->windowTitle(), caption);
        QCOMPARE(main.commands(), QStringLiteral("off"));
    }

    void editorAddsAndTheListFollows()
    {
        TestData data;
        addItem(data, QStringLiteral("first"));
        Main main(data);
        main.button("cmdAddToDoTask");
        auto *txtTask = main.editor()->findChild<QLineEdit *>(QStringLiteral("txtTask"));
        QTest::keyClicks(txtTask, QStringLiteral("second"));
        // Asked again, the open editor is reused with what it holds.
        main.action("mnuFileNewToDoItem")->trigger();
        QCOMPARE(main.window.findChildren<frmAddToDo *>().size(), 1);
        QCOMPARE(txtTask->text(), QStringLiteral("second"));
        QTest::keyClick(txtTask, Qt::Key_Return);
        QCOMPARE(main.grid->rows(), 3);
        QCOMPARE(main.grid->textMatrix(2, 0) + u'|' + main.grid->textMatrix(2, 1), QStringLiteral("second|Medium"));
        QCOMPARE(main.grid->col(), 0);
        QTRY_VERIFY(!main.editor());
        main.action("mnuNewToDoItem")->trigger();
        QCOMPARE(main.editor()->findChild<QLineEdit *>(QStringLiteral("txtTask"))->text(), QString());
    }

    void layout()
    {
        TestData data;
        for (int i = 0; i < 60; ++i)
            addItem(data, QStringLiteral("item %1").arg(i));
        Main main(data);
        const QWidget *client = main.window.centralWidget();
        const QTableWidget *table = main.grid->table();
        for (const QSize size : {QSize(1024, 720), QSize(700, 500), QSize(1400, 1000)}) {
            main.window.resize(size);
            QCoreApplication::processEvents();
            const QRect grid = main.grid->geometry();
            // The right-hand column, 0.45 of the width; the buttons in a row under it.
            QVERIFY(qAbs(grid.left() - qRound(client->width() * 0.55)) <= 2);
            QVERIFY(qAbs(grid.right() + 1 - client->width()) <= 2);
            const QRect add = main.child<FlatButton>(QStringLiteral("cmdAddToDoTask"))->geometry();
            const QRect del = main.child<FlatButton>(QStringLiteral("cmdDeleteToDoTask"))->geometry();
            QCOMPARE(add.top(), grid.bottom() + 1 + 4);
            QCOMPARE(del.top(), add.top());
            QCOMPARE(del.width(), add.width());
            QVERIFY(del.right() <= grid.right() && del.bottom() < client->height());
            // Both columns fit beside the scroll bar; the header fits its column.
            QTRY_VERIFY2(!table->horizontalScrollBar()->isVisible(), "no sideways scrolling");
            QVERIFY(table->verticalScrollBar()->isVisible());
            QVERIFY(table->columnWidth(1) > table->fontMetrics().horizontalAdvance(QStringLiteral("Priority")));
        }
    }
};

BREVANE_TEST(ToDoListTests)
#include "tst_todo.moc"
