#include "store/storeerrors.h"

#include "store/database.h"

namespace brevane::store::errors {

QString errorText(const QSqlError &error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

QString readFailure(const Database &db, const QString &reason)
{
    return QStringLiteral("The file '%1' could not be read: %2").arg(db.path(), reason);
}

QString writeFailure(const Database &db, const QString &reason)
{
    return QStringLiteral("The change could not be saved in the file '%1': %2").arg(db.path(), reason);
}

QString findToChange(const Database &db, RecordSet &set, RecordId id, const QString &gone)
{
    if (!set.lastError().isEmpty())
        return readFailure(db, set.lastError());
    return id != kNoRecord && set.moveToRecord(id) ? QString() : gone;
}

WriteResult removeRecord(Database &db, const QString &table, RecordId id, const QString &gone)
{
    RecordSet set(db, table, onlyRecord(id));
    if (const QString problem = findToChange(db, set, id, gone); !problem.isEmpty())
        return {false, problem};
    return set.deleteCurrent();
}

} // namespace brevane::store::errors
