#include "controls/flatbutton.h"
#include "core/password.h"
#include "platform/navigation.h"
#include "preferences/frmpreferences.h"
#include "store/names.h"
#include "testsupport.h"

#include <QAccessible>
#include <QCheckBox>
#include <QIcon>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSqlQuery>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace opt = store::names::options;

namespace {

// Plays the main window: re-reads the tray setting and shows or removes the
// icon through the desktop seam.
class FakeNavigation final : public Navigation
{
public:
    explicit FakeNavigation(store::Database &db) : m_db(db) {}
    void showDay(const QDate &) override {}
    bool showAgendaTask(store::RecordId) override { return false; }
    bool showToDoItem(store::RecordId) override { return false; }
    void reloadQuickLinks() override {}
    void reloadAll() override {}
    void settingsChanged() override
    {
        ++settingsChanges;
        if (getMinimizeToSystemTray(m_db))
            desktop().showTrayIcon(QIcon(), QStringLiteral("Brevane Organizer"), nullptr);
        else
            desktop().removeTrayIcon();
    }
    int settingsChanges = 0;

private:
    store::Database &m_db;
};

// The window on a data file holding these settings, shown.
struct Prefs {
    Prefs(const QString &require, const QString &password, const QString &tray = QStringLiteral("False"))
    {
        store::RecordSet options(data.db(), names::Options);
        options.moveFirst();
        options.edit();
        options.setField(opt::RequirePassword, require);
        options.setField(opt::Password, password);
        options.setField(opt::MinimizeToSystemTray, tray);
        QVERIFY(options.update().ok);
        window = new frmPreferences(data.db(), navigation);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
    }
    ~Prefs() { delete window; }
    Q_DISABLE_COPY_MOVE(Prefs)

