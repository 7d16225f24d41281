#include "app/frmmain.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QPointer>

using namespace brevane;
using namespace brevane::testing;

namespace {

// Runs a menu entry or toolbar button of the main window by its name.
bool run(frmMain &window, const QString &command)
{
    if (auto *action = window.findChild<QAction *>(command))
        return action->trigger(), true;
    auto *button = window.findChild<QAbstractButton *>(command);
    return button && (button->click(), true);
}

} // namespace

class WindowsTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every way to a window opens it once, announced as a window or a dialog.
    void opensEachWindowOnce_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("windowName");
        QTest::addRow("Contacts button") << "cmdContacts" << "frmContacts";
        QTest::addRow("View > Contacts") << "mnuViewContacts" << "frmContacts";
        QTest::addRow("File > New > Contact") << "mnuNewContact" << "frmContacts";
        QTest::addRow("Notes button") << "cmdNotes" << "frmNotes";
        QTest::addRow("View > Notes") << "mnuViewNotes" << "frmNotes";
        QTest::addRow("File > New > Note") << "mnuNewNote" << "frmNotes";
        QTest::addRow("Quick Links button") << "cmdQuickLinks" << "frmQuickLinks";
        QTest::addRow("View > Quick Links") << "mnuViewQuickLinks" << "frmQuickLinks";
        QTest::addRow("File > New > Quick Link") << "mnuNewQuickLink" << "frmQuickLinks";
        QTest::addRow("Search button") << "cmdSearch" << "frmSearch";
        QTest::addRow("Options > Preferences") << "mnuPreferences" << "frmPreferences";
        QTest::addRow("Help > About") << "mnuAbout" << "frmAbout";
    }
    void opensEachWindowOnce()
    {
        QFETCH(QString, command);
        QFETCH(QString, windowName);
        TestData data;
        frmMain window(data.db());
        window.load();
        QVERIFY2(run(window, command), qPrintable(command));
        QVERIFY2(run(window, command), qPrintable(command));
        const QList<QWidget *> opened = window.findChildren<QWidget *>(windowName);
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened.first()->isWindow() && opened.first()->isVisible());
        const QAccessible::Role role = QAccessible::queryAccessibleInterface(opened.first())->role();
        QVERIFY2(role == QAccessible::Window || role == QAccessible::Dialog, qPrintable(windowName));
    }

    // A quick link being added is unsaved typing; Yes ends every window with the main one.
    void exitAsksAboutAnyWindowsTyping()
    {
        TestData data;
        auto window = std::make_unique<frmMain>(data.db());
        window->load();
        QVERIFY(run(*window, QStringLiteral("mnuNewQuickLink")));
        const QPointer<QWidget> links = window->findChild<QWidget *>(QStringLiteral("frmQuickLinks"));
        window->close();
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("Some windows have changes that are not saved.  Exit anyway?")});
        window.reset();
        QVERIFY(!links);
    }
};

BREVANE_TEST(WindowsTests)
#include "tst_windows.moc"
