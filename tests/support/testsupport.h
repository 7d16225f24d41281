#pragma once

#include "scripteddesktop.h"
#include "store/database.h"
#include "store/recordset.h"
#include "testmain.h"

#include <QTemporaryDir>

#include <memory>

namespace brevane::testing {

// A fresh, open data file in a temporary folder with a scripted desktop and a fixed today. One per test.
class TestData
{
public:
    explicit TestData(const QDate &today = QDate(2003, 3, 5));
    ~TestData();
    Q_DISABLE_COPY_MOVE(TestData)

    [[nodiscard]] bool isValid() const { return m_db != nullptr; }
    [[nodiscard]] store::Database &db() { return *m_db; }
    [[nodiscard]] ScriptedDesktop &desktop() { return m_desktop; }
    [[nodiscard]] QString path() const;
    [[nodiscard]] QString dir() const { return m_dir.path(); }

    // Inserts a record straight into a table (test set-up; bypasses the windows).
    store::RecordId insert(const QString &table, const QList<std::pair<QString, QString>> &fields);
    // The text of one field of one record, read straight from the file.
    [[nodiscard]] QString fieldOf(const QString &table, store::RecordId id, const QString &field);
    [[nodiscard]] int countOf(const QString &table);
    // Makes later writes to the table fail, as a full disk or a locked file would.
    void failWrites(const QString &table);
    void allowWrites(const QString &table);

private:
    QTemporaryDir m_dir;
    ScriptedDesktop m_desktop;
    std::unique_ptr<store::Database> m_db;
};

} // namespace brevane::testing
