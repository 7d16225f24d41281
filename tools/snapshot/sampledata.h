#pragma once

#include <QDate>

namespace brevane::store { class Database; }

namespace brevane::snapshot {

// The day the sample data is built around; the snapshots' "today".
inline const QDate kSampleToday{2026, 3, 5};

// Fills a fresh data file with a believable week of entries.
void fillSampleData(store::Database &db);
void setPasswordRequired(store::Database &db, bool required);
// Adds an agenda task whose reminder is due on the sample day; returns its record.
qint64 addDueReminder(store::Database &db);

} // namespace brevane::snapshot
