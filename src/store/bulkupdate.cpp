#include "store/bulkupdate.h"

#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QSqlError>
#include <QStringList>
#include <QVariant>

namespace brevane::store {

namespace {

// Prepares, on first use, the update of the fields the repository stores,
// in the order it writes them, and the look-up that tells an unchanged
// record from a gone one; an empty text when they are ready. A record that
// already holds every value is not written at all, so that importing the
// same file again leaves its records, and the file's pages, as they were.
QString prepare(Database &db, BulkUpdate::Statement &statement, const QString &table, const StoredFields &values)
{
    if (statement.query)
        return {};
    QStringList assignments;
    QStringList differences;
    for (const auto &[field, value] : values) {
        statement.columns << field;
        assignments << Database::quoteName(field) + QStringLiteral(" = ?");
        differences << Database::quoteName(field) + QStringLiteral(" IS NOT ?");
    }
    auto update = std::make_unique<QSqlQuery>(db.connection());
    auto exists = std::make_unique<QSqlQuery>(db.connection());
    if (update->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ? AND (%3)")
                            .arg(Database::quoteName(table), assignments.join(QStringLiteral(", ")),
                                 differences.join(QStringLiteral(" OR "))))
        && exists->prepare(QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?").arg(Database::quoteName(table)))) {
        statement.query = std::move(update);
        statement.exists = std::move(exists);
        return {};
    }
    statement.columns.clear();
    return errors::writeFailure(db, errors::errorText(update->lastError().isValid() ? update->lastError()
                                                                                    : exists->lastError()));
}

// Writes the stored values of one record; the record must still be there.
WriteResult rewrite(Database &db, BulkUpdate::Statement &statement, const QString &table,
                    const StoredFields &values, const QString &problem, RecordId id, const QString &gone)
{
    if (!problem.isEmpty())
        return {false, problem};
    if (const QString failed = prepare(db, statement, table, values); !failed.isEmpty())
        return {false, failed};
    QSqlQuery &query = *statement.query;
    const int count = int(statement.columns.size());
    for (int i = 0; i < count; ++i) {
        Q_ASSERT(values.at(i).first == statement.columns.at(i));
        const QString &value = values.at(i).second;
        const QString bound = value.isNull() ? QStringLiteral("") : value;
        query.bindValue(i, bound);
        query.bindValue(count + 1 + i, bound);
    }
    query.bindValue(count, id);
    if (!query.exec())
        return {false, errors::writeFailure(db, errors::errorText(query.lastError()))};
    if (query.numRowsAffected() == 1)
        return {true, {}};
    QSqlQuery &exists = *statement.exists;
    exists.bindValue(0, id);
    if (!exists.exec())
        return {false, errors::writeFailure(db, errors::errorText(exists.lastError()))};
    const bool found = exists.next();
    exists.finish();
    return found ? WriteResult{true, {}} : WriteResult{false, gone};
}

} // namespace

BulkUpdate::BulkUpdate(Database &db) : m_db(db) {}
BulkUpdate::~BulkUpdate() = default;

WriteResult BulkUpdate::update(const AgendaTask &task)
{
    QString problem;
    const StoredFields values = AgendaRepository::storedFields(task, &problem);
    return rewrite(m_db, m_agenda, names::Agenda, values, problem, task.id,
                   QStringLiteral("The task no longer exists.  It may have been deleted."));
}

WriteResult BulkUpdate::update(const ToDoItem &item)
{
    QString problem;
    const StoredFields values = ToDoRepository::storedFields(item, &problem);
    return rewrite(m_db, m_toDo, names::ToDo, values, problem, item.id,
                   QStringLiteral("This to-do item no longer exists.  It may have been deleted."));
}

} // namespace brevane::store
