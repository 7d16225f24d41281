#include "store/recordset.h"

#include "core/logging.h"
#include "store/database.h"

#include <QElapsedTimer>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace brevane::store {

namespace {

const QString kRowIdColumn = QStringLiteral("_rid");

QString databaseText(const QSqlError &error)
{
    const QString text = error.databaseText();
    return text.isEmpty() ? error.text() : text;
}

// A null text would be stored as SQL NULL, which no longer reads as the
// number 0 in conditions; every stored value is text, so store an empty one.
QVariant storedText(const QString &value)
{
    return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value);
}

} // namespace

QString containsCondition(const QString &field, const QString &text, QVariantList *values)
{
    // A character that matches an ASCII one in Qt's comparison is that
    // character in either case, or for "s" and "k" the long s and the Kelvin
    // sign, which fold to them. So a match holds each run of the text's ASCII
    // characters as SQL's LIKE finds it, or one of those two.
    QStringView run;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = start;
        while (end < text.size() && text.at(end).unicode() < 0x80)
            ++end;
        if (end - start > run.size())
            run = QStringView(text).mid(start, end - start);
        start = end + 1;
    }
    if (run.isEmpty())
        return {};
    QString pattern = QStringLiteral("%");
    for (QChar ch : run) {
        if (ch == u'%' || ch == u'_' || ch == u'\\')
            pattern += u'\\';
        pattern += ch;
    }
    pattern += u'%';
    const QString quoted = Database::quoteName(field);
    QString condition = QStringLiteral("%1 LIKE ? ESCAPE '\\'").arg(quoted);
    *values << pattern;
    for (const auto &[ascii, folding] : {std::pair{u's', QChar(0x17F)}, {u'k', QChar(0x212A)}}) {
        if (run.contains(QChar(ascii), Qt::CaseInsensitive)) {
            condition += QStringLiteral(" OR instr(%1, ?) > 0").arg(quoted);
            *values << QString(folding);
        }
    }
    return u'(' + condition + u')';
}

RecordSet::RecordSet(Database &db, QString source, QList<NumericCondition> conditions)
    : m_db(db)
    , m_source(std::move(source))
    , m_baseTable(Database::baseTableOf(m_source))
    , m_conditions(std::move(conditions))
{
    requery();
}

RecordSet::~RecordSet() = default;

QString RecordSet::selectStatement(const QString &source, const QList<NumericCondition> &conditions)
{
    const bool isTable = Database::baseTableOf(source) == source;
    QString sql = isTable ? QStringLiteral("SELECT rowid AS %1, * FROM %2")
                                .arg(Database::quoteName(kRowIdColumn), Database::quoteName(source))
                          : QStringLiteral("SELECT * FROM %1").arg(Database::quoteName(source));
    // The same expressions as the agenda's day index, so that the index serves
    // the look-up; CAST reads leading digits and an empty text as 0.
    QStringList terms;
    for (const NumericCondition &condition : conditions) {
        if (condition.field == kIdentityField)
            terms << (isTable ? QStringLiteral("rowid = ?") : Database::quoteName(kRowIdColumn) + QStringLiteral(" = ?"));
        else
            terms << QStringLiteral("CAST(%1 AS INTEGER) = ?").arg(Database::quoteName(condition.field));
    }
    if (!terms.isEmpty())
        sql += QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
    // A view brings its own order.
    if (isTable)
        sql += QStringLiteral(" ORDER BY rowid");
    return sql;
}

