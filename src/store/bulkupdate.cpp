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
// for the fields the repository stores, in the table's order; an empty text
// when it is ready.
QString prepare(Database &db, std::unique_ptr<QSqlQuery> &query, QStringList &columns, const QString &table,
                const QHash<QString, QString> &values)
{
    if (query)
        return {};
    QStringList assignments;
    for (const QString &field : Database::fieldsOf(table)) {
        if (values.contains(field)) {
            columns << field;
            assignments << Database::quoteName(field) + QStringLiteral(" = ?");
        }
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
WriteResult rewrite(Database &db, std::unique_ptr<QSqlQuery> &query, QStringList &columns, const QString &table,
                    const QHash<QString, QString> &values, const QString &problem, RecordId id, const QString &gone)
{
    if (!problem.isEmpty())
        return {false, problem};
    if (const QString failed = prepare(db, query, columns, table, values); !failed.isEmpty())
        return {false, failed};
    for (qsizetype i = 0; i < columns.size(); ++i) {
        const QString value = values.value(columns.at(i));
        query->bindValue(int(i), value.isNull() ? QStringLiteral("") : value);
    }
    query->bindValue(int(columns.size()), id);
    if (!query->exec())
        return {false, errors::writeFailure(db, errors::errorText(query->lastError()))};
    if (query->numRowsAffected() != 1)
        return {false, gone};
    return {true, {}};
}

} // namespace

AgendaBulkUpdate::AgendaBulkUpdate(Database &db) : m_db(db) {}
AgendaBulkUpdate::~AgendaBulkUpdate() = default;

WriteResult AgendaBulkUpdate::update(const AgendaTask &task)
{
    QString problem;
    const QHash<QString, QString> values = AgendaRepository::storedFields(task, &problem);
    return rewrite(m_db, m_query, m_columns, names::Agenda, values, problem, task.id,
                   QStringLiteral("The task no longer exists.  It may have been deleted."));
}

ToDoBulkUpdate::ToDoBulkUpdate(Database &db) : m_db(db) {}
ToDoBulkUpdate::~ToDoBulkUpdate() = default;

WriteResult ToDoBulkUpdate::update(const ToDoItem &item)
{
    QString problem;
    const QHash<QString, QString> values = ToDoRepository::storedFields(item, &problem);
    return rewrite(m_db, m_query, m_columns, names::ToDo, values, problem, item.id,
                   QStringLiteral("This to-do item no longer exists.  It may have been deleted."));
}

} // namespace brevane::store
