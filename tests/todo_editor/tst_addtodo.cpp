#include "controls/flatbutton.h"
#include "core/organizer.h"
#include "store/names.h"
#include "testsupport.h"
#include "todo_editor/frmaddtodo.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace todo = store::names::todo;

namespace {

struct Editor {
    explicit Editor(TestData &data) : window(new frmAddToDo(data.db())), saved(window, &frmAddToDo::saved)
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

store::RecordId addItem(TestData &data, const QString &task, const QString &category, const QString &done,
                        const QString &priority)
{
    return data.insert(names::ToDo,
                       {{todo::Task, task}, {todo::Category, category}, {todo::Done, done}, {todo::Priority, priority}});
}

// "task|category|done|priority" of a record in the file.
QString stored(TestData &data, store::RecordId id)
{
    QStringList fields;
    for (const QString &field : {todo::Task, todo::Category, todo::Done, todo::Priority})
        fields << data.fieldOf(names::ToDo, id, field);
    return fields.join(u'|');
}

} // namespace

class AddToDoTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadState()
    {
        TestData data;
        Editor editor(data);
        QCOMPARE(editor.window->windowTitle(), QStringLiteral("Add To-Do Item"));
        QCOMPARE(editor.box("cmbCategory")->count(), 14);
        QCOMPARE(editor.box("cmbCategory")->itemText(0), QString());
        QCOMPARE(editor.box("cmbCategory")->currentIndex(), -1);
        QCOMPARE(editor.box("cmbDone")->currentText(), QStringLiteral("No"));
        QCOMPARE(editor.box("cmbPriority")->currentText(), QStringLiteral("Medium"));
        QVERIFY(!editor.button("cmdSave")->isEnabled());
        QCOMPARE(editor.button("cmdSave")->highlightColor(), kEdgeLightGrey);
        QTest::keyClicks(editor.task(), QStringLiteral("x"));
        QVERIFY(editor.button("cmdSave")->isEnabled());
        QCOMPARE(editor.button("cmdSave")->shadowColor(), kEdgeGrey);
    }