bool RecordSet::requery()
{
    QElapsedTimer timer;
    timer.start();
    m_rows.clear();
    m_columns.clear();
    m_columnIndex.clear();
    m_current = 0;
    m_liveCount = 0;
    cancelUpdate();
    m_lastError.clear();

    const auto readFailure = [this](const QString &reason) {
        m_rows.clear();
        m_columns.clear();
        m_columnIndex.clear();
        m_current = 0;
        m_liveCount = 0;
        m_lastError = reason;
        qCWarning(lcStore).noquote() << "reading" << m_source << "failed:" << reason;
        return false;
    };

    if (m_baseTable.isEmpty())
        return readFailure(QStringLiteral("There is no table or query named \"%1\".").arg(m_source));

    const QSqlDatabase connection = m_db.connection();
    if (!m_conditions.isEmpty()) {
        // SQLite reads a double-quoted name that matches no field as a text
        // literal, so an unknown field would silently filter on a constant.
        QSqlQuery info(connection);
        info.setForwardOnly(true);
        info.prepare(QStringLiteral("SELECT name FROM pragma_table_info(?)"));
        info.addBindValue(m_source);
        if (!info.exec())
            return readFailure(databaseText(info.lastError()));
        QSet<QString> fields;
        while (info.next())
            fields.insert(info.value(0).toString());
        for (const NumericCondition &condition : std::as_const(m_conditions)) {
            if (condition.field != kIdentityField && !fields.contains(condition.field)) {
                return readFailure(QStringLiteral("\"%1\" has no field \"%2\".").arg(m_source, condition.field));
            }
        }
    }

    QSqlQuery query(connection);
    query.setForwardOnly(true);
    if (!query.prepare(selectStatement(m_source, m_conditions)))
        return readFailure(databaseText(query.lastError()));
    for (const NumericCondition &condition : std::as_const(m_conditions))
        query.addBindValue(condition.value);
    if (!query.exec())
        return readFailure(databaseText(query.lastError()));

    const QSqlRecord record = query.record();
    if (record.isEmpty() || record.fieldName(0) != kRowIdColumn)
        return readFailure(QStringLiteral("\"%1\" does not identify its records.").arg(m_source));
    const int columnCount = record.count() - 1;
    m_columns.reserve(columnCount);
    for (int column = 0; column < columnCount; ++column) {
        m_columns << record.fieldName(column + 1);
        m_columnIndex.insert(m_columns.constLast(), column);
    }

    while (query.next()) {
        Row row;
        row.id = query.value(0).toLongLong();
        row.values.reserve(columnCount);
        for (int column = 1; column <= columnCount; ++column)
            row.values << query.value(column).toString();
        m_rows.append(std::move(row));
    }
    if (query.lastError().isValid())
        return readFailure(databaseText(query.lastError()));

    m_liveCount = m_rows.size();
    qCDebug(lcStore) << "read" << m_rows.size() << "records of" << m_source << "in" << timer.elapsed() << "ms";
    return true;
}

int RecordSet::columnIndex(const QString &name) const
{
    return m_columnIndex.value(name, -1);
}

bool RecordSet::onLiveRow() const
{
    return m_current >= 0 && m_current < m_rows.size() && !m_rows.at(m_current).deleted;
}

void RecordSet::skipDeletedForward()
{
    while (m_current >= 0 && m_current < m_rows.size() && m_rows.at(m_current).deleted)
        ++m_current;
}

// Moving away from a record drops an edit in progress, as the record sets the
// windows were written against do.
void RecordSet::moveFirst()
{
    cancelUpdate();
    m_current = 0;
    skipDeletedForward();
}

void RecordSet::moveNext()
{
    cancelUpdate();
    if (m_current >= m_rows.size())
        return;
    ++m_current;
    skipDeletedForward();
}

bool RecordSet::moveToRecord(RecordId id)
{
    cancelUpdate();
    for (qsizetype index = 0; index < m_rows.size(); ++index) {
        if (m_rows.at(index).id == id && !m_rows.at(index).deleted) {
            m_current = index;
            return true;
        }
    }
    m_current = m_rows.size();
    return false;
}

bool RecordSet::eof() const
{
    const bool onRow = m_current >= 0 && m_current < m_rows.size();
    return m_current >= m_rows.size() || (m_liveCount == 0 && !onRow);
}

int RecordSet::recordCount() const
{
    return int(m_liveCount);
}

RecordId RecordSet::recordId() const
{
    return onLiveRow() ? m_rows.at(m_current).id : kNoRecord;
}

QString RecordSet::field(const QString &name) const
{
    if (m_mode == Mode::Add)
        return m_pending.value(name);
    if (m_mode == Mode::Edit) {
        const auto pending = m_pending.constFind(name);
        if (pending != m_pending.cend())
            return *pending;
    }
    const int column = columnIndex(name);
    if (column < 0 || !onLiveRow())
        return {};
    return m_rows.at(m_current).values.at(column);
}

void RecordSet::edit()
{
    m_pending.clear();
    m_mode = Mode::Edit;
    if (!onLiveRow())
        qCWarning(lcStore) << "edit without a current record in" << m_source;
}

void RecordSet::addNew()
{
    m_pending.clear();
    m_mode = Mode::Add;
}

void RecordSet::setField(const QString &name, const QString &value)
{
    if (m_mode == Mode::None) {
        qCWarning(lcStore) << "field" << name << "set outside an edit in" << m_source;
        return;
    }
    m_pending.insert(name, value);
}

void RecordSet::cancelUpdate()
{
    m_mode = Mode::None;
    m_pending.clear();
}

