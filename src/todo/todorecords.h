#pragma once

#include "store/todorepository.h"

namespace brevane::todo {

// The to-do list's record access, shaped like the typed to-do repository so
// that the view reads records, never grid cells or stored texts.
class ToDoRecords
{
public:
    explicit ToDoRecords(store::Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(ToDoRecords)

    [[nodiscard]] store::ReadResult<QList<store::ToDoItem>> all() const;
    [[nodiscard]] store::WriteResult update(const store::ToDoItem &item, store::ToDoFields fields);
    [[nodiscard]] store::WriteResult remove(store::RecordId id);

private:
    store::Database &m_db;
};

} // namespace brevane::todo
