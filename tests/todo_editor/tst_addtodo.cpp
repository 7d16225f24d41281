#include "controls/flatbutton.h"
#include "store/names.h"
#include "testsupport.h"
#include "todo_editor/frmaddtodo.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace todo = store::names::todo;

namespace {

struct Editor {
    explicit Editor(TestData &data, QWidget *parent = nullptr)
        : window(new frmAddToDo(data.db(), parent)), saved(window, &frmAddToDo::saved)
    {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    ~Editor() { delete window; }
    Q_DISABLE_COPY_MOVE(Editor)

    frmAddToDo *window;
    QSignalSpy saved;
    QLineEdit *task() const { return window->findChild<QLineEdit *>(QStringLiteral("txtTask")); }
    QComboBox *box(const char *name) const { return window->findChild<QComboBox *>(QLatin1String(name)); }
    FlatButton *button(const char *name) const { return window->findChild<FlatButton *>(QLatin1String(name)); }
    void click(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
};

// Items written and read as "task|category|done|priority".
store::RecordId addItem(TestData &data, const QString &fields)
{
    const QStringList v = fields.split(u'|');
    return data.insert(names::ToDo,
                       {{todo::Task, v[0]}, {todo::Category, v[1]}, {todo::Done, v[2]}, {todo::Priority, v[3]}});
}

QString stored(TestData &data, store::RecordId id)
{
    QStringList values;
    for (const QString &field : {todo::Task, todo::Category, todo::Done, todo::Priority})
        values << data.fieldOf(names::ToDo, id, field);
    return values.join(u'|');
}

} // namespace

class AddToDoTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A modeless dialog over its opener (announced by screen readers); at most 250 characters.
    void addsWithTheChosenFields()
    {
        TestData data;
        QWidget main;
        main.setGeometry(400, 300, 900, 700);
        main.show();
        Editor editor(data, &main);
        editor.window->openForAdd();
        QCOMPARE(QAccessible::queryAccessibleInterface(editor.window)->role(), QAccessible::Dialog);
        QVERIFY(!editor.window->isModal() && main.frameGeometry().contains(editor.window->frameGeometry().center()));
        QCOMPARE(editor.window->windowTitle(), QStringLiteral("Add To-Do Item"));
        QCOMPARE(editor.box("cmbDone")->currentText() + editor.box("cmbPriority")->currentText(), QStringLiteral("NoMedium"));
        QVERIFY(!editor.box("cmbDone")->isEnabled() && !editor.button("cmdSave")->isEnabled());
        QVERIFY(!editor.window->hasUnsavedChanges());
        editor.task()->insert(QString(251, u'a'));
        QCOMPARE(editor.task()->text(), QString(250, u'a'));
        editor.task()->clear();
        QTest::keyClicks(editor.task(), QStringLiteral(" Buy milk "));
        QVERIFY(editor.button("cmdSave")->isEnabled() && editor.window->hasUnsavedChanges());
        editor.box("cmbCategory")->setCurrentIndex(12);
        editor.box("cmbPriority")->setCurrentIndex(2);
        editor.click("cmdSave");
        QVERIFY(editor.saved.size() == 1 && !editor.window->isVisible());
        QCOMPARE(stored(data, 1), QStringLiteral(" Buy milk |Work|No|3"));
    }

