#pragma once

#include "store/database.h"

#include <memory>

namespace brevane {

// Opens the data file for the program. When it cannot be used, says why in a
// message box naming the file (and on standard error) and returns nullptr;
// the program then ends with status 1, leaving the file as it was.
[[nodiscard]] std::unique_ptr<store::Database>
openDataFileOrReport(const QString &path, store::Database::Access access = store::Database::Access::ReadWrite);

} // namespace brevane
