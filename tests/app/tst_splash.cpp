#include "app/frmsplash.h"
#include "controls/flatbutton.h"
#include "core/password.h"
#include "store/names.h"
#include "testsupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QThreadPool>
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
    QString storedPassword() { return data.fieldOf(names::Options, 1, names::options::Password); }

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
    }
    void withoutPasswordOpensMainOnSecondTick()
    {
        QFETCH(QString, require);
        Splash splash(require, QStringLiteral("x"));
        QVERIFY(splash.written && QTest::qWaitForWindowExposed(splash.window.get()));
        QCOMPARE(splash.window->windowTitle(), QStringLiteral("Brevane Organizer Version 4.0"));
        auto *timer = splash.child<QTimer>("Timer1");
        QVERIFY(splash.child<QLabel>("lblLoading")->isVisible() && !splash.child<QLineEdit>("txtPassword")->isVisible());
        QVERIFY2(timer && timer->isActive(), "Timer1 runs");

        QSignalSpy handOver(splash.window.get(), &frmSplash::mainWindowRequested);
        splash.window->Timer1_Timer();
        QVERIFY(handOver.isEmpty());
        splash.window->Timer1_Timer();
        QVERIFY(handOver.count() == 1 && !timer->isActive() && !splash.window->isVisible());
        splash.window->Timer1_Timer();
        QCOMPARE(handOver.count(), 1);
    }

    // An accepted old form is upgraded to Argon2id; an empty stored password lets Continue through.
    void passwordGate_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("upgraded");
        static const QString argon = hashPassword(QStringLiteral("Secret"));
        QTest::newRow("plain right") << QStringLiteral("Secret") << QStringLiteral("Secret") << true << true;
        QTest::newRow("plain wrong") << QStringLiteral("Secret") << QStringLiteral("secret") << false << false;
        QTest::newRow("argon2id right") << argon << QStringLiteral("Secret") << true << false;
        QTest::newRow("empty, Continue at once") << QString() << QString() << true << true;
    }
    void passwordGate()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        QFETCH(bool, upgraded);
        Splash splash(QStringLiteral("True"), stored);
        QVERIFY(QTest::qWaitForWindowExposed(splash.window.get()));
        auto *password = splash.child<QLineEdit>("txtPassword");
        auto *cont = splash.child<FlatButton>("cmdContinue");
        QVERIFY2(password && password->isVisible() && password->echoMode() == QLineEdit::Password, "password box");
        QVERIFY(!splash.child<QLabel>("lblLoading")->isVisible() && !splash.child<QTimer>("Timer1")->isActive());

        QSignalSpy handOver(splash.window.get(), &frmSplash::mainWindowRequested);
        password->setFocus();
        if (typed.isEmpty()) {
            QTest::mouseClick(cont, Qt::LeftButton);
        } else {
            QTest::keyClicks(password, typed);
            QVERIFY(cont->isEnabled());
            QTest::keyClick(password, Qt::Key_Return);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!splash.window->isCheckingPassword(), 20000);
        QCOMPARE(handOver.count(), accepted ? 1 : 0);
        if (upgraded) {
            QCOMPARE(storedPasswordForm(splash.storedPassword()), StoredPasswordForm::Argon2id);
            QVERIFY(passwordMatches(typed, splash.storedPassword()));
        } else {
            QCOMPARE(splash.storedPassword(), stored);
        }
        if (!accepted) {
            QCOMPARE(splash.data.desktop().messageTexts(),
                     QStringList{QStringLiteral("The password you have entered is incorrect.")});
            QVERIFY(password->selectedText() == typed && splash.window->isVisible());
            QTest::keyClick(password, Qt::Key_Backspace); // emptied, the box turns Continue off; Enter still checks it
            QVERIFY(!cont->isEnabled());
            QTest::keyClick(password, Qt::Key_Return);
            QTRY_COMPARE_WITH_TIMEOUT(splash.data.desktop().messages.size(), 2, 20000);
        }
    }

    // A failed upgrade write is reported; the user still gets in and the old value stays.
    void failedUpgradeIsReportedAndLetsIn()
    {
        Splash splash(QStringLiteral("True"), QStringLiteral("Secret"));
        splash.data.failWrites(names::Options);
        QSignalSpy handOver(splash.window.get(), &frmSplash::mainWindowRequested);
        QTest::keyClicks(splash.child<QLineEdit>("txtPassword"), QStringLiteral("Secret"));
        splash.window->cmdContinue_Click();
        QVERIFY(handOver.wait(20000));
        QCOMPARE(splash.data.desktop().messages.size(), 1);
        QVERIFY(splash.data.desktop().messageTexts().first().contains(QStringLiteral("disk I/O error")));
        QCOMPARE(splash.storedPassword(), QStringLiteral("Secret"));
    }

    // Unreadable settings are reported and end the program, never read as "no password".
    void unreadableSettingsEndTheProgram()
    {
        TestData data;
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("DROP TABLE \"Event Alarm Sound File\"")));
        frmSplash window(data.db());
        QSignalSpy exitSpy(&window, &frmSplash::exitRequested);
        QSignalSpy handOver(&window, &frmSplash::mainWindowRequested);
        QCOMPARE(data.desktop().messages.size(), 1);
        QVERIFY(exitSpy.wait(5000));
        QCOMPARE(exitSpy.first().first().toInt(), 1);
        QCOMPARE(handOver.count(), 0);
    }

    // The close box acts as Exit, while loading too; nothing opens afterwards.
    void exitEndsWithoutMainWindow_data()
    {
        QTest::addColumn<QString>("require");
        QTest::newRow("Exit") << QStringLiteral("True");
        QTest::newRow("close box, password asked") << QStringLiteral("True");
        QTest::newRow("close box, loading") << QStringLiteral("False");
        QTest::newRow("Escape") << QStringLiteral("True");
    }
    void exitEndsWithoutMainWindow()
    {
        QFETCH(QString, require);
        Splash splash(require, QStringLiteral("pw"));
        QSignalSpy handOver(splash.window.get(), &frmSplash::mainWindowRequested);
        QSignalSpy exitSpy(splash.window.get(), &frmSplash::exitRequested);
        const QByteArray how = QTest::currentDataTag();
        if (how == "Exit")
            QTest::mouseClick(splash.child<FlatButton>("cmdExit"), Qt::LeftButton);
        else if (how == "Escape")
            QTest::keyClick(splash.child<QLineEdit>("txtPassword"), Qt::Key_Escape);
        else
            splash.window->close();
        QVERIFY(exitSpy.count() == 1 && !splash.window->isVisible());
        QCOMPARE(exitSpy.first().first().toInt(), 0);
        splash.window->Timer1_Timer();
        splash.window->Timer1_Timer();
        QCOMPARE(handOver.count(), 0);
    }

    // The program may end, and the window go, before the password check does.
    void windowGoneWhileChecking()
    {
        Splash splash(QStringLiteral("True"), hashPassword(QStringLiteral("pw")));
        splash.child<QLineEdit>("txtPassword")->setText(QStringLiteral("pw"));
        QTest::mouseClick(splash.child<FlatButton>("cmdContinue"), Qt::LeftButton);
        splash.window.reset();
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::processEvents();
    }
};

BREVANE_TEST(SplashTests)
#include "tst_splash.moc"
