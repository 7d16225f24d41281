#pragma once

#include <QIcon>

namespace brevane {

// The organizer's icon: a calendar page, drawn rather than shipped so that
// every size is sharp. The installed desktop entry uses the matching SVG.
[[nodiscard]] QIcon appIcon();

} // namespace brevane
