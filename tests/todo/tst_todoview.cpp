#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "store/names.h"
#include "testsupport.h"
#include "todo/todoview.h"
#include "todo_editor/frmaddtodo.h"

#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QSqlQuery>

#include <functional>

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

// The to-do list placed as the main window places it; it hands the keyboard to `elsewhere`.
class ToDoWindow : public QWidget
{
public:
    explicit ToDoWindow(store::Database &db) : m_view(new ToDoView(db, this)), m_elsewhere(new QLineEdit(this))
    {
        m_elsewhere->setObjectName(QStringLiteral("elsewhere"));
        auto *menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("mnuToDo"));
        m_view->setContextMenu(menu);
        connect(m_view, &ToDoView::focusLeaves, m_elsewhere, [this] { m_elsewhere->setFocus(); });
        resize(500, 400);
    }
    [[nodiscard]] ToDoView *view() const { return m_view; }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        m_elsewhere->setGeometry(0, 0, width(), 24);
        m_view->grid()->setGeometry(0, 30, width(), height() - 70);
        const QList<FlatButton *> buttons = m_view->buttons();
        for (int i = 0; i < buttons.size(); ++i)
            buttons.at(i)->setGeometry(i * width() / 3, height() - 32, width() / 3 - 4, 28);
        m_view->sizeColumns();
    }

private:
    ToDoView *m_view;
    QLineEdit *m_elsewhere;
};

// The list, shown and active so that focus moves as for a user.
struct Main {
    explicit Main(TestData &data) : window(data.db())
    {
        window.view()->reload();
        window.show();
        window.activateWindow();
        active = QTest::qWaitForWindowActive(&window);
        grid = window.view()->grid();
    }
    ToDoWindow window;
    Grid *grid = nullptr;
    bool active = false;

    template <typename T> T *child(const QString &name) const { return window.findChild<T *>(name); }
    QAction *action(const QString &name) const { return child<QAction>(name); }
    frmAddToDo *editor() const { return child<frmAddToDo>(QStringLiteral("frmAddToDo")); }
    QLineEdit *editorTask() const { return editor()->findChild<QLineEdit *>(QStringLiteral("txtTask")); }

