#pragma once

#include "store/agendarepository.h"
#include "store/recordset.h"
#include "store/todorepository.h"

#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <memory>

namespace brevane::store {

class Database;

// Rewrites every field of many stored tasks or to-do items, as an import does
// that finds its records again by their UIDs: one statement, prepared once,
// for all of them, inside the caller's transaction (the import's, so that
// Cancel or a failure undoes them all). The stored texts are those that
// update() with every field writes; a text longer than the typed limit is
// refused whatever was stored before.
class AgendaBulkUpdate
{
public:
    explicit AgendaBulkUpdate(Database &db);
    ~AgendaBulkUpdate();
    Q_DISABLE_COPY_MOVE(AgendaBulkUpdate)

    // Fails when the task is gone or cannot be written.
    [[nodiscard]] WriteResult update(const AgendaTask &task);

private:
    Database &m_db;
    std::unique_ptr<QSqlQuery> m_query;
    QStringList m_columns; // bound in this order, then the identity
};

class ToDoBulkUpdate
{
public:
    explicit ToDoBulkUpdate(Database &db);
    ~ToDoBulkUpdate();
    Q_DISABLE_COPY_MOVE(ToDoBulkUpdate)

    // Fails when the item is gone or cannot be written.
    [[nodiscard]] WriteResult update(const ToDoItem &item);

private:
    Database &m_db;
    std::unique_ptr<QSqlQuery> m_query;
    QStringList m_columns; // bound in this order, then the identity
};

} // namespace brevane::store
