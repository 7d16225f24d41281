#include "controls/flatbutton.h"
#include "fakenavigation.h"
#include "quick_links/frmquicklinks.h"
#include "store/names.h"
#include "store/quicklinkrepository.h"
#include "testsupport.h"

#include <QLineEdit>
#include <QListView>
#include <QPushButton>

using namespace brevane;
using testing::FakeNavigation;
using testing::TestData;
namespace names = store::names;
using Answer = Desktop::Answer;
using Mode = frmQuickLinks::Mode;

namespace {

const QString kPathMessage = QStringLiteral("There is already a quick link to open this program.");

store::RecordId addLink(TestData &data, const QString &nameAndPath)
{
    const QStringList v = nameAndPath.split(u'|');
    return data.insert(names::QuickLinks,
                       {{names::quicklinks::ProgramName, v[0]}, {names::quicklinks::ProgramPath, v[1]}});
}

// Every link in list order, as "name|path".
QStringList stored(TestData &data)
{
    QStringList links;
    const auto all = store::QuickLinkRepository(data.db()).all();
    for (const store::QuickLink &link : *all.value)
        links << link.name + u'|' + link.path;
    return links;
}

struct Manager {
    explicit Manager(TestData &data) : window(new frmQuickLinks(data.db(), navigation))
    {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }
    ~Manager() { delete window; }
    Q_DISABLE_COPY_MOVE(Manager)

    FakeNavigation navigation;
    frmQuickLinks *window;
    QLineEdit *box(const char *name) const { return window->findChild<QLineEdit *>(QLatin1String(name)); }
    QListView *list() const { return window->findChild<QListView *>(QStringLiteral("lstQuickLinks")); }
    QPushButton *button(const char *name) const { return window->findChild<QPushButton *>(QLatin1String(name)); }
    bool enabled(const char *name) const { return button(name)->isEnabled(); }
    void click(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    void select(int row) const { list()->setCurrentIndex(list()->model()->index(row, 0)); }
    void type(const QString &name, const QString &path) const
    {
        box("txtName")->setText(name);
        box("txtPath")->setText(path);
    }
};

} // namespace

class QuickLinksTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A new link from an empty list, path from the chooser, trimmed; Cancel leaves the path.
    void addsALink()
    {
        TestData data;
        Manager m(data);
        QCOMPARE(m.list()->model()->rowCount(), 0);
        QVERIFY(!m.enabled("cmdEdit") && !m.enabled("cmdDelete") && m.enabled("cmdAddNew"));
        m.window->cmdAddNew_Click();
        QVERIFY2(m.box("txtName")->hasFocus() && m.box("txtPath")->isEnabled(), "New opens the boxes");
        QTest::keyClicks(m.box("txtName"), QStringLiteral("Editor"));
        data.desktop().queueChosenFile(QStringLiteral("  /usr/bin/gedit "));
        m.click("cmdBrowse");
        m.click("cmdBrowse"); // cancelled
        QCOMPARE(m.box("txtPath")->text(), QStringLiteral("/usr/bin/gedit"));
        QVERIFY(m.enabled("cmdSave"));
        QTest::keyClick(m.box("txtPath"), Qt::Key_Return);
        QCOMPARE(stored(data), QStringList{QStringLiteral("Editor|/usr/bin/gedit")});
        QVERIFY(m.navigation.quickLinkReloads == 1 && m.window->mode() == Mode::Browsing && data.desktop().messages.isEmpty());
        QVERIFY(!m.box("txtName")->isEnabled() && !m.enabled("cmdSave") && m.enabled("cmdEdit"));
    }

