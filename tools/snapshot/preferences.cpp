#include "fakenavigation.h"
#include "preferences/frmpreferences.h"
#include "snapshot.h"
#include "store/settingsrepository.h"

#include <QCheckBox>

using namespace brevane;

BREVANE_SNAPSHOT(preferences)
{
    testing::FakeNavigation navigation;
    bool ok = true;
    {
        frmPreferences window(db, navigation);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        ok &= snapshot::save(&window, QStringLiteral("preferences"));
    }
    {
        // A password is stored: both boxes show the stand-in.
        store::SettingsRepository settings(db);
        const QString before = settings.read().value_or(store::Settings{}).password;
        ok &= settings.setPassword(QStringLiteral("pbkdf2-sha256$1$c2FsdA==$VawEblbjCJ/sFpHCJUS2BflBhSFt3gRl5oudV8INrLw=")).ok;
        frmPreferences window(db, navigation);
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.findChild<QCheckBox *>(QStringLiteral("chkPassword"))->setChecked(true);
        window.findChild<QCheckBox *>(QStringLiteral("chkMinimizeToSystemTray"))->setChecked(true);
        window.show();
        ok &= snapshot::save(&window, QStringLiteral("preferences-password"));
        ok &= settings.setPassword(before).ok;
    }
    return ok;
}
