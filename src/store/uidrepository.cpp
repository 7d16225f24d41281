#include "store/uidrepository.h"

#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QSqlError>
#include <QStringList>
#include <QVariant>

#include <algorithm>

namespace brevane::store {

namespace {

const QString kUids = QStringLiteral("\"Record UIDs\"");

QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

} // namespace

UidRepository::~UidRepository() = default;

ReadResult<QString> UidRepository::uidOf(const QString &table, RecordId id) const
{
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT \"UID\" FROM %1 WHERE \"Table Name\" = ? AND \"Record\" = ?").arg(kUids));
    query.addBindValue(table);
    query.addBindValue(id);
    if (!query.exec())
        return ReadResult<QString>::failed(errors::readFailure(m_db, errors::errorText(query.lastError())));
    if (!query.next())
        return {};
    return {query.value(0).toString(), {}};
}

ReadResult<RecordId> UidRepository::recordOf(const QString &table, const QString &uid) const
{
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT \"Record\" FROM %1 WHERE \"Table Name\" = ? AND \"UID\" = ?").arg(kUids));
    query.addBindValue(table);
    query.addBindValue(text(uid));
    if (!query.exec())
        return ReadResult<RecordId>::failed(errors::readFailure(m_db, errors::errorText(query.lastError())));
    if (!query.next())
        return {};
    return {query.value(0).toLongLong(), {}};
}

ReadResult<QHash<RecordId, QString>> UidRepository::uidsOf(const QString &table) const
{
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT \"Record\", \"UID\" FROM %1 WHERE \"Table Name\" = ?").arg(kUids));
    query.addBindValue(table);
    if (!query.exec())
        return ReadResult<QHash<RecordId, QString>>::failed(
            errors::readFailure(m_db, errors::errorText(query.lastError())));
    QHash<RecordId, QString> uids;
    while (query.next())
        uids.insert(query.value(0).toLongLong(), query.value(1).toString());
    return {std::move(uids), {}};
}

WriteResult UidRepository::set(const QString &table, RecordId id, const QString &uid)
{
    if (id == kNoRecord || uid.isEmpty())
        return {false, QStringLiteral("A record without identity or an empty UID cannot be stored.")};
    if (!m_setQuery) {
        m_setQuery = std::make_unique<QSqlQuery>(m_db.connection());
        // REPLACE drops the rows either unique key collides with: the
        // record's old UID and the UID's old record.
        if (!m_setQuery->prepare(
                QStringLiteral("INSERT OR REPLACE INTO %1 (\"Table Name\", \"Record\", \"UID\") VALUES (?, ?, ?)")
                    .arg(kUids))) {
            const QString reason = errors::errorText(m_setQuery->lastError());
            m_setQuery.reset();
            return {false, errors::writeFailure(m_db, reason)};
        }
    }
    m_setQuery->bindValue(0, table);
    m_setQuery->bindValue(1, id);
    m_setQuery->bindValue(2, uid);
    if (!m_setQuery->exec())
        return {false, errors::writeFailure(m_db, errors::errorText(m_setQuery->lastError()))};
    return {true, {}};
}

WriteResult UidRepository::setAll(const QString &table, const QList<std::pair<RecordId, QString>> &uids)
{
    // Many rows per statement: the statement, not the row, is what costs.
    constexpr qsizetype kRowsPerStatement = 200;
    QSqlQuery query(m_db.connection());
    qsizetype preparedRows = 0;
    for (qsizetype first = 0; first < uids.size(); first += kRowsPerStatement) {
        const qsizetype rows = std::min(kRowsPerStatement, uids.size() - first);
        for (qsizetype i = first; i < first + rows; ++i) {
            if (uids.at(i).first == kNoRecord || uids.at(i).second.isEmpty())
                return {false, QStringLiteral("A record without identity or an empty UID cannot be stored.")};
        }
        if (rows != preparedRows) {
            const QString statement =
                QStringLiteral("INSERT OR REPLACE INTO %1 (\"Table Name\", \"Record\", \"UID\") VALUES %2")
                    .arg(kUids, QStringList(rows, QStringLiteral("(?, ?, ?)")).join(u','));
            if (!query.prepare(statement))
                return {false, errors::writeFailure(m_db, errors::errorText(query.lastError()))};
            preparedRows = rows;
        }
        for (qsizetype i = 0; i < rows; ++i) {
            query.bindValue(int(3 * i), table);
            query.bindValue(int(3 * i + 1), uids.at(first + i).first);
            query.bindValue(int(3 * i + 2), uids.at(first + i).second);
        }
        if (!query.exec())
            return {false, errors::writeFailure(m_db, errors::errorText(query.lastError()))};
    }
    return {true, {}};
}

WriteResult UidRepository::giveMissing(const QString &table)
{
    if (!Database::tableNames().contains(table))
        return {false, QStringLiteral("The table \"%1\" has no records with UIDs.").arg(table)};
    // A version 4 UUID from 16 random bytes: the version nibble set to 4 and
    // the variant nibble to one of 8, 9, a, b. Materialized, so that each
    // row's bytes are drawn once and not once for each piece cut from them.
    const QString statement = QStringLiteral(
        "WITH fresh (record, h) AS MATERIALIZED (SELECT rowid, lower(hex(randomblob(16))) FROM %1 "
        "WHERE rowid NOT IN (SELECT \"Record\" FROM %2 WHERE \"Table Name\" = ?)) "
        "INSERT INTO %2 (\"Table Name\", \"Record\", \"UID\") SELECT ?, record, "
        "substr(h, 1, 8) || '-' || substr(h, 9, 4) || '-4' || substr(h, 14, 3) || '-' "
        "|| substr('89ab89ab89ab89ab', instr('0123456789abcdef', substr(h, 17, 1)), 1) || substr(h, 18, 3) "
        "|| '-' || substr(h, 21, 12) FROM fresh")
                                  .arg(Database::quoteName(table), kUids);
    QSqlQuery query(m_db.connection());
    if (!query.prepare(statement))
        return {false, errors::writeFailure(m_db, errors::errorText(query.lastError()))};
    query.addBindValue(table);
    query.addBindValue(table);
    if (!query.exec())
        return {false, errors::writeFailure(m_db, errors::errorText(query.lastError()))};
    return {true, {}};
}

ReadResult<QHash<RecordId, QString>> ContactCategoryRepository::all() const
{
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT rowid, \"Category\" FROM %1").arg(Database::quoteName(names::Contacts))))
        return ReadResult<QHash<RecordId, QString>>::failed(
            errors::readFailure(m_db, errors::errorText(query.lastError())));
    QHash<RecordId, QString> categories;
    while (query.next())
        categories.insert(query.value(0).toLongLong(), query.value(1).toString());
    return {std::move(categories), {}};
}

WriteResult ContactCategoryRepository::set(RecordId id, const QString &category)
{
    QSqlQuery query(m_db.connection());
    query.prepare(
        QStringLiteral("UPDATE %1 SET \"Category\" = ? WHERE rowid = ?").arg(Database::quoteName(names::Contacts)));
    query.addBindValue(text(category));
    query.addBindValue(id);
    if (!query.exec())
        return {false, errors::writeFailure(m_db, errors::errorText(query.lastError()))};
    if (query.numRowsAffected() == 0)
        return {false, QStringLiteral("The contact no longer exists.  It may have been deleted.")};
    return {true, {}};
}

} // namespace brevane::store
