// The quick-links manager: browsing the sample links, and adding one.

#include "platform/navigation.h"
#include "quick_links/frmquicklinks.h"
#include "snapshot.h"

#include <QApplication>
#include <QLineEdit>

using namespace brevane;

namespace {

class NoNavigation final : public Navigation
{
public:
    NoNavigation() = default;
    Q_DISABLE_COPY_MOVE(NoNavigation)
    void showDay(const QDate &) override {}
    bool showAgendaTask(store::RecordId) override { return true; }
    bool showToDoItem(store::RecordId) override { return true; }
    void reloadQuickLinks() override {}
    void settingsChanged() override {}
    void reloadAll() override {}
};

} // namespace

BREVANE_SNAPSHOT(quick_links)
{
    NoNavigation navigation;
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