    void addsWithTheChosenFields_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<int>("priority");
        QTest::addColumn<QString>("expected");
        QTest::newRow("defaults") << -1 << 1 << " Buy milk ||No|2";
        QTest::newRow("empty category entry, high") << 0 << 0 << " Buy milk ||No|1";
        QTest::newRow("work, low") << 12 << 2 << " Buy milk |Work|No|3";
        QTest::newRow("no priority") << 1 << -1 << " Buy milk |Anniversary|No|0";
    }
    void addsWithTheChosenFields()
    {
        QFETCH(int, category);
        QFETCH(int, priority);
        QFETCH(QString, expected);
        TestData data;
        Editor editor(data);
        editor.window->openForAdd();
        QVERIFY(!editor.box("cmbDone")->isEnabled());
        QTest::keyClicks(editor.task(), QStringLiteral(" Buy milk "));
        editor.box("cmbCategory")->setCurrentIndex(category);
        editor.box("cmbPriority")->setCurrentIndex(priority);
        editor.click("cmdSave");
        QCOMPARE(editor.saved.size(), 1);
        QVERIFY(!editor.window->isVisible());
        QCOMPARE(stored(data, 1), expected);
    }

    void duplicateRefusedOnAdd_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("same text") << "Buy milk" << true;
        QTest::newRow("other case") << "buy milk" << false;
        QTest::newRow("trailing blank") << "Buy milk " << false;
    }
    void duplicateRefusedOnAdd()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        TestData data;
        addItem(data, QStringLiteral("Buy milk"), QString(), QStringLiteral("Yes"), QStringLiteral("1"));
        Editor editor(data);
        editor.window->openForAdd();
        QTest::keyClicks(editor.task(), typed);
        QTest::keyClick(editor.task(), Qt::Key_Return);
        QCOMPARE(data.countOf(names::ToDo), refused ? 1 : 2);
        QCOMPARE(editor.window->isVisible(), refused);
        if (refused) {
            QCOMPARE(data.desktop().messageTexts(),
                     QStringList{QStringLiteral("The to-do item 'Buy milk' already exists.  This item cannot be saved.")});
            QCOMPARE(editor.task()->selectedText(), typed);
        }
    }

    void editWritesIntoItsOwnRecord()
    {
        TestData data;
        const auto first = addItem(data, QStringLiteral("Buy milk"), QStringLiteral("Work"), QStringLiteral("No"), QStringLiteral("1"));
        const auto second = addItem(data, QStringLiteral("Buy milk"), QStringLiteral("Travel"), QStringLiteral("Yes"), QStringLiteral("3"));
        addItem(data, QStringLiteral("Call Ann"), QString(), QStringLiteral("No"), QStringLiteral("2"));
        Editor editor(data);
        QVERIFY(editor.window->openForEdit(second));
        QCOMPARE(editor.window->windowTitle(), QStringLiteral("Edit To-Do Item"));
        QVERIFY(editor.box("cmbDone")->isEnabled());
        QCOMPARE(editor.box("cmbPriority")->currentText(), QStringLiteral("Low"));
        // Another item's text is no obstacle when editing.
        editor.task()->setText(QStringLiteral("Call Ann"));
        editor.box("cmbDone")->setCurrentIndex(1);
        editor.click("cmdSave");
        QCOMPARE(stored(data, second), QStringLiteral("Call Ann|Travel|No|3"));
        QCOMPARE(stored(data, first), QStringLiteral("Buy milk|Work|No|1"));
        QVERIFY(data.desktop().messages.isEmpty());
    }

    void resetFieldsInEditMode()
    {
        TestData data;
        const auto id = addItem(data, QStringLiteral("Pay rent"), QStringLiteral("Work"), QStringLiteral("Yes"), QStringLiteral("1"));
        Editor editor(data);
        QVERIFY(editor.window->openForEdit(id));
        editor.click("cmdReset");
        QCOMPARE(editor.task()->text(), QString());
        QCOMPARE(editor.window->windowTitle(), QStringLiteral("Edit To-Do Item"));
        QTest::keyClick(editor.task(), Qt::Key_Return);
        QVERIFY2(editor.saved.isEmpty(), "an empty text is never saved");
        QTest::keyClicks(editor.task(), QStringLiteral("Pay the rent"));
        editor.click("cmdSave");
        QCOMPARE(stored(data, id), QStringLiteral("Pay the rent||Yes|2"));
    }

    void itemWithoutPriorityOrDoneFlag_data()
    {
        QTest::addColumn<bool>("reusedAfterADoneItem");
        QTest::newRow("fresh window") << false;
        QTest::newRow("window reused after a done item") << true;
    }
    void itemWithoutPriorityOrDoneFlag()
    {
        QFETCH(bool, reusedAfterADoneItem);
        TestData data;
        const auto done = addItem(data, QStringLiteral("Done already"), QString(), QStringLiteral("Yes"), QStringLiteral("1"));
        const auto id = addItem(data, QStringLiteral("REMINDER: Dentist"), QStringLiteral("Appointment"), QString(), QString());
        Editor editor(data);
        if (reusedAfterADoneItem) {
            QVERIFY(editor.window->openForEdit(done));
            QCOMPARE(editor.box("cmbDone")->currentText(), QStringLiteral("Yes"));
        }
        QVERIFY(editor.window->openForEdit(id));
        QCOMPARE(editor.box("cmbDone")->currentText(), QStringLiteral("No"));
        QCOMPARE(editor.box("cmbPriority")->currentIndex(), -1);
        editor.click("cmdSave");
        QCOMPARE(stored(data, id), QStringLiteral("REMINDER: Dentist|Appointment|No|0"));
    }

    // Reused for a new item after an edit: a new record, never done.
    void addAfterEditAddsANewRecord()
    {
        TestData data;
        const auto id = addItem(data, QStringLiteral("Pay rent"), QString(), QStringLiteral("Yes"), QStringLiteral("1"));
        Editor editor(data);
        QVERIFY(editor.window->openForEdit(id));
        editor.window->openForAdd();
        QCOMPARE(editor.window->windowTitle(), QStringLiteral("Add To-Do Item"));
        QCOMPARE(editor.box("cmbDone")->currentText(), QStringLiteral("No"));
        editor.task()->setText(QStringLiteral("Pay rates"));
        editor.click("cmdSave");
        QCOMPARE(stored(data, id), QStringLiteral("Pay rent||Yes|1"));
        QCOMPARE(stored(data, id + 1), QStringLiteral("Pay rates||No|1"));
    }

    void saveFailureKeepsTheInput_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("deleted");
        QTest::addColumn<QString>("message");
        QTest::newRow("add refused by the file") << false << false << "The to-do item could not be saved: ";
        QTest::newRow("edit refused by the file") << true << false << "The to-do item could not be saved: ";
        QTest::newRow("edited item deleted") << true << true
                                             << "This to-do item no longer exists.  It may have been deleted.";
    }
    void saveFailureKeepsTheInput()
    {
        QFETCH(bool, edit);
        QFETCH(bool, deleted);
        QFETCH(QString, message);
        TestData data;
        const auto id = addItem(data, QStringLiteral("Pay rent"), QString(), QStringLiteral("No"), QStringLiteral("1"));
        Editor editor(data);
        if (edit)
            QVERIFY(editor.window->openForEdit(id));
        else
            editor.window->openForAdd();
        editor.task()->setText(QStringLiteral("Water the plants"));
        store::RecordSet items(data.db(), names::ToDo);
        if (deleted)
            QVERIFY(items.moveToRecord(id) && items.deleteCurrent().ok);
        else
            data.failWrites(names::ToDo);
        editor.click("cmdSave");
        QCOMPARE(data.desktop().messages.size(), 1);
        QVERIFY2(data.desktop().messageTexts().first().startsWith(message), qPrintable(data.desktop().messageTexts().first()));
        QVERIFY(editor.saved.isEmpty());
        QVERIFY(editor.window->isVisible());
        QCOMPARE(editor.task()->text(), QStringLiteral("Water the plants"));
        QCOMPARE(data.countOf(names::ToDo), deleted ? 0 : 1);
        QCOMPARE(data.fieldOf(names::ToDo, id, todo::Task), deleted ? QStringLiteral("<no record>") : QStringLiteral("Pay rent"));
    }

    // Typed or pasted into the text box; the limit counts what the user sees.
    void lengthLimit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("expected");
        const QString thumb = QStringLiteral("\U0001F44D");
        const QString accented = QString(250, u'x').replace(u'x', QStringLiteral("e\u0301"));
        QTest::newRow("251st typed") << QString(251, u'a') << QString() << QString(250, u'a');
        QTest::newRow("paste cut to fit") << QString(249, u'a') << "bc" << QString(QString(249, u'a') + u'b');
        QTest::newRow("emoji as the 250th") << QString(249, u'a') << QString(thumb + thumb)
                                            << QString(QString(249, u'a') + thumb);
        QTest::newRow("accents count once") << QString() << accented << accented;
    }
    void lengthLimit()
    {
        QFETCH(QString, typed);
        QFETCH(QString, pasted);
        QFETCH(QString, expected);
        TestData data;
        Editor editor(data);
        editor.window->openForAdd();
        QTest::keyClicks(editor.task(), typed);
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(editor.task(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(editor.task()->text(), expected);
    }
};

BREVANE_TEST(AddToDoTests)
#include "tst_addtodo.moc"
