#pragma once

#include <QSqlError>
#include <QString>

// The texts of read and write failures as the user sees them: each names the
// data file, so that a message says which file could not be used.
namespace brevane::store {

class Database;

namespace errors {

// SQLite's own words for an error when it gave some, Qt's otherwise.
[[nodiscard]] QString errorText(const QSqlError &error);
[[nodiscard]] QString readFailure(const Database &db, const QString &reason);
[[nodiscard]] QString writeFailure(const Database &db, const QString &reason);

} // namespace errors
} // namespace brevane::store
