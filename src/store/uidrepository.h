#pragma once

#include "store/readresult.h"
#include "store/recordset.h"

#include <QHash>
#include <QList>
#include <QSqlQuery>
#include <QString>

#include <memory>

namespace brevane::store {

class Database;

// The UIDs records carry in calendar and address-book files, one per record
// of "Agenda", "To Do", "Notes" and "Contacts", kept in a table of their own.
// Writes go into the caller's transaction (an import stores thousands); a
// record's UID is removed with the record by the file itself.
class UidRepository
{
public:
    explicit UidRepository(Database &db) : m_db(db) {}
    ~UidRepository();
    Q_DISABLE_COPY_MOVE(UidRepository)

    // The record's UID; no value when it has none.
    [[nodiscard]] ReadResult<QString> uidOf(const QString &table, RecordId id) const;
    // The record that carries the UID; no value when none does.
    [[nodiscard]] ReadResult<RecordId> recordOf(const QString &table, const QString &uid) const;
    // Every UID of the table by record, read at once for bulk work.
    [[nodiscard]] ReadResult<QHash<RecordId, QString>> uidsOf(const QString &table) const;
    // Gives the record this UID, replacing its old one; a record of the same
    // table that carried it before loses it, so that a UID names one record.
    [[nodiscard]] WriteResult set(const QString &table, RecordId id, const QString &uid);
    // The same for many records at once (an import or a first export).
    [[nodiscard]] WriteResult setAll(const QString &table, const QList<std::pair<RecordId, QString>> &uids);
    // Gives every record of the table that has no UID a new random one, of
    // the form QUuid writes (lower-case, without braces), in one statement:
    // a first export of a large file gives thousands at once.
    [[nodiscard]] WriteResult giveMissing(const QString &table);

private:
    Database &m_db;
    // Prepared once: an import sets one UID per record.
    std::unique_ptr<QSqlQuery> m_setQuery;
};

// The contacts' "Category" field, which the contact book keeps without
// showing it; files carry it as the card's categories.
class ContactCategoryRepository
{
public:
    explicit ContactCategoryRepository(Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(ContactCategoryRepository)

    [[nodiscard]] ReadResult<QHash<RecordId, QString>> all() const;
    [[nodiscard]] WriteResult set(RecordId id, const QString &category);

private:
    Database &m_db;
};

} // namespace brevane::store
