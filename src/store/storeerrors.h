#pragma once

#include "store/recordset.h"

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

// Makes the record a write changes current in `set`, a set opened on that one
// record: an empty text, a read failure naming the file, or `gone` when the
// record is no longer there.
[[nodiscard]] QString findToChange(const Database &db, RecordSet &set, RecordId id, const QString &gone);
// Deletes one record of a table; `gone` when it is no longer there.
[[nodiscard]] WriteResult removeRecord(Database &db, const QString &table, RecordId id, const QString &gone);

} // namespace errors
} // namespace brevane::store
