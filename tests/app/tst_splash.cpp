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

using namespace brevane;
using testing::TestData;
namespace names = store::names;

namespace {

void setOptions(TestData &data, const QString &require, const QString &password)
{
    store::RecordSet options(data.db(), names::Options);
    options.moveFirst();
    options.edit();
    options.setField(names::options::RequirePassword, require);
    options.setField(names::options::Password, password);
    QVERIFY(options.update().ok);
}

template <typename T>
T *child(QWidget *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}

} // namespace

class SplashTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutPasswordOpensMainOnSecondTick_data()
    {
        QTest::addColumn<QString>("require");
        QTest::newRow("False") << QStringLiteral("False");
        QTest::newRow("lower-case true") << QStringLiteral("true");
        QTest::newRow("leading blank") << QStringLiteral(" True");
        QTest::newRow("empty") << QString();
    }
    void withoutPasswordOpensMainOnSecondTick()
    {
        QFETCH(QString, require);
        TestData data;
        setOptions(data, require, QStringLiteral("x"));
        frmSplash splash(data.db());
        splash.show();

        QCOMPARE(splash.windowTitle(), QStringLiteral("Brevane Organizer Version 4.0"));
        QCOMPARE(child<QLabel>(&splash, "lblSplashVersion")->text(), QStringLiteral("Version 4.0"));
        QVERIFY2(child<QLabel>(&splash, "lblLoading")->isVisible(), "Loading Database... is shown");
        QCOMPARE(child<QLabel>(&splash, "lblLoading")->text(), QStringLiteral("Loading Database..."));
        QVERIFY(!child<QLineEdit>(&splash, "txtPassword")->isVisible());
        QVERIFY(!child<FlatButton>(&splash, "cmdContinue")->isVisible());
        QVERIFY(!child<FlatButton>(&splash, "cmdExit")->isVisible());
        auto *timer = child<QTimer>(&splash, "Timer1");
        QVERIFY2(timer && timer->isActive(), "Timer1 runs");
        QCOMPARE(timer->interval(), 1500);

        QSignalSpy handOver(&splash, &frmSplash::mainWindowRequested);
        splash.Timer1_Timer();
        QCOMPARE(handOver.count(), 0);
        splash.Timer1_Timer();
        QCOMPARE(handOver.count(), 1);
        QVERIFY(!timer->isActive());
        QVERIFY(!splash.isVisible());
        splash.Timer1_Timer();
        QCOMPARE(handOver.count(), 1);
    }

    void passwordGate_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("plain right") << QStringLiteral("Secret") << QStringLiteral("Secret") << true;
        QTest::newRow("plain case") << QStringLiteral("Secret") << QStringLiteral("secret") << false;
        QTest::newRow("plain trailing blank") << QStringLiteral("Secret") << QStringLiteral("Secret ") << false;
        QTest::newRow("empty stored, empty typed") << QString() << QString() << true;
        QTest::newRow("hashed right") << hashPassword(QStringLiteral("Secret"), 1000) << QStringLiteral("Secret") << true;
        QTest::newRow("hashed wrong") << hashPassword(QStringLiteral("Secret"), 1000) << QStringLiteral("Secre") << false;
    }
    void passwordGate()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        QFETCH(bool, accepted);
        TestData data;
        setOptions(data, QStringLiteral("True"), stored);
        frmSplash splash(data.db());
        splash.show();
        QVERIFY(QTest::qWaitForWindowExposed(&splash));

        auto *password = child<QLineEdit>(&splash, "txtPassword");
        auto *cont = child<FlatButton>(&splash, "cmdContinue");
        auto *exit = child<FlatButton>(&splash, "cmdExit");
        QVERIFY2(password && password->isVisible(), "password box shown");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QVERIFY(!child<QLabel>(&splash, "lblLoading")->isVisible());
        QVERIFY(!child<QTimer>(&splash, "Timer1")->isActive());
        QCOMPARE(qRound(twips::width(cont)), 2595);
        QCOMPARE(qRound(twips::width(exit)), 2595);
        QCOMPARE(qRound(twips::left(exit)), 2955);

        QSignalSpy handOver(&splash, &frmSplash::mainWindowRequested);
        password->setFocus();
        QTest::keyClicks(password, typed);
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(handOver.count(), accepted ? 1 : 0);
        if (!accepted) {
            QCOMPARE(data.desktop().messageTexts(), QStringList{QStringLiteral("The password you have entered is incorrect.")});
            QCOMPARE(data.desktop().messages.first().icon, Desktop::Icon::Exclamation);
            QCOMPARE(password->selectedText(), typed);
            QVERIFY(splash.isVisible());
        }
    }

    void continueFollowsTheText()
    {
        TestData data;
        setOptions(data, QStringLiteral("True"), QStringLiteral("pw"));
        frmSplash splash(data.db());
        splash.show();
        auto *password = child<QLineEdit>(&splash, "txtPassword");
        auto *cont = child<FlatButton>(&splash, "cmdContinue");
        QVERIFY2(cont->isEnabled(), "Continue starts enabled: the password may be empty");
        QTest::keyClicks(password, QStringLiteral("p"));
        QVERIFY(cont->isEnabled());
        QCOMPARE(cont->highlightColor(), QColor(255, 255, 255));
        QCOMPARE(cont->shadowColor(), QColor(255, 255, 255));
        QTest::keyClick(password, Qt::Key_Backspace);
        QVERIFY(!cont->isEnabled());
        QCOMPARE(cont->highlightColor(), QColor(192, 192, 192));

        // Enter still runs the check with the empty box.
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(data.desktop().messages.size(), 1);

        QSignalSpy handOver(&splash, &frmSplash::mainWindowRequested);
        QTest::keyClicks(password, QStringLiteral("pw"));
        QTest::mouseClick(cont, Qt::LeftButton);
        QCOMPARE(handOver.count(), 1);
    }

    void emptyPasswordByButton()
    {
        TestData data;
        setOptions(data, QStringLiteral("True"), QString());
        frmSplash splash(data.db());
        splash.show();
        QSignalSpy handOver(&splash, &frmSplash::mainWindowRequested);
        QTest::mouseClick(child<FlatButton>(&splash, "cmdContinue"), Qt::LeftButton);
        QCOMPARE(handOver.count(), 1);
    }

    void closeBoxActsAsExit_data()
    {
        QTest::addColumn<QString>("require");
        QTest::newRow("waiting for the password") << QStringLiteral("True");
        QTest::newRow("loading") << QStringLiteral("False");
    }
    void closeBoxActsAsExit()
    {
        QFETCH(QString, require);
        TestData data;
        setOptions(data, require, QStringLiteral("pw"));
        frmSplash splash(data.db());
        splash.show();
        QSignalSpy handOver(&splash, &frmSplash::mainWindowRequested);
        QSignalSpy exitSpy(&splash, &frmSplash::exitRequested);
        splash.close();
        QCOMPARE(exitSpy.count(), 1);
        splash.Timer1_Timer();
        splash.Timer1_Timer();
        QCOMPARE(handOver.count(), 0);
    }

    void exitEndsWithoutMainWindow()
    {
        TestData data;
        setOptions(data, QStringLiteral("True"), QStringLiteral("pw"));
        frmSplash splash(data.db());
        splash.show();
        QSignalSpy handOver(&splash, &frmSplash::mainWindowRequested);
        QSignalSpy exitSpy(&splash, &frmSplash::exitRequested);
        QTest::mouseClick(child<FlatButton>(&splash, "cmdExit"), Qt::LeftButton);
        QCOMPARE(exitSpy.count(), 1);
        QCOMPARE(handOver.count(), 0);
        QVERIFY(!splash.isVisible());
    }
};

BREVANE_TEST(SplashTests)
#include "tst_splash.moc"