WriteResult RecordSet::failure(const QString &reason)
{
    m_lastError = reason;
    qCWarning(lcStore).noquote() << "write to" << m_source << "failed:" << reason;
    return WriteResult{false, reason};
}

WriteResult RecordSet::update()
{
    if (m_mode == Mode::None)
        return failure(QStringLiteral("There is no changed or new record to save."));
    if (m_mode == Mode::Edit && !onLiveRow())
        return failure(QStringLiteral("There is no current record to change."));

    QStringList unknown;
    for (auto it = m_pending.cbegin(); it != m_pending.cend(); ++it) {
        if (columnIndex(it.key()) < 0)
            unknown << it.key();
    }
    if (!unknown.isEmpty()) {
        unknown.sort();
        return failure(QStringLiteral("\"%1\" has no field \"%2\".").arg(m_source, unknown.constFirst()));
    }

    // Written in the set's field order, so that the statement is the same
    // whatever order the fields were set in.
    QStringList names;
    QVariantList values;
    for (const QString &column : std::as_const(m_columns)) {
        const auto pending = m_pending.constFind(column);
        if (pending != m_pending.cend()) {
            names << column;
            values << storedText(*pending);
        }
    }

    const QString table = Database::quoteName(m_baseTable);
    QSqlQuery query(m_db.connection());
    const auto writeFailure = [&] {
        return failure(QStringLiteral("The record could not be saved in the file '%1': %2.")
                           .arg(m_db.path(), databaseText(query.lastError())));
    };

    if (m_mode == Mode::Edit) {
        Row &row = m_rows[m_current];
        if (names.isEmpty()) {
            // Nothing changed; still tell the caller when the record is gone.
            query.prepare(QStringLiteral("SELECT 1 FROM %1 WHERE rowid = ?").arg(table));
        } else {
            QStringList assignments;
            for (const QString &name : std::as_const(names))
                assignments << Database::quoteName(name) + QStringLiteral(" = ?");
            query.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?").arg(table, assignments.join(u',')));
            for (const QVariant &value : std::as_const(values))
                query.addBindValue(value);
        }
        query.addBindValue(row.id);
        if (!query.exec())
            return writeFailure();
        const bool found = names.isEmpty() ? query.next() : query.numRowsAffected() > 0;
        if (!found)
            return failure(QStringLiteral("The record no longer exists."));
        for (qsizetype i = 0; i < names.size(); ++i)
            row.values[columnIndex(names.at(i))] = values.at(i).toString();
        qCDebug(lcStore) << "updated record" << row.id << "of" << m_baseTable;
    } else {
        if (names.isEmpty()) {
            query.prepare(QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(table));
        } else {
            QStringList quoted;
            for (const QString &name : std::as_const(names))
                quoted << Database::quoteName(name);
            const QString marks = QStringList(names.size(), QStringLiteral("?")).join(u',');
            query.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, quoted.join(u','), marks));
            for (const QVariant &value : std::as_const(values))
                query.addBindValue(value);
        }
        if (!query.exec())
            return writeFailure();
        Row row;
        row.id = query.lastInsertId().toLongLong();
        row.values.reserve(m_columns.size());
        for (const QString &column : std::as_const(m_columns))
            row.values << m_pending.value(column, QStringLiteral(""));
        m_rows.append(std::move(row));
        m_current = m_rows.size() - 1;
        ++m_liveCount;
        qCDebug(lcStore) << "added record" << m_rows.constLast().id << "to" << m_baseTable;
    }

    cancelUpdate();
    m_lastError.clear();
    return WriteResult{true, {}};
}

WriteResult RecordSet::deleteCurrent()
{
    cancelUpdate();
    if (!onLiveRow())
        return failure(QStringLiteral("There is no current record to delete."));
    Row &row = m_rows[m_current];
    QSqlQuery query(m_db.connection());
    query.prepare(QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Database::quoteName(m_baseTable)));
    query.addBindValue(row.id);
    if (!query.exec()) {
        return failure(QStringLiteral("The record could not be deleted from the file '%1': %2.")
                           .arg(m_db.path(), databaseText(query.lastError())));
    }
    if (query.numRowsAffected() == 0)
        return failure(QStringLiteral("The record no longer exists."));
    // The record stays current, reading empty, until the cursor moves.
    row.deleted = true;
    --m_liveCount;
    m_lastError.clear();
    qCDebug(lcStore) << "deleted record" << row.id << "of" << m_baseTable;
    return WriteResult{true, {}};
}

} // namespace brevane::store