    template <typename T> T *child(const char *name) const { return window->findChild<T *>(QLatin1String(name)); }
    QLineEdit *box(const char *name) const { return child<QLineEdit>(name); }
    QString option(const QString &field) { return data.fieldOf(names::Options, 1, field); }
    // Save, waiting for a password hash to be computed.
    void save()
    {
        QTest::mouseClick(child<FlatButton>("cmdSave"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window->isSaving(), 20000);
    }

    TestData data;
    FakeNavigation navigation{data.db()};
    frmPreferences *window = nullptr;
};

const QString kArgonSecret = hashPassword(QStringLiteral("Secret"));

} // namespace

class PreferencesTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The boxes show only while the box is checked; a stored password shows as
    // a stand-in in both, never as its stored text.
    void passwordBoxesFollowTheCheckBox()
    {
        Prefs prefs(QStringLiteral("False"), kArgonSecret);
        QVERIFY(prefs.window->isLoaded());
        QCOMPARE(prefs.window->windowTitle(), QStringLiteral("Preferences"));
        QCOMPARE(QAccessible::queryAccessibleInterface(prefs.window)->role(), QAccessible::Dialog);
        QVERIFY(!prefs.window->isModal());
        auto *check = prefs.child<QCheckBox>("chkPassword");
        QVERIFY(!check->isChecked());
        QVERIFY(!prefs.box("txtNewPassword")->isVisible());
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(6, check->height() / 2));
        for (const char *name : {"txtNewPassword", "txtConfirmPassword"}) {
            QVERIFY2(prefs.box(name)->isVisible(), name);
            QVERIFY2(!prefs.box(name)->text().isEmpty(), name);
            QVERIFY2(prefs.box(name)->text() != kArgonSecret, name);
        }
        check->setChecked(false);
        QVERIFY(!prefs.box("txtConfirmPassword")->isVisible());
    }

    void save_data()
    {
        QTest::addColumn<QString>("stored");      // the stored password
        QTest::addColumn<bool>("require");        // the check box at Save
        QTest::addColumn<QString>("password");    // typed into each box; "-" types nothing
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QString>("message");     // empty: saved
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("accepts");     // what the stored password accepts afterwards
        const QString none = QStringLiteral("-");
        const QString refused = QStringLiteral("Please re-confirm password.");
        const QString missing = QStringLiteral("Please enter and confirm a password");
        QTest::newRow("re-enabling keeps the stored password")
            << kArgonSecret << true << none << none << QString() << QString() << QStringLiteral("Secret");
        QTest::newRow("unchecking keeps the password")
            << kArgonSecret << false << none << none << QString() << QString() << QStringLiteral("Secret");
        QTest::newRow("a plain stored password is kept, hashed")
            << QStringLiteral("Old") << true << none << none << QString() << QString() << QStringLiteral("Old");
        QTest::newRow("new password") << QString() << true << QStringLiteral("Neu") << QStringLiteral("Neu")
                                      << QString() << QString() << QStringLiteral("Neu");
        QTest::newRow("typing replaces the stand-in") << kArgonSecret << true << QStringLiteral("Neu")
                                                      << QStringLiteral("Neu") << QString() << QString()
                                                      << QStringLiteral("Neu");
        QTest::newRow("one character differs") << QString() << true << QStringLiteral("Neu")
                                               << QStringLiteral("Nen") << refused << QStringLiteral("txtConfirmPassword")
                                               << QString();
        QTest::newRow("letter case differs") << QString() << true << QStringLiteral("Neu") << QStringLiteral("neu")
                                             << refused << QStringLiteral("txtConfirmPassword") << QString();
        QTest::newRow("only one box retyped") << kArgonSecret << true << QStringLiteral("Neu") << none << refused
                                              << QStringLiteral("txtConfirmPassword") << QStringLiteral("Secret");
        QTest::newRow("empty confirmation") << QString() << true << QStringLiteral("Neu") << QString() << missing
                                            << QStringLiteral("txtConfirmPassword") << QString();
        QTest::newRow("empty password") << QString() << true << QString() << QStringLiteral("Neu") << missing
                                        << QStringLiteral("txtNewPassword") << QString();
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
        Prefs prefs(require ? QStringLiteral("False") : QStringLiteral("True"), stored);
        QVERIFY(QTest::qWaitForWindowExposed(prefs.window));
        QSignalSpy saved(prefs.window, &frmPreferences::saved);
        prefs.child<QCheckBox>("chkPassword")->setChecked(require);
        const auto type = [&](const char *name, const QString &text) {
            if (text == QLatin1String("-"))
                return;
            prefs.box(name)->setFocus();
            QTest::keyClicks(prefs.box(name), text);
        };
        type("txtNewPassword", password);
        type("txtConfirmPassword", confirmation);
        prefs.save();

        QCOMPARE(prefs.data.desktop().messageTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(saved.count(), message.isEmpty() ? 1 : 0);
        QCOMPARE(prefs.window->isVisible(), !message.isEmpty());
        const QString after = prefs.option(opt::Password);
        if (!message.isEmpty()) {
            QCOMPARE(QApplication::focusWidget(), prefs.box(qPrintable(focus)));
            if (message.startsWith(QLatin1String("Please re")))
                QCOMPARE(prefs.box("txtConfirmPassword")->selectedText(), prefs.box("txtConfirmPassword")->text());
            QCOMPARE(after, stored);
            QCOMPARE(prefs.option(opt::RequirePassword), require ? QStringLiteral("False") : QStringLiteral("True"));
            return;
        }
        QCOMPARE(prefs.option(opt::RequirePassword), require ? QStringLiteral("True") : QStringLiteral("False"));
        if (!require) {
            QCOMPARE(after, stored);
        } else {
            QCOMPARE(storedPasswordForm(after), StoredPasswordForm::Argon2id);
            QVERIFY2(passwordMatches(accepts, after), qPrintable(after));
        }
    }

    // The main window is told only when the tray option changed; it then
    // adds or removes the icon at once.
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
        Prefs prefs(QStringLiteral("False"), QString(), before ? QStringLiteral("True") : QStringLiteral("False"));
        if (before)
            prefs.navigation.settingsChanged();
        prefs.navigation.settingsChanges = 0;
        QCOMPARE(prefs.child<QCheckBox>("chkMinimizeToSystemTray")->isChecked(), before);
        prefs.child<QCheckBox>("chkMinimizeToSystemTray")->setChecked(after);
        prefs.save();
        QCOMPARE(prefs.option(opt::MinimizeToSystemTray), after ? QStringLiteral("True") : QStringLiteral("False"));
        QCOMPARE(prefs.navigation.settingsChanges, before == after ? 0 : 1);
        QCOMPARE(prefs.data.desktop().isTrayIconShown(), after);
    }

    // Close writes nothing, also while a new password is still being hashed.
    void closeWritesNothing_data()
    {
        QTest::addColumn<bool>("whileHashing");
        QTest::addColumn<bool>("escape");
        QTest::newRow("Close") << false << false;
        QTest::newRow("Close while hashing") << true << false;
        QTest::newRow("Escape while hashing") << true << true;
    }
    void closeWritesNothing()
    {
        QFETCH(bool, whileHashing);
        QFETCH(bool, escape);
        Prefs prefs(QStringLiteral("False"), QString());
        prefs.child<QCheckBox>("chkPassword")->setChecked(true);
        prefs.child<QCheckBox>("chkMinimizeToSystemTray")->setChecked(true);
        QTest::keyClicks(prefs.box("txtNewPassword"), QStringLiteral("pw"));
        QTest::keyClicks(prefs.box("txtConfirmPassword"), QStringLiteral("pw"));
        if (whileHashing) {
            prefs.window->cmdSave_Click();
            QVERIFY(prefs.window->isSaving());
        }
        if (escape)
            QTest::keyClick(prefs.window, Qt::Key_Escape);
        else
            QTest::mouseClick(prefs.child<FlatButton>("cmdClose"), Qt::LeftButton);
        QVERIFY(!prefs.window->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!prefs.window->isSaving(), 20000);
        QCOMPARE(QStringList({prefs.option(opt::RequirePassword), prefs.option(opt::Password),
                              prefs.option(opt::MinimizeToSystemTray)}),
                 QStringList({QStringLiteral("False"), QString(), QStringLiteral("False")}));
        QCOMPARE(prefs.navigation.settingsChanges, 0);
    }

    // A failed write is reported and the window stays; the writes before it
    // are undone, so no new password is left without its switch.
    void failedWriteKeepsWindowOpen()
    {
        Prefs prefs(QStringLiteral("False"), kArgonSecret);
        QVERIFY(QSqlQuery(prefs.data.db().connection())
                    .exec(QStringLiteral("CREATE TEMP TRIGGER full BEFORE UPDATE OF \"Minimize to System Tray\" "
                                         "ON Options BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        prefs.child<QCheckBox>("chkPassword")->setChecked(true);
        prefs.child<QCheckBox>("chkMinimizeToSystemTray")->setChecked(true);
        QTest::keyClicks(prefs.box("txtNewPassword"), QStringLiteral("Neu"));
        QTest::keyClicks(prefs.box("txtConfirmPassword"), QStringLiteral("Neu"));
        prefs.save();
        QCOMPARE(prefs.data.desktop().messages.size(), 1);
        QVERIFY(prefs.data.desktop().messageTexts().first().contains(QStringLiteral("disk full")));
        QVERIFY(prefs.window->isVisible());
        QCOMPARE(prefs.option(opt::Password), kArgonSecret);
        QCOMPARE(prefs.option(opt::RequirePassword), QStringLiteral("False"));
        QCOMPARE(prefs.navigation.settingsChanges, 0);
    }

    // Unreadable settings are reported, never shown as "all off".
    void unreadableSettingsAreReported()
    {
        TestData data;
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("DROP TABLE \"Event Alarm Sound File\"")));
        QString error;
        QVERIFY(!getMinimizeToSystemTray(data.db(), &error));
        QVERIFY(!error.isEmpty());
        FakeNavigation navigation(data.db());
        frmPreferences window(data.db(), navigation);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QVERIFY(!window.isLoaded());
        QCOMPARE(data.desktop().messages.size(), 1);
        window.cmdSave_Click();
        QCOMPARE(data.desktop().messages.size(), 1);
    }
};

BREVANE_TEST(PreferencesTests)
#include "tst_preferences.moc"
