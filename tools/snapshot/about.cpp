#include "about/frmabout.h"
#include "platform/appicon.h"
#include "snapshot.h"

#include <QApplication>

using namespace brevane;

BREVANE_SNAPSHOT(about)
{
    (void)db;
    // The program sets its icon before any window opens; the about box shows it.
    const QIcon before = QApplication::windowIcon();
    QApplication::setWindowIcon(appIcon());
    frmAbout window;
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.show();
    const bool ok = snapshot::save(&window, QStringLiteral("about"));
    QApplication::setWindowIcon(before);
    return ok;
}
