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
    QStringList marks;
    for (const auto &field : fields) {
        names << store::Database::quoteName(field.first);
        marks << QStringLiteral("?");
    }
    QSqlQuery query(m_db->connection());
    query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(store::Database::quoteName(table), names.join(u','), marks.join(u',')));
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

void TestData::failWrites(const QString &table)
{
    const QString quoted = store::Database::quoteName(table);
    for (const QString &op : {QStringLiteral("INSERT"), QStringLiteral("UPDATE"), QStringLiteral("DELETE")}) {
        QSqlQuery query(m_db->connection());
        const QString name = store::Database::quoteName(QStringLiteral("fail %1 %2").arg(op, table));
        if (!query.exec(QStringLiteral("CREATE TEMP TRIGGER %1 BEFORE %2 ON %3 "
                                       "BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")
                            .arg(name, op, quoted)))
            qWarning("trigger failed: %s", qPrintable(query.lastError().text()));
    }
}

void TestData::allowWrites(const QString &table)
{
    for (const QString &op : {QStringLiteral("INSERT"), QStringLiteral("UPDATE"), QStringLiteral("DELETE")}) {
        QSqlQuery query(m_db->connection());
        (void)query.exec(QStringLiteral("DROP TRIGGER IF EXISTS temp.%1")
                             .arg(store::Database::quoteName(QStringLiteral("fail %1 %2").arg(op, table))));
    }
}

} // namespace brevane::testing
