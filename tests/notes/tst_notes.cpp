#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "notes/frmnotes.h"
#include "store/names.h"
#include "store/noterepository.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace brevane;
using testing::TestData;
using Answer = Desktop::Answer;
namespace names = store::names;
namespace fields = store::names::notes;

namespace {

struct Notes {
    explicit Notes(TestData &data) : data(data), window(new frmNotes(data.db()))
    {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
    }
    ~Notes() { delete window; }
    Q_DISABLE_COPY_MOVE(Notes)

    TestData &data;
    frmNotes *window;
    QStringList dialogs; // "caption|title it opened with|title selected at the end"

    QComboBox *box() const { return window->findChild<QComboBox *>(QStringLiteral("cmbNote")); }
    QPlainTextEdit *text() const { return window->findChild<QPlainTextEdit *>(QStringLiteral("txtNote")); }
    FlatButton *button(const char *name) const { return window->findChild<FlatButton *>(QLatin1String(name)); }
    void click(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    void type(const QString &typed) const
    {
        QTest::keyClick(text(), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(text(), typed);
    }
    // Chooses an entry, as a click in the open list does.
    void choose(int row) const
    {
        box()->setCurrentIndex(row);
        Q_EMIT box()->activated(row);
    }
    QString entries() const
    {
        QStringList list;
        for (int i = 0; i < box()->count(); ++i)
            list << box()->itemText(i);
        return list.join(u'/');
    }
    // Delete, Rename and Save: "1" enabled, "0" disabled.
    QString buttons() const
    {
        QString states;
        for (const char *name : {"cmdDelete", "cmdRename", "cmdSave"})
            states += button(name)->isEnabled() ? u'1' : u'0';
        return states;
    }
    // Each next title dialog is answered by typing this title and Enter.
    void answerDialogs(const QString &typed)
    {
        data.desktop().onModal([this, typed](QDialog *dialog) {
            auto *title = dialog->findChild<QLineEdit *>(QStringLiteral("txtTitle"));
            const QString preset = title->text();
            title->setText(typed);
            QTest::keyClick(title, Qt::Key_Return);
            dialogs << QStringList{dialog->windowTitle(), preset, title->selectedText()}.join(u'|');
            return dialog->result();
        });
    }
};

store::RecordId addNote(TestData &data, const QString &stored, const QString &text)
{
    return data.insert(names::Notes, {{fields::Title, stored}, {fields::Note, text}});
}

} // namespace

class NotesTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Through New and "Add New Note": a trailing blank or another case is another note; the same title is refused.
    void createEditSaveReopen()
    {
        TestData data;
        Notes notes(data);
        notes.answerDialogs(QStringLiteral("Shopping"));
        notes.click("cmdNew");
        QCOMPARE(notes.box()->currentText(), QStringLiteral("Shopping"));
        QVERIFY(notes.text()->isEnabled() && notes.text()->toPlainText().isEmpty());
        QCOMPARE(notes.buttons(), QStringLiteral("110"));
        notes.type(QStringLiteral("milk"));
        QCOMPARE(notes.buttons(), QStringLiteral("111"));
        notes.click("cmdSave");
        QCOMPARE(data.fieldOf(names::Notes, 1, fields::Title) + data.fieldOf(names::Notes, 1, fields::Note), QStringLiteral("Shopping   milk"));

        for (const QString &title : {QStringLiteral("Shopping "), QStringLiteral("shopping"), QStringLiteral("Shopping")}) {
            notes.answerDialogs(title);
            notes.choose(1);
        }
        QCOMPARE(data.fieldOf(names::Notes, 2, fields::Title) + u'/' + data.fieldOf(names::Notes, 3, fields::Title),
                 QStringLiteral("Shopping    /shopping   "));
        QCOMPARE(data.countOf(names::Notes), 3);
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("The note 'Shopping' already exists.  Please choose another name.")});
        QVERIFY(notes.dialogs.constLast() == QLatin1String("New Note||Shopping") && !notes.text()->isEnabled());
        notes.choose(notes.box()->findText(QStringLiteral("Shopping")));
        QCOMPARE(notes.text()->toPlainText(), QStringLiteral("milk"));
    }

    // Renaming reopens the stored text; two notes then sharing a title each open their own text.
    void renameAndSharedTitles()
    {
        TestData data;
        const auto first = addNote(data, QStringLiteral("A   "), QStringLiteral("first text"));
        addNote(data, QStringLiteral("B   "), QStringLiteral("second text"));
        Notes notes(data);
        notes.choose(3);
        notes.type(QStringLiteral(" typed"));
        notes.answerDialogs(QStringLiteral("B"));
        notes.click("cmdRename");
        QCOMPARE(notes.dialogs, QStringList{QStringLiteral("Rename Note|A|")});
        QCOMPARE(data.fieldOf(names::Notes, first, fields::Title), QStringLiteral("B   "));
        QCOMPARE(notes.window->openNote(), first);
        QCOMPARE(notes.text()->toPlainText() + notes.buttons(), QStringLiteral("first text110"));
        QVERIFY(notes.entries().endsWith(QLatin1String(":/B/B")));
        QStringList opened;
        for (int row : {3, 4}) {
            notes.choose(row);
            opened << notes.text()->toPlainText();
        }
        opened.sort();
        QCOMPARE(opened, (QStringList{QStringLiteral("first text"), QStringLiteral("second text")}));
    }

    // Delete removes a saved note after asking; with typed changes it says so and keeps everything.
    void deleteOnlySavedNotes()
    {
        TestData data;
        addNote(data, QStringLiteral(" Gifts   "), QStringLiteral("scarf"));
        Notes notes(data);
        notes.choose(3);
        notes.type(QStringLiteral("!"));
        notes.click("cmdDelete");
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("Save or discard your changes to 'Gifts' before deleting it.")});
        QVERIFY(notes.text()->toPlainText() == QLatin1String("scarf!") && notes.window->hasUnsavedChanges());

        notes.choose(3);
        data.desktop().clearRecords();
        data.desktop().queueAnswer(Answer::No);
        notes.click("cmdDelete");
        QCOMPARE(data.countOf(names::Notes), 1);
        notes.click("cmdDelete");
        QCOMPARE(data.desktop().messageTexts(), QStringList(2, QStringLiteral("Delete 'Gifts'?")));
        QCOMPARE(data.countOf(names::Notes), 0);
        notes.choose(3); // "   No Saved Notes" opens nothing
        QVERIFY(notes.entries().endsWith(QLatin1String("/   No Saved Notes")) && notes.buttons() == QLatin1String("000"));
        QVERIFY(notes.box()->currentIndex() == 0 && !notes.text()->isEnabled());
    }

    // Choosing another title drops typing unasked; New and closing ask, unless the note was emptied.
    void unsavedChanges_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("stored");
        QTest::newRow("choose another") << "choose" << 0 << "" << "one";
        QTest::newRow("New, No") << "new" << int(Answer::No) << "Save Current Note?" << "one";
        QTest::newRow("New, Yes") << "new" << int(Answer::Yes) << "Save Current Note?" << "one more";
        QTest::newRow("close, No") << "close" << int(Answer::No) << "Save changes to 'One'?" << "one";
        QTest::newRow("close, Yes") << "close" << int(Answer::Yes) << "Save changes to 'One'?" << "one more";
        QTest::newRow("emptied, close") << "empty" << 0 << "" << "one";
        for (const char *key : {"A", "Shift+Down", "Alt+Up", "Ctrl+Home"}) // in the closed list: nothing chosen, nothing dropped
            QTest::newRow(key) << QStringLiteral("key ") + QLatin1String(key) << 0 << "" << "one";
    }
    void unsavedChanges()
    {
        QFETCH(QString, action);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QString, stored);
        TestData data;
        const auto one = addNote(data, QStringLiteral("One   "), QStringLiteral("one"));
        addNote(data, QStringLiteral("Two   "), QStringLiteral("two"));
        Notes notes(data);
        notes.choose(3);
        notes.type(QStringLiteral(" more"));
        data.desktop().queueAnswer(Answer(answer));
        if (action == QLatin1String("choose")) {
            notes.choose(4);
            const QString other = notes.text()->toPlainText();
            notes.choose(3);
            QCOMPARE(other + notes.text()->toPlainText(), QStringLiteral("twoone"));
        } else if (action == QLatin1String("new")) {
            notes.click("cmdNew");
            QCOMPARE(data.desktop().modalsShown.size(), 1);
        } else if (action.startsWith(QLatin1String("key"))) {
            QTest::keySequence(notes.box(), QKeySequence(action.mid(4)));
            QVERIFY(notes.window->hasUnsavedChanges() && data.desktop().modalsShown.isEmpty() && QApplication::activePopupWidget());
        } else {
            if (action == QLatin1String("empty"))
                notes.text()->selectAll(), QTest::keyClick(notes.text(), Qt::Key_Delete);
            QVERIFY(notes.window->close());
        }
        QCOMPARE(data.desktop().messageTexts(), question.isEmpty() ? QStringList() : QStringList{question});
        QCOMPARE(data.fieldOf(names::Notes, one, fields::Note), stored);
    }

    // Typing or pasting past 32000 characters is refused whole.
    void textLimit()
    {
        TestData data;
        addNote(data, QStringLiteral("One   "), QString());
        Notes notes(data);
        notes.choose(3);
        const QString accented = QStringLiteral("e\u0301");
        QApplication::clipboard()->setText(accented.repeated(32001));
        QTest::keyClick(notes.text(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(notes.text()->toPlainText(), QString());
        QApplication::clipboard()->setText(accented.repeated(31999));
        QTest::keyClick(notes.text(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClicks(notes.text(), QStringLiteral("ab"));
        QCOMPARE(notes.text()->toPlainText(), accented.repeated(31999) + u'a');
        QCOMPARE(data.desktop().beeps(), 2);
    }

    // Narrow or wide, the toolbar keeps its buttons inside the window.
    void toolbarLayout()
    {
        TestData data;
        Notes notes(data);
        notes.window->show();
        for (const int clientTwips : {4800, 9000}) {
            notes.window->resize(twips::toPixels(notes.window, clientTwips), 400);
            for (const char *name : {"cmdNew", "cmdClose"}) {
                const QRect shown(notes.button(name)->mapTo(notes.window, QPoint()), notes.button(name)->size());
                QVERIFY2(notes.window->rect().contains(shown), name);
            }
        }
    }

    // A failed write is reported; the window keeps the text and does not claim it was saved.
    void failedWrites_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("message");
        QTest::newRow("save") << "save" << "The note could not be saved: ";
        QTest::newRow("close") << "close" << "The note could not be saved: ";
        QTest::newRow("New, Yes") << "new" << "The note could not be saved: ";
        QTest::newRow("delete") << "delete" << "The note could not be deleted: ";
    }
    void failedWrites()
    {
        QFETCH(QString, action);
        QFETCH(QString, message);
        const bool typed = action != QLatin1String("delete");
        TestData data;
        const auto one = addNote(data, QStringLiteral("One   "), QStringLiteral("one"));
        Notes notes(data);
        notes.choose(3);
        if (typed)
            notes.type(QStringLiteral(" more"));
        data.failWrites(names::Notes);
        if (action == QLatin1String("close"))
            QVERIFY(!notes.window->close());
        else
            notes.click(action == QLatin1String("save") ? "cmdSave" : action == QLatin1String("new") ? "cmdNew" : "cmdDelete");
        const QString shown = data.desktop().messageTexts().constLast();
        QVERIFY2(shown.startsWith(message), qPrintable(shown));
        QVERIFY(data.desktop().modalsShown.isEmpty());
        QVERIFY(notes.window->openNote() == one && notes.window->hasUnsavedChanges() == typed);
        QCOMPARE(notes.text()->toPlainText(), typed ? QStringLiteral("one more") : QStringLiteral("one"));
        QCOMPARE(data.countOf(names::Notes), 1);
    }

    // The dialog reports a refused write and stays open; nothing changes.
    void dialogWriteFailures()
    {
        TestData data;
        addNote(data, QStringLiteral("One   "), QStringLiteral("one"));
        Notes notes(data);
        data.failWrites(names::Notes);
        notes.answerDialogs(QStringLiteral("Two"));
        notes.choose(1);
        notes.choose(3);
        notes.click("cmdRename");
        QCOMPARE(notes.dialogs, (QStringList{QStringLiteral("New Note||"), QStringLiteral("Rename Note|One|")}));
        const QStringList shown = data.desktop().messageTexts();
        QVERIFY2(shown.size() == 2 && shown[1].startsWith(QLatin1String("The note could not be renamed: ")), qPrintable(shown.join(u'/')));
        QVERIFY(notes.entries().endsWith(QLatin1String(":/One")));
    }

    // A title without trailing blanks is read as stored; a gone note is reported, never written.
    void repositoryReportsAGoneNote()
    {
        TestData data;
        store::NoteRepository notes(data.db());
        const auto id = addNote(data, QStringLiteral("Alpha"), QString());
        QCOMPARE(notes.byId(id).value->title, QStringLiteral("Alpha"));
        QVERIFY(notes.remove(id).ok && notes.byId(id).ok() && !notes.byId(id).value);
        QVERIFY(!notes.update({id, {}, {}}).ok && !notes.remove(id).ok);
    }
};

BREVANE_TEST(NotesTests)
#include "tst_notes.moc"
