#include "testsupport.h"

#include "platform/windowaccessibility.h"
#include "store/recordset.h"

#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>

namespace brevane::testing {

void initTestEnvironment()
{
    QStandardPaths::setTestModeEnabled(true);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    installWindowAccessibility();
}

TestData::TestData(const QDate &today)
{
    m_desktop.setToday(today);
    setDesktop(&m_desktop);
    QString error;
    m_db = store::Database::open(path(), &error);
    if (!m_db)
        qWarning("test data file not opened: %s", qPrintable(error));
}

TestData::~TestData()
{
    m_db.reset();
    setDesktop(nullptr);
}

QString TestData::path() const
{
    return m_dir.filePath(QStringLiteral("Brevane Organizer Database.sqlite"));
}

store::RecordId TestData::insert(const QString &table,
                                 const QList<std::pair<QString, QString>> &fields)
{
    QStringList names;
    for (const auto &field : fields)
        names << store::Database::quoteName(field.first);
    QSqlQuery query(m_db->connection());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(store::Database::quoteName(table), names.join(u','),
                           QStringList(names.size(), QStringLiteral("?")).join(u',')));
    for (const auto &field : fields)
        query.addBindValue(field.second);
    if (!query.exec()) {
        qWarning("insert failed: %s", qPrintable(query.lastError().text()));
        return store::kNoRecord;
    }
    return query.lastInsertId().toLongLong();
}

QString TestData::fieldOf(const QString &table, store::RecordId id, const QString &field)
{
    QSqlQuery query(m_db->connection());
    query.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE rowid = ?")
                      .arg(store::Database::quoteName(field), store::Database::quoteName(table)));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return QStringLiteral("<no record>");
    return query.value(0).toString();
}

int TestData::countOf(const QString &table)
{
    QSqlQuery query(m_db->connection());
    if (!query.exec(QStringLiteral("SELECT count(*) FROM %1").arg(store::Database::quoteName(table)))
        || !query.next())
        return -1;
    return query.value(0).toInt();
}

namespace {

// The three triggers that make writes to a table fail, by name and operation.
void setWritesFailing(QSqlDatabase db, const QString &table, bool fail)
{
    for (const QString &op : {QStringLiteral("INSERT"), QStringLiteral("UPDATE"), QStringLiteral("DELETE")}) {
        const QString name = store::Database::quoteName(QStringLiteral("fail %1 %2").arg(op, table));
        QSqlQuery query(db);
        if (!query.exec(fail ? QStringLiteral("CREATE TEMP TRIGGER %1 BEFORE %2 ON %3 BEGIN SELECT RAISE(ABORT, "
                                              "'disk I/O error'); END").arg(name, op, store::Database::quoteName(table))
                             : QStringLiteral("DROP TRIGGER IF EXISTS temp.%1").arg(name)))
            qWarning("trigger failed: %s", qPrintable(query.lastError().text()));
    }
}

} // namespace

void TestData::failWrites(const QString &table) { setWritesFailing(m_db->connection(), table, true); }
void TestData::allowWrites(const QString &table) { setWritesFailing(m_db->connection(), table, false); }

} // namespace brevane::testing
