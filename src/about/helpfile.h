#pragma once

#include <QString>

namespace brevane {

// "Help File/index.html" next to the program (a build folder or a portable
// copy), otherwise in the installed data folder.
[[nodiscard]] QString helpFilePath();

} // namespace brevane
