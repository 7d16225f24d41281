#include "store/names.h"
#include "testsupport.h"
#include "tray/trayicon.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QWidget>

using namespace brevane;
using testing::TestData;

namespace {

bool setTrayOption(TestData &data, const QString &value)
{
    return QSqlQuery(data.db().connection())
        .exec(QStringLiteral("UPDATE \"Options\" SET \"%1\" = '%2'")
                  .arg(store::names::options::MinimizeToSystemTray, value));
}

template <typename T> T *child(const TrayIcon &tray, const char *name)
{
    return tray.menu()->findChild<T *>(QLatin1String(name));
}

} // namespace

// The notification-area icon standing for a window.
class TrayTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Without the option, or without a notification area to show the icon
    // in, a minimized window stays reachable.
    void minimizedWindowStaysWithoutTrayIcon_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("trayAvailable");
        QTest::newRow("option off") << "False" << true;
        QTest::newRow("no notification area") << "True" << false;
    }
    void minimizedWindowStaysWithoutTrayIcon()
    {
        QFETCH(QString, option);
        QFETCH(bool, trayAvailable);
        TestData data;
        QVERIFY(setTrayOption(data, option));
        data.desktop().setTrayAvailable(trayAvailable);
        QWidget window;
        TrayIcon tray(data.db(), &window);
        window.show();
        tray.applySetting();
        QVERIFY(!data.desktop().isTrayIconShown());
        window.showMinimized();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible());
    }

    void trayOn()
    {
        TestData data;
        QVERIFY(setTrayOption(data, QStringLiteral("True")));
        QWidget window;
        TrayIcon tray(data.db(), &window);
        window.show();
        tray.applySetting();
        QVERIFY(data.desktop().isTrayIconShown());
        QCOMPARE(data.desktop().trayTip(), QStringLiteral("Brevane Organizer"));

        window.showMinimized();
        QTRY_VERIFY2(!window.isVisible(), "minimizing hides the window while the icon is shown");
        data.desktop().simulateTrayLeftClick();
        QCoreApplication::processEvents();
        QVERIFY(window.isVisible() && window.isMaximized());
        QVERIFY(!child<QAction>(tray, "mPopMaximize")->isEnabled());
        data.desktop().simulateTrayLeftClick();
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(!child<QAction>(tray, "mPopMinimize")->isEnabled());

        data.desktop().simulateTrayRightClick(QPoint(5, 5));
        QCOMPARE(data.desktop().menusPopped, QList<QMenu *>{tray.menu()});
        child<QAction>(tray, "mnuOpen")->trigger();
        QVERIFY(window.isVisible() && window.isMaximized());

        // Minimized by the window's own button while maximized.
        window.showMinimized();
        QTRY_VERIFY(!window.isVisible());
        child<QAction>(tray, "mnuOpen")->trigger();
        QVERIFY(window.isVisible());

        // The option turned off while the window hides: without its icon it must not stay out of reach.
        window.showMinimized();
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(setTrayOption(data, QStringLiteral("False")));
        tray.applySetting();
        QVERIFY(!data.desktop().isTrayIconShown() && window.isVisible());

        // A quick link's name shows as typed, not as a mnemonic, and reaches the box unchanged.
        tray.setQuickLinks({{7, QStringLiteral("Tom & Jerry")}});
        QSignalSpy chosen(&tray, &TrayIcon::quickLinkChosen);
        auto *link = child<QAction>(tray, "mnuSysQuickLinksList1");
        link->trigger();
        QCOMPARE(link->text() + u'|' + chosen.at(0).at(1).toString(), QStringLiteral("Tom && Jerry|Tom & Jerry"));
    }
};

BREVANE_TEST(TrayTests)
#include "tst_tray.moc"
