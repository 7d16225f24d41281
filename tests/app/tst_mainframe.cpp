#include "app/frmmain.h"
#include "controls/flatbutton.h"
#include "store/names.h"
#include "testsupport.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

using namespace brevane;
using testing::TestData;
namespace names = store::names;

namespace {

void setTrayOption(TestData &data, const QString &value)
{
    store::RecordSet options(data.db(), names::Options);
    options.moveFirst();
    options.edit();
    options.setField(names::options::MinimizeToSystemTray, value);
    QVERIFY(options.update().ok);
}

void addQuickLink(TestData &data, const QString &name, const QString &path)
{
    data.insert(names::QuickLinks, {{names::quicklinks::ProgramName, name}, {names::quicklinks::ProgramPath, path}});
}

// "Caption" for an action, "—" for a separator; hidden entries in brackets.
QStringList entries(const QMenu *menu)
{
    QStringList list;
    for (const QAction *action : menu->actions()) {
        QString text = action->isSeparator() ? QStringLiteral("—") : action->text().remove(u'&');
        if (!action->isVisible())
            text = u'[' + text + u']';
        list << text;
    }
    return list;
}

QStringList comboItems(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class MainFrameTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void titleKeepsTheStartDate()
    {
        TestData data(QDate(2003, 3, 5));
        frmMain window(data.db());
        window.load();
        QCOMPARE(window.windowTitle(), QStringLiteral("Brevane Organizer - March 5, 2003"));
        data.desktop().setToday(QDate(2003, 3, 6));
        window.loadQuickLinks();
        QCOMPARE(window.windowTitle(), QStringLiteral("Brevane Organizer - March 5, 2003"));
        QCOMPARE(window.priorityNames, (QStringList{QStringLiteral("High"), QStringLiteral("Medium"), QStringLiteral("Low")}));
    }

    void menuTree_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("File") << QStringLiteral("mnuFile")
                              << QStringList{QStringLiteral("New"), QStringLiteral("[Print]"), QStringLiteral("—"),
                                             QStringLiteral("Exit Brevane Organizer")};
        QTest::newRow("File > New") << QStringLiteral("mnuFileNew")
                                    << QStringList{QStringLiteral("Agenda Task"), QStringLiteral("To-Do Item"), QStringLiteral("—"),
                                                   QStringLiteral("Contact"), QStringLiteral("Note"), QStringLiteral("Quick Link")};
        QTest::newRow("Agenda") << QStringLiteral("mnuAgenda")
                                << QStringList{QStringLiteral("New Task"), QStringLiteral("—"), QStringLiteral("Edit Task"),
                                               QStringLiteral("Delete Task"), QStringLiteral("—"), QStringLiteral("Reminder")};
        QTest::newRow("Reminder") << QStringLiteral("mnuReminder")
                                  << QStringList{QStringLiteral("None"), QStringLiteral("1 Day"), QStringLiteral("2 Days"),
                                                 QStringLiteral("3 Days"), QStringLiteral("4 Days"), QStringLiteral("5 Days"),
                                                 QStringLiteral("6 Days"), QStringLiteral("7 Days")};
        QTest::newRow("To-Do List") << QStringLiteral("mnuToDo")
                                    << QStringList{QStringLiteral("New Item"), QStringLiteral("—"), QStringLiteral("Edit Item"),
                                                   QStringLiteral("Delete Item"), QStringLiteral("—"), QStringLiteral("Priority"),
                                                   QStringLiteral("—"), QStringLiteral("Mark as Done/Not Done")};
        QTest::newRow("Priority") << QStringLiteral("mnuPriority")
                                  << QStringList{QStringLiteral("High"), QStringLiteral("Medium"), QStringLiteral("Low")};
        QTest::newRow("View") << QStringLiteral("mnuView")
                              << QStringList{QStringLiteral("[Daily View]"), QStringLiteral("[Weekly View]"),
                                             QStringLiteral("[Monthly View]"), QStringLiteral("[—]"), QStringLiteral("Contacts"),
                                             QStringLiteral("Notes"), QStringLiteral("Quick Links"), QStringLiteral("—"),
                                             QStringLiteral("Reminders")};
        QTest::newRow("Navigate") << QStringLiteral("mnuNavigate")
                                  << QStringList{QStringLiteral("Last Month"), QStringLiteral("Next Month"), QStringLiteral("—"),
                                                 QStringLiteral("Last Year"), QStringLiteral("Next Year"), QStringLiteral("—"),
                                                 QStringLiteral("Today")};
        QTest::newRow("Options") << QStringLiteral("mnuOptions")
                                 << QStringList{QStringLiteral("[Agenda...]"), QStringLiteral("[To-Do List...]"),
                                                QStringLiteral("[Calendar...]"), QStringLiteral("[—]"), QStringLiteral("Preferences"),
                                                QStringLiteral("—"), QStringLiteral("Database Cleanup")};
        QTest::newRow("Help") << QStringLiteral("mnuHelp")
                              << QStringList{QStringLiteral("Help Topics"), QStringLiteral("About Brevane Organizer")};
        QTest::newRow("tray") << QStringLiteral("mPopupSys")
                              << QStringList{QStringLiteral("Reminders"), QStringLiteral("—"), QStringLiteral("Quick Links"),
                                             QStringLiteral("—"), QStringLiteral("[Restore]"), QStringLiteral("[Minimize]"),
                                             QStringLiteral("[Maximize]"), QStringLiteral("—"), QStringLiteral("Help"),
                                             QStringLiteral("—"), QStringLiteral("Open"), QStringLiteral("Exit")};
    }
    void menuTree()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, expected);
        TestData data;
        frmMain window(data.db());
        window.load();
        auto *found = window.findChild<QMenu *>(menu);
        QVERIFY2(found, qPrintable(menu));
        QCOMPARE(entries(found), expected);
    }

    void menuBarOrder()
    {
        TestData data;
        frmMain window(data.db());
        QStringList top;
        for (QAction *action : window.menuBar()->actions())
            top << action->text().remove(u'&');
        QCOMPARE(top, (QStringList{QStringLiteral("File"), QStringLiteral("Agenda"), QStringLiteral("To-Do List"),
                                   QStringLiteral("View"), QStringLiteral("Navigate"), QStringLiteral("Options"),
                                   QStringLiteral("Help")}));
    }

    void toolbar()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        for (const char *name : {"cmdContacts", "cmdNotes", "cmdQuickLinks", "cmdSearch", "cmdHelp", "cmdDivider1",
                                 "cmdDivider2", "cmdDivider3"}) {
            auto *button = window.findChild<FlatButton *>(QLatin1String(name));
            QVERIFY2(button && button->isVisible(), name);
        }
        QVERIFY(!window.findChild<FlatButton *>(QStringLiteral("cmdToday2"))->isVisible());
        // The toolbar buttons share one width and stand in order, 60 twips apart.
        const auto *contacts = window.findChild<FlatButton *>(QStringLiteral("cmdContacts"));
        const auto *notes = window.findChild<FlatButton *>(QStringLiteral("cmdNotes"));
        QCOMPARE(contacts->width(), notes->width());
        QCOMPARE(notes->x(), contacts->x() + contacts->width() + 4);
    }

    void helpOpensTheHelpPage()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        QTest::mouseClick(window.findChild<FlatButton *>(QStringLiteral("cmdHelp")), Qt::LeftButton);
        window.findChild<QAction *>(QStringLiteral("mnuHelpTopics"))->trigger();
        window.findChild<QAction *>(QStringLiteral("mnuSystemTrayHelp"))->trigger();
        QCOMPARE(data.desktop().documentsOpened.size(), 3);
        QVERIFY(data.desktop().documentsOpened.first().endsWith(QStringLiteral("Help File/index.html")));
    }

    void quickLinksBox()
    {
        TestData data;
        addQuickLink(data, QStringLiteral("editor"), QStringLiteral("/usr/bin/editor"));
        addQuickLink(data, QStringLiteral("Calculator"), QStringLiteral("/usr/bin/calc"));
        frmMain window(data.db());
        window.load();
        auto *box = window.findChild<QComboBox *>(QStringLiteral("cmbQuickLinks"));
        QVERIFY2(box, "cmbQuickLinks");
        const QString dashes(54, u'-');
        QCOMPARE(comboItems(box), (QStringList{QStringLiteral("Select an Action..."), QStringLiteral("Add/Edit/Delete Quick Links"),
                                               dashes, QStringLiteral("Calculator"), QStringLiteral("editor")}));
        QCOMPARE(box->currentIndex(), 0);

        auto *sys = window.findChild<QMenu *>(QStringLiteral("mnuSysQuickLinks"));
        QCOMPARE(entries(sys), (QStringList{QStringLiteral("[ ]"), QStringLiteral("Calculator"), QStringLiteral("editor")}));

        // Choosing the dash line or the first entry does nothing.
        Q_EMIT box->activated(2);
        Q_EMIT box->activated(0);
        QVERIFY(data.desktop().programsStarted.isEmpty());
        QCOMPARE(box->currentIndex(), 0);

        box->setCurrentIndex(4);
        Q_EMIT box->activated(4);
        QCOMPARE(data.desktop().programsStarted, QStringList{QStringLiteral("/usr/bin/editor")});
        QCOMPARE(box->currentIndex(), 0);
        QVERIFY(data.desktop().messages.isEmpty());

        // The tray entry runs the same link.
        window.findChild<QAction *>(QStringLiteral("mnuSysQuickLinksList1"))->trigger();
        QCOMPARE(data.desktop().programsStarted.last(), QStringLiteral("/usr/bin/calc"));
    }

    void linksSharingANameRunTheirOwnPrograms()
    {
        TestData data;
        addQuickLink(data, QStringLiteral("Editor"), QStringLiteral("/bin/first"));
        addQuickLink(data, QStringLiteral("Editor"), QStringLiteral("/bin/second"));
        frmMain window(data.db());
        window.load();
        auto *box = window.findChild<QComboBox *>(QStringLiteral("cmbQuickLinks"));
        box->setCurrentIndex(4);
        Q_EMIT box->activated(4);
        window.findChild<QAction *>(QStringLiteral("mnuSysQuickLinksList1"))->trigger();
        QCOMPARE(data.desktop().programsStarted, (QStringList{QStringLiteral("/bin/second"), QStringLiteral("/bin/first")}));
    }

    void invalidQuickLinkIsReported()
    {
        TestData data;
        addQuickLink(data, QStringLiteral("Gone"), QStringLiteral("/nowhere/gone"));
        frmMain window(data.db());
        window.load();
        data.desktop().setStartProgramResult(false);
        auto *box = window.findChild<QComboBox *>(QStringLiteral("cmbQuickLinks"));
        Q_EMIT box->activated(3);
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("'/nowhere/gone' is not a valid path.  The program cannot be run.")});
        QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Critical);
        QCOMPARE(box->currentIndex(), 0);
    }

    void trayMirrorsQuickLinksAfterReload()
    {
        TestData data;
        addQuickLink(data, QStringLiteral("A"), QStringLiteral("/a"));
        const auto b = data.insert(names::QuickLinks, {{names::quicklinks::ProgramName, QStringLiteral("B")},
                                                       {names::quicklinks::ProgramPath, QStringLiteral("/b")}});
        frmMain window(data.db());
        window.load();
        store::RecordSet links(data.db(), names::QuickLinks);
        QVERIFY(links.moveToRecord(b));
        QVERIFY(links.deleteCurrent().ok);
        window.loadQuickLinks();
        auto *sys = window.findChild<QMenu *>(QStringLiteral("mnuSysQuickLinks"));
        QCOMPARE(entries(sys), (QStringList{QStringLiteral("[ ]"), QStringLiteral("A")}));
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("mnuSysQuickLinksList2")));
    }

    void noQuickLinks()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        auto *box = window.findChild<QComboBox *>(QStringLiteral("cmbQuickLinks"));
        QCOMPARE(box->count(), 3);
        QCOMPARE(entries(window.findChild<QMenu *>(QStringLiteral("mnuSysQuickLinks"))), QStringList{QStringLiteral("[ ]")});
    }

    void trayOff()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        QVERIFY(!data.desktop().isTrayIconShown());
        data.desktop().simulateTrayLeftClick();
        data.desktop().simulateTrayRightClick();
        QVERIFY(data.desktop().menusPopped.isEmpty());
        window.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY2(window.isVisible(), "an ordinary window stays visible when minimized");
    }

    void trayOn()
    {
        TestData data;
        setTrayOption(data, QStringLiteral("True"));
        frmMain window(data.db());
        window.load();
        QVERIFY(data.desktop().isTrayIconShown());
        QCOMPARE(data.desktop().trayTip(), QStringLiteral("Brevane Organizer"));
        QCOMPARE(data.desktop().trayMenu(), window.findChild<QMenu *>(QStringLiteral("mPopupSys")));

        window.showMinimized();
        QTRY_VERIFY2(!window.isVisible(), "minimizing hides the window while the icon is shown");
        data.desktop().simulateTrayLeftClick();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMaximized());
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("mPopMaximize"))->isEnabled());
        data.desktop().simulateTrayLeftClick();
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!window.findChild<QAction *>(QStringLiteral("mPopMinimize"))->isEnabled());

        data.desktop().simulateTrayRightClick(QPoint(5, 5));
        QCOMPARE(data.desktop().menusPopped.size(), 1);
        QCOMPARE(data.desktop().menusPopped.first()->objectName(), QStringLiteral("mPopupSys"));

        window.findChild<QAction *>(QStringLiteral("mnuOpen"))->trigger();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMaximized());

        // Minimized by the window's own button while maximized: Open still
        // brings it back.
        window.showMinimized();
        QTRY_VERIFY(!window.isVisible());
        window.findChild<QAction *>(QStringLiteral("mnuOpen"))->trigger();
        QVERIFY(window.isVisible());

        window.close();
        QVERIFY2(!data.desktop().isTrayIconShown(), "the icon goes with the window");
    }

    void withoutTrayTheWindowMinimizesNormally()
    {
        TestData data;
        setTrayOption(data, QStringLiteral("True"));
        data.desktop().setTrayAvailable(false);
        frmMain window(data.db());
        window.load();
        // The seam reports no notification area; no icon is shown, and the
        // window must stay reachable.
        QVERIFY(!data.desktop().isTrayIconShown());
        window.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible());
    }

    void exitClosesTheWindow()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        window.findChild<QAction *>(QStringLiteral("mnuExit"))->trigger();
        QVERIFY(!window.isVisible());
    }
};

BREVANE_TEST(MainFrameTests)
#include "tst_mainframe.moc"
