#include "platform/desktop.h"

#include <QtGlobal>

namespace brevane {
namespace {
Desktop *g_desktop = nullptr;
}

Desktop &desktop()
{
    Q_ASSERT_X(g_desktop, "desktop()", "no Desktop installed");
    return *g_desktop;
}

void setDesktop(Desktop *desktop)
{
    g_desktop = desktop;
}

} // namespace brevane
