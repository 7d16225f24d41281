#pragma once

#include "store/agendarepository.h"

namespace brevane::agenda {

// The agenda's record access, shaped like the typed agenda repository so
// that the view reads records, never grid cells or stored texts.
class AgendaRecords
{
public:
    explicit AgendaRecords(store::Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(AgendaRecords)

    [[nodiscard]] store::ReadResult<QList<store::AgendaTask>> month(int year, int month) const;
    [[nodiscard]] store::ReadResult<store::AgendaTask> byId(store::RecordId id) const;
    [[nodiscard]] store::WriteResult remove(store::RecordId id);
    // Sets the task's reminder to fall leadDays (0: none) before its day.
    [[nodiscard]] store::WriteResult setReminderLead(store::RecordId id, int leadDays);

private:
    store::Database &m_db;
};

} // namespace brevane::agenda
