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

// Rewrites every field of many stored tasks and to-do items, as an import
// does that finds its records again by their UIDs: one statement per table,
// prepared once, for all of them, inside the caller's transaction (the
// import's, so that Cancel or a failure undoes them all). The stored texts
// are those that update() with every field writes; a text longer than the
// typed limit is refused whatever was stored before.
class BulkUpdate
{
public:
    explicit BulkUpdate(Database &db);
    ~BulkUpdate();
    Q_DISABLE_COPY_MOVE(BulkUpdate)

    // Each fails when its record is gone or cannot be written. Given the
    // record as stored, one that holds every value already is not written,
    // so that importing the same file again leaves the data file as it was.
    [[nodiscard]] WriteResult update(const AgendaTask &task, const AgendaTask *stored = nullptr);
    [[nodiscard]] WriteResult update(const ToDoItem &item, const ToDoItem *stored = nullptr);

    // One table's statement and the fields it binds, in order, before the identity.
    struct Statement {
        std::unique_ptr<QSqlQuery> query;
        QStringList columns;
    };

private:
    Database &m_db;
    Statement m_agenda;
    Statement m_toDo;
};

} // namespace brevane::store
