#include "controls/flatbutton.h"
#include "core/password.h"
#include "fakenavigation.h"
#include "preferences/frmpreferences.h"
#include "store/names.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QPointer>
#include <QSqlQuery>
#include <QThreadPool>

using namespace brevane;
using testing::FakeNavigation;
using testing::TestData;
namespace names = store::names;
namespace opt = store::names::options;

namespace {

bool writeSettings(TestData &data, const QString &require, const QString &password, const QString &tray)
{
    store::RecordSet options(data.db(), names::Options);
    options.moveFirst();
    options.edit();
    options.setField(opt::RequirePassword, require);
    options.setField(opt::Password, password);
    options.setField(opt::MinimizeToSystemTray, tray);
    return options.update().ok;
}

QString flag(bool on) { return on ? QStringLiteral("True") : QStringLiteral("False"); }

// The window, shown, on a file holding these settings.
struct Prefs {
    Prefs(bool require, const QString &password, bool tray = false)
        : written(writeSettings(data, flag(require), password, flag(tray)))
    {
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
    }
    QCheckBox *check(const char *name) const { return window.findChild<QCheckBox *>(QLatin1String(name)); }
    QLineEdit *box(const char *name) const { return window.findChild<QLineEdit *>(QLatin1String(name)); }
    QString option(const QString &field) { return data.fieldOf(names::Options, 1, field); }
    void type(const char *name, const QString &text) { box(name)->setFocus(); QTest::keyClicks(box(name), text); }
    void click(const char *name) { QTest::mouseClick(window.findChild<FlatButton *>(QLatin1String(name)), Qt::LeftButton); }

    TestData data;
    bool written;
    FakeNavigation navigation;
    frmPreferences window{data.db(), navigation};
};

const QString kArgonSecret = hashPassword(QStringLiteral("Secret"));
const char *const kRefused = "Please re-confirm password.";
const char *const kConfirmBox = "txtConfirmPassword";

} // namespace

class PreferencesTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void save_data()
    {
        // Stored, check box, typed per box ("-": untouched), message (empty: saved), focus, accepted after.
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("require");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("accepts");
        const char *missing = "Please enter and confirm a password";
        QTest::newRow("re-enabling keeps it") << kArgonSecret << true << "-" << "-" << "" << "" << "Secret";
        QTest::newRow("unchecking keeps it") << kArgonSecret << false << "-" << "-" << "" << "" << "Secret";
        QTest::newRow("plain kept, hashed") << "Old" << true << "-" << "-" << "" << "" << "Old";
        QTest::newRow("new password") << "" << true << "Neu" << "Neu" << "" << "" << "Neu";
        QTest::newRow("typing replaces the stand-in") << kArgonSecret << true << "Neu" << "Neu" << "" << "" << "Neu";
        QTest::newRow("one character differs") << "" << true << "Neu" << "Nen" << kRefused << kConfirmBox << "";
        QTest::newRow("one box retyped") << kArgonSecret << true << "Neu" << "-" << kRefused << kConfirmBox << "";
        QTest::newRow("empty confirmation") << "" << true << "Neu" << "" << missing << kConfirmBox << "";
        QTest::newRow("empty password") << "" << true << "" << "Neu" << missing << "txtNewPassword" << "";
    }
    void save()
    {
        QFETCH(QString, stored);
        QFETCH(bool, require);
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        QFETCH(QString, accepts);
        Prefs prefs(!require, stored);
        QVERIFY(prefs.written && QTest::qWaitForWindowExposed(&prefs.window));
        QSignalSpy saved(&prefs.window, &frmPreferences::saved);
        prefs.check("chkPassword")->setChecked(require);
        QVERIFY2(prefs.box(kConfirmBox)->isVisible() == require, "the boxes show only while the box is checked");
        QVERIFY2(prefs.box(kConfirmBox)->text() != stored || stored.isEmpty(), "the stored text is never shown");
        if (password != QLatin1String("-"))
            prefs.type("txtNewPassword", password);
        if (confirmation != QLatin1String("-"))
            prefs.type(kConfirmBox, confirmation);
        prefs.click("cmdSave");
        QTRY_VERIFY_WITH_TIMEOUT(!prefs.window.isSaving(), 20000);

        QCOMPARE(prefs.data.desktop().messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QVERIFY(saved.count() == int(message.isEmpty()) && prefs.window.isVisible() == !message.isEmpty());
        QCOMPARE(prefs.option(opt::RequirePassword), flag(message.isEmpty() == require));
        if (!message.isEmpty())
            QCOMPARE(QApplication::focusWidget(), prefs.box(qPrintable(focus)));
        if (message == QLatin1String(kRefused))
            QCOMPARE(prefs.box(kConfirmBox)->selectedText(), prefs.box(kConfirmBox)->text());
        const QString after = prefs.option(opt::Password);
        if (!accepts.isEmpty() && require) {
            QCOMPARE(storedPasswordForm(after), StoredPasswordForm::Argon2id);
            QVERIFY2(passwordMatches(accepts, after), qPrintable(after));
        } else {
            QCOMPARE(after, stored);
        }
    }

    // The main window is told only when the tray option changed.
    void trayIconFollowsSave_data()
    {
        QTest::addColumn<bool>("before");
        QTest::addColumn<bool>("after");
        QTest::newRow("turned on") << false << true;
        QTest::newRow("turned off") << true << false;
        QTest::newRow("left on") << true << true;
    }
    void trayIconFollowsSave()
    {
        QFETCH(bool, before);
        QFETCH(bool, after);
        Prefs prefs(false, QString(), before);
        QCOMPARE(prefs.check("chkMinimizeToSystemTray")->isChecked(), before);
        prefs.check("chkMinimizeToSystemTray")->setChecked(after);
        prefs.click("cmdSave");
        QCOMPARE(prefs.option(opt::MinimizeToSystemTray), flag(after));
        QCOMPARE(prefs.navigation.settingsChanges, before == after ? 0 : 1);
    }

    // Close and Escape write nothing, also while a new password is hashed.
    void closeWritesNothing_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Close") << false;
        QTest::newRow("Escape") << true;
    }
    void closeWritesNothing()
    {
        QFETCH(bool, escape);
        Prefs prefs(false, QString());
        prefs.check("chkPassword")->setChecked(true);
        prefs.check("chkMinimizeToSystemTray")->setChecked(true);
        prefs.type("txtNewPassword", QStringLiteral("pw"));
        prefs.type(kConfirmBox, QStringLiteral("pw"));
        prefs.window.cmdSave_Click();
        QVERIFY(prefs.window.isSaving());
        escape ? QTest::keyClick(&prefs.window, Qt::Key_Escape) : prefs.click("cmdClose");
        QVERIFY(!prefs.window.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!prefs.window.isSaving(), 20000);
        QCOMPARE(prefs.option(opt::RequirePassword) + prefs.option(opt::Password) + prefs.option(opt::MinimizeToSystemTray)
                     + QString::number(prefs.navigation.settingsChanges), QStringLiteral("FalseFalse0"));
    }

    // Closed, and so deleted, while a new password is hashed: the hash finds
    // no window to come back to, and nothing is written.
    void goneWhileHashing()
    {
        TestData data;
        FakeNavigation navigation;
        QPointer<frmPreferences> window = new frmPreferences(data.db(), navigation);
        window->findChild<QCheckBox *>(QStringLiteral("chkPassword"))->setChecked(true);
        for (const char *name : {"txtNewPassword", kConfirmBox})
            window->findChild<QLineEdit *>(QLatin1String(name))->setText(QStringLiteral("pw"));
        window->cmdSave_Click();
        window->close();
        QTRY_VERIFY(window.isNull());
        QThreadPool::globalInstance()->waitForDone();
        QCOMPARE(data.fieldOf(names::Options, 1, opt::RequirePassword), QStringLiteral("False"));
    }

    // A failed write is reported, the window stays, and earlier writes are undone.
    void failedWriteKeepsWindowOpen()
    {
        Prefs prefs(false, kArgonSecret);
        QVERIFY(QSqlQuery(prefs.data.db().connection())
                    .exec(QStringLiteral("CREATE TEMP TRIGGER full BEFORE UPDATE OF \"Minimize to System Tray\" "
                                         "ON Options BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        prefs.check("chkPassword")->setChecked(true);
        prefs.check("chkMinimizeToSystemTray")->setChecked(true);
        prefs.type("txtNewPassword", QStringLiteral("Neu"));
        prefs.type(kConfirmBox, QStringLiteral("Neu"));
        prefs.click("cmdSave");
        QTRY_VERIFY_WITH_TIMEOUT(!prefs.window.isSaving(), 20000);
        QCOMPARE(prefs.data.desktop().messages.size(), 1);
        QVERIFY(prefs.data.desktop().messageTexts().first().contains(QStringLiteral("disk full")) && prefs.window.isVisible());
        QCOMPARE(prefs.option(opt::Password) + prefs.option(opt::RequirePassword), kArgonSecret + "False");
    }

    // Unreadable settings are reported, never shown as "all off".
    void unreadableSettingsAreReported()
    {
        TestData data;
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("DROP TABLE \"Event Alarm Sound File\"")));
        QString error;
        QVERIFY(!getMinimizeToSystemTray(data.db(), &error) && !error.isEmpty());
        FakeNavigation navigation;
        frmPreferences window(data.db(), navigation);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(!window.isLoaded());
        window.cmdSave_Click();
        QCOMPARE(data.desktop().messages.size(), 1);
    }
};

BREVANE_TEST(PreferencesTests)
#include "tst_preferences.moc"