    // Only the exact text is a duplicate: letter case and trailing blanks count.
    void duplicateRefusedOnAdd()
    {
        TestData data;
        addItem(data, QStringLiteral("Buy milk||Yes|1"));
        Editor editor(data);
        for (const QString &typed : {QStringLiteral("buy milk"), QStringLiteral("Buy milk "), QStringLiteral("Buy milk")}) {
            editor.window->openForAdd();
            editor.task()->setText(typed);
            QTest::keyClick(editor.task(), Qt::Key_Return);
        }
        QVERIFY(data.countOf(names::ToDo) == 3 && editor.window->isVisible());
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("The to-do item 'Buy milk' already exists.  This item cannot be saved.")});
        QCOMPARE(editor.task()->selectedText(), QStringLiteral("Buy milk"));
    }

    // One window reused: edit writes its own record among twins, Reset stays in edit mode, add is not done,
    // and an item without done flag or priority shows "No" and none and keeps both empty.
    void editResetAndReuse()
    {
        TestData data;
        const auto first = addItem(data, QStringLiteral("Buy milk|Work|No|1"));
        const auto second = addItem(data, QStringLiteral("Buy milk|Travel|Yes|3"));
        addItem(data, QStringLiteral("Call Ann||No|2"));
        const auto bare = addItem(data, QStringLiteral("REMINDER: Dentist|Appointment||"));
        Editor editor(data);
        QVERIFY(editor.window->openForEdit(second) == frmAddToDo::Opened::Shown);
        QVERIFY(editor.box("cmbDone")->isEnabled());
        QCOMPARE(editor.window->windowTitle() + editor.box("cmbPriority")->currentText(), QStringLiteral("Edit To-Do ItemLow"));
        editor.click("cmdReset");
        QCOMPARE(editor.window->windowTitle() + editor.task()->text(), QStringLiteral("Edit To-Do Item"));
        QTest::keyClick(editor.task(), Qt::Key_Return);
        QVERIFY2(editor.saved.isEmpty(), "an empty text is never saved");
        QTest::keyClicks(editor.task(), QStringLiteral("Call Ann"));
        editor.click("cmdSave");
        QCOMPARE(stored(data, second) + u'/' + stored(data, first), QStringLiteral("Call Ann||Yes|2/Buy milk|Work|No|1"));
        QVERIFY(data.desktop().messages.isEmpty());

        editor.window->openForAdd();
        QCOMPARE(editor.window->windowTitle() + editor.box("cmbDone")->currentText(), QStringLiteral("Add To-Do ItemNo"));
        editor.task()->setText(QStringLiteral("Pay rates"));
        editor.click("cmdSave");
        QCOMPARE(stored(data, second) + u'/' + stored(data, bare + 1), QStringLiteral("Call Ann||Yes|2/Pay rates||No|2"));

        QVERIFY(editor.window->openForEdit(second) == frmAddToDo::Opened::Shown);
        QVERIFY(editor.window->openForEdit(bare) == frmAddToDo::Opened::Shown);
        QVERIFY(editor.box("cmbDone")->currentText() == QLatin1String("No") && editor.box("cmbPriority")->currentIndex() == -1);
        editor.task()->setText(QStringLiteral("REMINDER: Dentist at ten"));
        editor.click("cmdSave");
        QCOMPARE(stored(data, bare), QStringLiteral("REMINDER: Dentist at ten|Appointment||"));
    }

    // A refused or failed save keeps file and input; too long a text (put in by accessibility) is never cut.
    void saveFailureKeepsTheInput_data()
    {
        QTest::addColumn<QString>("how"); // mode, then what goes wrong
        QTest::addColumn<QString>("message");
        const QString tooLong = QStringLiteral("The task may be at most 250 characters long.  Please shorten it.");
        QTest::newRow("add refused by the file") << "add fail" << "The to-do item could not be saved: ";
        QTest::newRow("edit refused by the file") << "edit fail" << "The to-do item could not be saved: ";
        QTest::newRow("edited item deleted") << "edit delete" << "This to-do item no longer exists.  It may have been deleted.";
        QTest::newRow("added text too long") << "add long" << tooLong;
        QTest::newRow("edited text too long") << "edit long" << tooLong;
    }
    void saveFailureKeepsTheInput()
    {
        QFETCH(QString, how);
        QFETCH(QString, message);
        const bool deleted = how.endsWith(QLatin1String("delete"));
        const QString typed = how.endsWith(QLatin1String("long")) ? QString(10000, u'a') : QStringLiteral("Water the plants");
        TestData data;
        const auto id = addItem(data, QStringLiteral("Pay rent||No|1"));
        Editor editor(data);
        QVERIFY(how.startsWith(QLatin1String("add")) ? (editor.window->openForAdd(), true)
                                                  : editor.window->openForEdit(id) == frmAddToDo::Opened::Shown);
        QAccessible::queryAccessibleInterface(editor.task())->setText(QAccessible::Value, typed);
        if (deleted)
            QVERIFY(store::ToDoRepository(data.db()).remove(id).ok);
        else if (how.endsWith(QLatin1String("fail")))
            data.failWrites(names::ToDo);
        editor.click("cmdSave");
        const QStringList shown = data.desktop().messageTexts();
        QVERIFY2(shown.size() == 1 && shown[0].startsWith(message), qPrintable(shown.join(u'/')));
        QVERIFY(editor.saved.isEmpty() && editor.window->isVisible() && editor.task()->text() == typed);
        QCOMPARE(data.countOf(names::ToDo), deleted ? 0 : 1);
        QCOMPARE(stored(data, id), deleted ? QStringLiteral("<no record>|<no record>|<no record>|<no record>")
                                           : QStringLiteral("Pay rent||No|1"));
    }

    // Only what the user changed is written; a change made meanwhile is overwritten only on Yes.
    void editWritesOnlyWhatChanged_data()
    {
        QTest::addColumn<QString>("elsewhere"); // changed meanwhile
        QTest::addColumn<QString>("answer");    // to the question, if asked
        QTest::addColumn<QString>("expected");  // stored afterwards
        QTest::newRow("values the lists lack") << "" << "" << "Buy oat milk|Groceries|Maybe|7";
        QTest::newRow("done meanwhile, save") << "done" << "Yes" << "Buy oat milk|Groceries|Yes|7";
        QTest::newRow("priority meanwhile, don't") << "priority" << "No" << "Buy milk|Groceries|Maybe|1";
    }
    void editWritesOnlyWhatChanged()
    {
        QFETCH(QString, elsewhere);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        TestData data;
        const auto id = addItem(data, QStringLiteral("Buy milk|Groceries|Maybe|7"));
        Editor editor(data);
        QVERIFY(editor.window->openForEdit(id) == frmAddToDo::Opened::Shown);
        editor.task()->setText(QStringLiteral("Buy oat milk"));
        store::ToDoItem meanwhile{id, {}, {}, true, 1};
        if (!elsewhere.isEmpty())
            QVERIFY(store::ToDoRepository(data.db()).update(meanwhile, elsewhere == QLatin1String("done") ? store::ToDoField::Done : store::ToDoField::Priority).ok);
        data.desktop().queueAnswer(answer == QLatin1String("No") ? Desktop::Answer::No : Desktop::Answer::Yes);
        editor.click("cmdSave");
        QCOMPARE(data.desktop().messageTexts(),
                 answer.isEmpty() ? QStringList()
                                  : QStringList{QStringLiteral("This item was changed elsewhere since you opened it.  "
                                                               "Save your version anyway?")});
        QCOMPARE(stored(data, id), expected);
        // Answering No keeps the window open with the input.
        QVERIFY(editor.window->isVisible() == (answer == QLatin1String("No")) && editor.window->hasUnsavedChanges() == editor.window->isVisible());
    }
};

BREVANE_TEST(AddToDoTests)
#include "tst_addtodo.moc"
