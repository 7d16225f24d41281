#include "app/frmsplash.h"
#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/password.h"
#include "store/names.h"
#include "testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>

#include <memory>

using namespace brevane;
using testing::TestData;
namespace names = store::names;

namespace {

// The start-up window on a data file with these password settings, shown.
struct Splash {
    Splash(const QString &require, const QString &password)
    {
        store::RecordSet options(data.db(), names::Options);
        options.moveFirst();
        options.edit();
        options.setField(names::options::RequirePassword, require);
        options.setField(names::options::Password, password);
        written = options.update().ok;
        window = std::make_unique<frmSplash>(data.db());
        window->show();
    }
    template <typename T> T *child(const char *name) const { return window->findChild<T *>(QLatin1String(name)); }

    TestData data;
    bool written = false;
    std::unique_ptr<frmSplash> window;
};

} // namespace

class SplashTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Only exactly "True" asks for the password.
    void withoutPasswordOpensMainOnSecondTick_data()
    {
        QTest::addColumn<QString>("require");
        QTest::newRow("False") << QStringLiteral("False");
        QTest::newRow("lower-case true") << QStringLiteral("true");
        QTest::newRow("leading blank") << QStringLiteral(" True");
    }
    void withoutPasswordOpensMainOnSecondTick()
    {
        QFETCH(QString, require);
        Splash splash(require, QStringLiteral("x"));
        QVERIFY(splash.written);
        QCOMPARE(splash.window->windowTitle(), QStringLiteral("Brevane Organizer Version 4.0"));
        QVERIFY2(splash.child<QLabel>("lblLoading")->isVisible(), "Loading Database... is shown");
        QVERIFY(!splash.child<QLineEdit>("txtPassword")->isVisible());
        auto *timer = splash.child<QTimer>("Timer1");
        QVERIFY2(timer && timer->isActive(), "Timer1 runs");
        QCOMPARE(timer->interval(), 1500);

        QSignalSpy handOver(splash.window.get(), &frmSplash::mainWindowRequested);
        splash.window->Timer1_Timer();
        QCOMPARE(handOver.count(), 0);
        splash.window->Timer1_Timer();
        QCOMPARE(handOver.count(), 1);
        QVERIFY(!timer->isActive());
        QVERIFY(!splash.window->isVisible());
        splash.window->Timer1_Timer();
        QCOMPARE(handOver.count(), 1);
    }

    // Both stored forms; an empty stored password lets Continue through at
    // once, since the button starts enabled.
    void passwordGate_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain right") << QStringLiteral("Secret") << QStringLiteral("Secret") << true;
        QTest::newRow("plain wrong") << QStringLiteral("Secret") << QStringLiteral("secret") << false;
        QTest::newRow("hashed right") << hashPassword(QStringLiteral("Secret"), 1000) << QStringLiteral("Secret") << true;
        QTest::newRow("hashed wrong") << hashPassword(QStringLiteral("Secret"), 1000) << QStringLiteral("Secre") << false;
        QTest::newRow("empty, Continue at once") << QString() << QString() << true;
    }
    void passwordGate()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        Splash splash(QStringLiteral("True"), stored);
        QVERIFY(QTest::qWaitForWindowExposed(splash.window.get()));
        auto *password = splash.child<QLineEdit>("txtPassword");
        auto *cont = splash.child<FlatButton>("cmdContinue");
        auto *exit = splash.child<FlatButton>("cmdExit");
        QVERIFY2(password && password->isVisible(), "password box shown");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QVERIFY(!splash.child<QLabel>("lblLoading")->isVisible());
        QVERIFY(!splash.child<QTimer>("Timer1")->isActive());
        QCOMPARE(QList<int>({qRound(twips::width(cont)), qRound(twips::width(exit)), qRound(twips::left(exit))}),
                 QList<int>({2595, 2595, 2955}));

        QSignalSpy handOver(splash.window.get(), &frmSplash::mainWindowRequested);
        password->setFocus();
        if (typed.isEmpty()) {
            QTest::mouseClick(cont, Qt::LeftButton);
        } else {
            QTest::keyClicks(password, typed);
            QVERIFY(cont->isEnabled());
            QCOMPARE(cont->highlightColor(), QColor(255, 255, 255));
            QTest::keyClick(password, Qt::Key_Return);
        }
        QCOMPARE(handOver.count(), accepted ? 1 : 0);
        if (!accepted) {
            QCOMPARE(splash.data.desktop().messageTexts(),
                     QStringList{QStringLiteral("The password you have entered is incorrect.")});
            QCOMPARE(splash.data.desktop().messages.first().icon, Desktop::Icon::Exclamation);
            QCOMPARE(password->selectedText(), typed);
            QVERIFY(splash.window->isVisible());
            // Emptied, the box turns Continue off; Enter still checks it.
            QTest::keyClick(password, Qt::Key_Backspace);
            QVERIFY(!cont->isEnabled());
            QCOMPARE(cont->highlightColor(), QColor(192, 192, 192));
            QTest::keyClick(password, Qt::Key_Return);
            QCOMPARE(splash.data.desktop().messages.size(), 2);
        }
    }

    // The close box acts as Exit, while loading too; nothing opens afterwards.
    void exitEndsWithoutMainWindow_data()
    {
        QTest::addColumn<QString>("require");
        QTest::addColumn<bool>("button");
        QTest::newRow("Exit") << QStringLiteral("True") << true;
        QTest::newRow("close box, password asked") << QStringLiteral("True") << false;
        QTest::newRow("close box, loading") << QStringLiteral("False") << false;
    }
    void exitEndsWithoutMainWindow()
    {
        QFETCH(QString, require);
        QFETCH(bool, button);
        Splash splash(require, QStringLiteral("pw"));
        QSignalSpy handOver(splash.window.get(), &frmSplash::mainWindowRequested);
        QSignalSpy exitSpy(splash.window.get(), &frmSplash::exitRequested);
        if (button)
            QTest::mouseClick(splash.child<FlatButton>("cmdExit"), Qt::LeftButton);
        else
            splash.window->close();
        QCOMPARE(exitSpy.count(), 1);
        QVERIFY(!splash.window->isVisible());
        splash.window->Timer1_Timer();
        splash.window->Timer1_Timer();
        QCOMPARE(handOver.count(), 0);
    }
};

BREVANE_TEST(SplashTests)
#include "tst_splash.moc"
