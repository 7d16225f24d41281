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
// does that finds its records again by their UIDs (a record that holds every
// value already is left untouched): one statement per table,
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

    // Each fails when its record is gone or cannot be written.
    [[nodiscard]] WriteResult update(const AgendaTask &task);
    [[nodiscard]] WriteResult update(const ToDoItem &item);

    // One table's update, the fields it binds in order, and the look-up of
    // a record it left alone.
    struct Statement {
        std::unique_ptr<QSqlQuery> query;
        std::unique_ptr<QSqlQuery> exists;
        QStringList columns;
    };

private:
    Database &m_db;
    Statement m_agenda;
    Statement m_toDo;
};

} // namespace brevane::store