    void duplicatesOnAdd_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("offending");
        // The list holds Alpha|/a and Beta|/b, in that order.
        QTest::newRow("same path") << "Gamma" << "/b" << kPathMessage << "txtPath";
        QTest::newRow("same name") << "Beta" << "/c"
                                   << "There is already a quick link named 'Beta'.  Please enter a different name."
                                   << "txtName";
        QTest::newRow("one link, both") << "Beta" << "/b" << kPathMessage << "txtPath";
        QTest::newRow("name of the first, path of the second")
            << "Alpha" << "/b" << "There is already a quick link named 'Alpha'.  Please enter a different name."
            << "txtName";
        QTest::newRow("path of the first, name of the second") << "Beta" << "/a" << kPathMessage << "txtPath";
        QTest::newRow("letter case differs") << "alpha" << "/A" << QString() << QString();
    }

    void duplicatesOnAdd()
    {
        QFETCH(QString, name);
        QFETCH(QString, path);
        QFETCH(QString, message);
        QFETCH(QString, offending);
        TestData data;
        addLink(data, QStringLiteral("Beta|/b"));
        addLink(data, QStringLiteral("Alpha|/a"));
        Manager m(data);
        m.window->cmdAddNew_Click();
        m.type(name, path);
        m.click("cmdSave");
        QCOMPARE(data.desktop().messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(stored(data).size(), message.isEmpty() ? 3 : 2);
        QCOMPARE(m.window->mode(), message.isEmpty() ? Mode::Browsing : Mode::Adding);
        if (message.isEmpty())
            return;
        QLineEdit *box = m.box(qPrintable(offending));
        QVERIFY2(box->hasFocus() && box->selectedText() == box->text(), "the offending box is selected");
    }

    // Editing to another link's name is allowed; the link stays selected where it sorts.
    void editsALink()
    {
        TestData data;
        addLink(data, QStringLiteral("Alpha|/a"));
        addLink(data, QStringLiteral("Beta|/b"));
        Manager m(data);
        m.select(1);
        QTest::keyClick(m.list(), Qt::Key_Return);
        QCOMPARE(m.window->mode(), Mode::Editing);
        QVERIFY(!m.enabled("cmdSave") && !m.enabled("cmdDelete") && m.box("txtName")->isEnabled());
        m.box("txtName")->setText(QStringLiteral("Alpha"));
        m.click("cmdSave");
        QVERIFY(data.desktop().messages.isEmpty() && m.navigation.quickLinkReloads == 1);
        QCOMPARE(stored(data), (QStringList{QStringLiteral("Alpha|/a"), QStringLiteral("Alpha|/b")}));
        QCOMPARE(m.box("txtPath")->text(), QStringLiteral("/b"));
    }

    // No keeps the link; Yes (by the Delete key) removes exactly the selected one.
    void deletesALink()
    {
        TestData data;
        addLink(data, QStringLiteral("Alpha|/a"));
        addLink(data, QStringLiteral("Alpha|/b"));
        Manager m(data);
        m.select(1);
        data.desktop().queueAnswer(Answer::No);
        m.click("cmdDelete");
        QVERIFY(stored(data).size() == 2 && m.navigation.quickLinkReloads == 0);
        data.desktop().queueAnswer(Answer::Yes);
        QTest::keyClick(m.list(), Qt::Key_Delete);
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList(2, QStringLiteral("Delete 'Alpha' from your Quick Links?")));
        QCOMPARE(stored(data), QStringList{QStringLiteral("Alpha|/a")});
        QVERIFY(m.navigation.quickLinkReloads == 1 && !m.enabled("cmdDelete") && !m.enabled("cmdEdit"));
    }

    void closeQuestions_data()
    {
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<Answer>("answer");
        const QString edit = QStringLiteral("Closing this form will cancel the edit operation.  "
                                            "Are you sure you want to close the form?");
        const QString add = QStringLiteral("Closing this form will cancel the add operation.  "
                                           "Are you sure you want to close this form?");
        QTest::addColumn<QString>("question");
        QTest::newRow("browsing") << Mode::Browsing << Answer::No << QString();
        QTest::newRow("editing, yes") << Mode::Editing << Answer::Yes << edit;
        QTest::newRow("adding, no") << Mode::Adding << Answer::No << add;
    }

    void closeQuestions()
    {
        QFETCH(Mode, mode);
        QFETCH(Answer, answer);
        QFETCH(QString, question);
        TestData data;
        addLink(data, QStringLiteral("Alpha|/a"));
        Manager m(data);
        if (mode == Mode::Adding)
            m.window->cmdAddNew_Click();
        else if (mode == Mode::Editing)
            m.click("cmdEdit");
        QCOMPARE(m.window->hasUnsavedChanges(), mode != Mode::Browsing);
        // File > New > "Quick Link" reaches New while the window is busy: the work stays.
        m.box("txtPath")->setText(QStringLiteral("/typed"));
        mode != Mode::Browsing ? m.window->cmdAddNew_Click() : void();
        QVERIFY(m.window->mode() == mode && m.box("txtPath")->text() == QLatin1String("/typed"));
        data.desktop().queueAnswer(answer);
        m.click("cmdClose");
        QCOMPARE(data.desktop().messageTexts(), question.isEmpty() ? QStringList() : QStringList{question});
        const bool closes = question.isEmpty() || answer == Answer::Yes;
        QCOMPARE(m.window->isVisible(), !closes);
        QCOMPARE(m.navigation.quickLinkReloads, closes ? 1 : 0);
    }

    // A refused write is reported, and the boxes keep what the user typed.
    void failedWriteReported()
    {
        TestData data;
        data.failWrites(names::QuickLinks);
        Manager m(data);
        m.window->cmdAddNew_Click();
        m.type(QStringLiteral("Editor"), QStringLiteral("/usr/bin/gedit"));
        m.click("cmdSave");
        QCOMPARE(data.desktop().messages.size(), 1);
        QVERIFY(data.desktop().messages.constFirst().text.contains(QStringLiteral("disk I/O error")));
        QVERIFY(m.window->mode() == Mode::Adding && m.enabled("cmdSave") && stored(data).isEmpty());
        QCOMPARE(m.box("txtName")->text(), QStringLiteral("Editor"));
    }
};

BREVANE_TEST(QuickLinksTests)
#include "tst_quicklinks.moc"
