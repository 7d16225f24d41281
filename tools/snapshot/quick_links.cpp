// The quick-links manager: browsing the sample links, and adding one.

#include "fakenavigation.h"
#include "quick_links/frmquicklinks.h"
#include "snapshot.h"

#include <QApplication>
#include <QLineEdit>

using namespace brevane;

BREVANE_SNAPSHOT(quick_links)
{
    testing::FakeNavigation navigation;
    frmQuickLinks window(db, navigation);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    bool ok = snapshot::save(&window, QStringLiteral("quick-links"));
    window.cmdAddNew_Click();
    window.findChild<QLineEdit *>(QStringLiteral("txtName"))->setText(QStringLiteral("Terminal"));
    window.findChild<QLineEdit *>(QStringLiteral("txtPath"))->setText(QStringLiteral("/usr/bin/xterm"));
    ok &= snapshot::save(&window, QStringLiteral("quick-links-adding"));
    return ok;
}
