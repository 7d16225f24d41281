#pragma once

#include <QString>
#include <QStringList>

namespace brevane {

// The programs that show what the computer is made of, best first.
[[nodiscard]] const QStringList &systemInformationTools();

// The full path of the first of them found on the PATH; empty when none is.
[[nodiscard]] QString findSystemInformationTool();

} // namespace brevane