    // The four selection commands are switched together: "on", "off" or "mixed".
    QString commands() const
    {
        QList<bool> state{child<QMenu>(QStringLiteral("mnuPriority"))->menuAction()->isEnabled()};
        for (const char *name : {"cmdEditToDoTask", "cmdDeleteToDoTask"})
            state << child<QWidget>(QLatin1String(name))->isEnabled();
        for (const char *name : {"mnuEditToDoItem", "mnuDeleteToDoTask", "mnuMarkAsDone"})
            state << action(QLatin1String(name))->isEnabled();
        if (state.count(state.first()) != state.size())
            return QStringLiteral("mixed");
        return state.first() ? QStringLiteral("on") : QStringLiteral("off");
    }
    void click(int row, int col = 0, Qt::MouseButton button = Qt::LeftButton) const
    {
        QTest::mouseClick(surface(row), button, {}, grid->cellRect(row, col).center());
    }
    void key(Qt::Key key) const { QTest::keyClick(grid->table(), key); }
    QWidget *surface(int row) const
    {
        return row == 0 ? grid->table()->horizontalHeader()->viewport() : grid->table()->viewport();
    }
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
        QCOMPARE(main.commands(), QStringLiteral("off"));
        main.key(Qt::Key_Delete);
        main.window.view()->editItem();
        QCOMPARE(data.desktop().messageTexts(),
                 (QStringList{QStringLiteral("Please Select A Task To Delete"), QStringLiteral("Please Select A Task To Edit")}));
        main.key(Qt::Key_Return);
        QVERIFY2(main.editor() && main.editor()->isVisible(), "Enter opens the editor");
        QCOMPARE(main.editor()->windowTitle(), QStringLiteral("Add To-Do Item"));
    }

    // Codes outside 1..3 show nothing; only "Yes" is done; long lists keep columns beside the scroll bar.
    void rowsShowTheirItems()
    {
        TestData data;
        const QList<QStringList> items{{"2", "Yes", "Medium", "struck"}, {"0", "No", "", ""}, {"4", "Yes", "", "struck"},
                                       {"", "", "", ""}, {"1", "yes", "High", ""}, {"1", "Yes ", "High", ""}};
        for (const QStringList &item : items)
            addItem(data, item[0] + u'/' + item[1], item[0], item[1]);
        for (int i = 0; i < 60; ++i)
            addItem(data, QStringLiteral("item %1").arg(i));
        Main main(data);
        QCOMPARE(main.grid->rows(), items.size() + 61);
        for (int row = 1; row <= items.size(); ++row) {
            const QStringList &item = items[row - 1];
            const bool struck = main.grid->cellStrikeThroughAt(row, 0) && main.grid->cellStrikeThroughAt(row, 1);
            QAccessibleTableInterface *cells = QAccessible::queryAccessibleInterface(main.grid->table())->tableInterface();
            for (int col = 0; col <= 1; ++col)
                QCOMPARE(cells->cellAt(row - 1, col)->text(QAccessible::Description), struck ? "done" : "");
            QCOMPARE(main.grid->textMatrix(row, 0) + u'|' + main.grid->textMatrix(row, 1) + (struck ? "|struck" : "|"),
                     item[0] + u'/' + item[1] + u'|' + item[2] + u'|' + item[3]);
        }
        const QTableWidget *table = main.grid->table();
        main.window.resize(700, 500);
        QTRY_VERIFY2(!table->horizontalScrollBar()->isVisible(), "no sideways scrolling");
        QVERIFY(table->verticalScrollBar()->isVisible());
        QVERIFY(table->columnWidth(1) > table->fontMetrics().horizontalAdvance(QStringLiteral("Priority")));
    }

    void commandsSwitchOffOnFocusLossRebuildAndHeader()
    {
        TestData data;
        addItem(data, QStringLiteral("one"));
        addItem(data, QStringLiteral("two"));
        Main main(data);
        QVERIFY(main.active);
        const auto pickThen = [&main](const std::function<void()> &event) {
            main.click(2);
            const QString before = main.commands();
            event();
            return before + u'>' + main.commands();
        };
        auto *elsewhere = main.child<QLineEdit>(QStringLiteral("elsewhere"));
        QCOMPARE(pickThen([elsewhere] { elsewhere->setFocus(); }), QStringLiteral("on>off"));
        QCOMPARE(pickThen([&main] { main.window.view()->reload(); }), QStringLiteral("on>off"));
        QCOMPARE(pickThen([&main] { main.click(0, 0, Qt::RightButton); }), QStringLiteral("on>off"));
    }

    // Twin items; the second, picked by a right click on its empty cell, gets every command.
    void commandActsOnThePickedRecord_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("failure");
        const QString notSaved = QStringLiteral("The to-do item could not be saved: ");
        QTest::newRow("delete") << "mnuDeleteToDoTask" << todo::Task << "<no record>" << QString();
        QTest::newRow("mark as done and back") << "mnuMarkAsDone" << todo::Done << "No" << QString();
        QTest::newRow("set priority") << "mnuSetPriority1" << todo::Priority << "1" << QString();
        QTest::newRow("edit") << "mnuEditToDoItem" << todo::Task << "Buy oat milk" << QString();
        QTest::newRow("delete fails") << "mnuDeleteToDoTask" << todo::Task << "Buy milk"
                                      << "The to-do item could not be deleted: ";
        QTest::newRow("mark as done fails") << "mnuMarkAsDone" << todo::Done << "" << notSaved;
        QTest::newRow("set priority fails") << "mnuSetPriority1" << todo::Priority << "" << notSaved;
    }
    void commandActsOnThePickedRecord()
    {
        QFETCH(QString, command);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QFETCH(QString, failure);
        TestData data;
        const auto first = addItem(data, QStringLiteral("Buy milk"), QStringLiteral("3"), QStringLiteral("Yes"));
        const auto second = addItem(data, QStringLiteral("Buy milk"), QString(), QString());
        Main main(data);
        main.click(1);
        QCOMPARE(main.action(QStringLiteral("mnuMarkAsDone"))->text(), QStringLiteral("Mark as Not Done"));
        main.click(2, 1, Qt::RightButton);
        QCOMPARE(main.commands() + main.action(QStringLiteral("mnuMarkAsDone"))->text(), QStringLiteral("onMark as Done"));
        QCOMPARE(main.grid->colSel(), 1);
        QCOMPARE(data.desktop().menusPopped, QList<QMenu *>{main.child<QMenu>(QStringLiteral("mnuToDo"))});
        if (!failure.isEmpty())
            data.failWrites(names::ToDo);
        main.action(command)->trigger();
        if (command == QLatin1String("mnuEditToDoItem")) {
            main.editorTask()->setText(QStringLiteral("Buy oat milk"));
            QTest::keyClick(main.editorTask(), Qt::Key_Return);
            QCOMPARE(main.grid->textMatrix(2, 0), QStringLiteral("Buy oat milk"));
        } else if (command == QLatin1String("mnuDeleteToDoTask")) {
            QCOMPARE(data.desktop().messageTexts().first(), QStringLiteral("Delete 'Buy milk' From To-Do List?"));
        } else if (command == QLatin1String("mnuMarkAsDone") && failure.isEmpty()) {
            QCOMPARE(QPoint(main.grid->row(), main.grid->colSel()), QPoint(2, 1));
            QCOMPARE(data.fieldOf(names::ToDo, second, todo::Done), QStringLiteral("Yes"));
            main.click(2);
            main.action(command)->trigger();
        }
        const QStringList messages = data.desktop().messageTexts();
        QCOMPARE(messages.size(), int(command == QLatin1String("mnuDeleteToDoTask")) + int(!failure.isEmpty()));
        if (!failure.isEmpty())
            QVERIFY2(messages.last().startsWith(failure), qPrintable(messages.last()));
        QCOMPARE(data.fieldOf(names::ToDo, second, field), expected);
        QCOMPARE(main.grid->rows(), expected == QLatin1String("<no record>") ? 2 : 3);
        QCOMPARE(data.fieldOf(names::ToDo, first, todo::Task) + data.fieldOf(names::ToDo, first, todo::Done)
                     + data.fieldOf(names::ToDo, first, todo::Priority),
                 QStringLiteral("Buy milkYes3"));
    }

    void doubleClickAndEnter_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("caption");
        QTest::newRow("double click on an item") << "item" << "Edit To-Do Item";
        QTest::newRow("item no longer exists") << "gone" << "Add To-Do Item";
        QTest::newRow("on the header") << "header" << "Add To-Do Item";
        QTest::newRow("Enter on an item") << "Enter" << "Edit To-Do Item";
    }
    void doubleClickAndEnter()
    {
        QFETCH(QString, how);
        TestData data;
        const auto id = addItem(data, QStringLiteral("item"));
        Main main(data);
        store::RecordSet items(data.db(), names::ToDo);
        if (how == QLatin1String("gone"))
            QVERIFY(items.moveToRecord(id) && items.deleteCurrent().ok);
        const int row = how == QLatin1String("header") ? 0 : 1;
        if (how == QLatin1String("Enter"))
            main.key(Qt::Key_Return);
        else
            QTest::mouseDClick(main.surface(row), Qt::LeftButton, {}, main.grid->cellRect(row, 0).center());
        QTRY_VERIFY(main.editor());
        QTEST(main.editor()->windowTitle(), "caption");
        QCOMPARE(main.commands(), QStringLiteral("off"));
    }

    void editorAddsAndTheListFollows()
    {
        TestData data;
        addItem(data, QStringLiteral("first"));
        Main main(data);
        QTest::mouseClick(main.child<FlatButton>(QStringLiteral("cmdAddToDoTask")), Qt::LeftButton);
        QTest::keyClicks(main.editorTask(), QStringLiteral("second"));
        // Asked again, the open editor is reused with what it holds.
        main.action(QStringLiteral("mnuFileNewToDoItem"))->trigger();
        QCOMPARE(main.window.findChildren<frmAddToDo *>().size(), 1);
        QCOMPARE(main.editorTask()->text(), QStringLiteral("second"));
        QTest::keyClick(main.editorTask(), Qt::Key_Return);
        QCOMPARE(main.grid->textMatrix(2, 0) + u'|' + main.grid->textMatrix(2, 1), QStringLiteral("second|Medium"));
        QTRY_VERIFY(!main.editor());
    }
    // The one editor asks before another item replaces typing not yet saved: No keeps it, Yes lets the item in.
    void editingAnotherItemKeepsUnsavedTyping()
    {
        TestData data;
        const auto first = addItem(data, QStringLiteral("first"));
        addItem(data, QStringLiteral("second"));
        Main main(data);
        main.click(1);
        main.action(QStringLiteral("mnuEditToDoItem"))->trigger();
        QTest::keyClicks(main.editorTask(), QStringLiteral(", changed"));
        for (const auto answer : {Desktop::Answer::No, Desktop::Answer::Yes}) {
            data.desktop().queueAnswer(answer);
            main.click(2);
            main.action(QStringLiteral("mnuEditToDoItem"))->trigger();
            QCOMPARE(main.editorTask()->text(), answer == Desktop::Answer::No ? "first, changed" : "second");
        }
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList(2, "The to-do item being edited has changes that are not saved.  Discard them?"));
        QCOMPARE(data.fieldOf(names::ToDo, first, todo::Task), QStringLiteral("first"));
    }

    // Keyboard moves switch the commands (the Menu key is proven with the agenda).
    void selectionCommandsFollowTheKeyboard()
    {
        TestData data;
        addItem(data, QStringLiteral("Open"));
        addItem(data, QStringLiteral("Finished"), QStringLiteral("1"), QStringLiteral("Yes"));
        Main main(data);
        main.grid->setFocus();
        QCOMPARE(main.commands(), QStringLiteral("off"));
        main.key(Qt::Key_Down);
        QCOMPARE(main.grid->row(), 2);
        QCOMPARE(main.commands(), QStringLiteral("on"));
        QCOMPARE(main.action(QStringLiteral("mnuMarkAsDone"))->text(), QStringLiteral("Mark as Not Done"));
    }

    // Items are selected by identity; a failed read is reported and the list keeps its rows.
    void showItemAndFailedRead()
    {
        TestData data;
        addItem(data, QStringLiteral("First"));
        const store::RecordId second = addItem(data, QStringLiteral("Second"));
        Main main(data);
        QVERIFY(main.window.view()->selectItem(second));
        QCOMPARE(main.commands() + QString::number(main.grid->row()), QStringLiteral("on2"));
        QVERIFY(!main.window.view()->selectItem(second + 1));

        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("DROP VIEW \"To-Do Query\"")));
        main.window.view()->reload();
        QCOMPARE(data.desktop().messages.size(), 1);
        QVERIFY(data.desktop().messages.first().text.contains(data.path()));
        QCOMPARE(main.grid->textMatrix(2, 0) + QString::number(main.grid->rows()), QStringLiteral("Second3"));

        // An item that cannot be read is reported, not replaced by an empty editor.
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("ALTER TABLE \"To Do\" RENAME TO hidden")));
        main.click(2);
        main.action(QStringLiteral("mnuEditToDoItem"))->trigger();
        QCOMPARE(data.desktop().messages.size(), 2);
        QVERIFY(!main.editor() || !main.editor()->isVisible());
    }
};

BREVANE_TEST(ToDoListTests)
#include "tst_todoview.moc"
