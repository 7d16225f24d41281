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

} // namespace brevane::store::errors
