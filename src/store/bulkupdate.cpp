#include "store/bulkupdate.h"

#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QSqlError>
#include <QStringList>
#include <QVariant>

namespace brevane::store {

namespace {

// Prepares "UPDATE table SET field = ?, ... WHERE rowid = ?" on first use,
// for the fields the repository stores, in the order it writes them; an
// empty text when it is ready.
QString prepare(Database &db, BulkUpdate::Statement &statement, const QString &table, const StoredFields &values)
{
    std::unique_ptr<QSqlQuery> &query = statement.query;
    QStringList &columns = statement.columns;
    if (query)
        return {};
    QStringList assignments;
    for (const auto &[field, value] : values) {
        columns << field;
        assignments << Database::quoteName(field) + QStringLiteral(" = ?");
    }
    query = std::make_unique<QSqlQuery>(db.connection());
    if (query->prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                           .arg(Database::quoteName(table), assignments.join(QStringLiteral(", ")))))
        return {};
    const QString reason = errors::writeFailure(db, errors::errorText(query->lastError()));
    query.reset();
    columns.clear();
    return reason;
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
    for (qsizetype i = 0; i < statement.columns.size(); ++i) {
        Q_ASSERT(values.at(i).first == statement.columns.at(i));
        const QString &value = values.at(i).second;
        query.bindValue(int(i), value.isNull() ? QStringLiteral("") : value);
    }
    query.bindValue(int(statement.columns.size()), id);
    if (!query.exec())
        return {false, errors::writeFailure(db, errors::errorText(query.lastError()))};
    if (query.numRowsAffected() != 1)
        return {false, gone};
    return {true, {}};
}

} // namespace

BulkUpdate::BulkUpdate(Database &db) : m_db(db) {}
BulkUpdate::~BulkUpdate() = default;

WriteResult BulkUpdate::update(const AgendaTask &task, const AgendaTask *stored)
{
    QString problem;
    const StoredFields values = AgendaRepository::storedFields(task, &problem);
    // A stored record the checks would refuse now (a text written elsewhere,
    // longer than the limit) is only compared with, never a reason to fail.
    QString storedProblem;
    if (stored && problem.isEmpty() && AgendaRepository::storedFields(*stored, &storedProblem) == values)
        return {true, {}};
    return rewrite(m_db, m_agenda, names::Agenda, values, problem, task.id,
                   QStringLiteral("The task no longer exists.  It may have been deleted."));
}

WriteResult BulkUpdate::update(const ToDoItem &item, const ToDoItem *stored)
{
    QString problem;
    const StoredFields values = ToDoRepository::storedFields(item, &problem);
    QString storedProblem;
    if (stored && problem.isEmpty() && ToDoRepository::storedFields(*stored, &storedProblem) == values)
        return {true, {}};
    return rewrite(m_db, m_toDo, names::ToDo, values, problem, item.id,
                   QStringLiteral("This to-do item no longer exists.  It may have been deleted."));
}

} // namespace brevane::store
