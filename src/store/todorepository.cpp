#include "store/todorepository.h"

#include "core/logging.h"
#include "core/organizer.h"
#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

#include <functional>
#include <optional>

namespace brevane::store {

namespace f = names::todo;

namespace {

const QString kItemGone = QStringLiteral("This to-do item no longer exists.  It may have been deleted.");

const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

// "SELECT <identity>, <every field itemAt() reads> FROM <source>": the list's
// view or the table.
QString itemSelect(const QString &source)
{
    const QString identity = source == names::ToDo ? QStringLiteral("rowid") : QStringLiteral("\"_rid\"");
    QStringList fields{identity};
    for (const QString &field : {f::Task, f::Category, f::Done, f::Priority})
        fields << Database::quoteName(field);
    return QStringLiteral("SELECT %1 FROM %2").arg(fields.join(QStringLiteral(", ")), Database::quoteName(source));
}

ToDoItem itemAt(const QSqlQuery &query)
{
    ToDoItem item;
    item.id = query.value(0).toLongLong();
    item.text = query.value(1).toString();
    item.category = query.value(2).toString();
    item.done = query.value(3).toString() == kYes;
    item.priority = textToNumber(query.value(4).toString());
    return item;
}

// Runs a read; false with *error (naming the file) when it fails.
bool runRead(Database &db, QSqlQuery &query, const QString &sql, const QVariantList &values, QString *error)
{
    query.setForwardOnly(true);
    bool ok = query.prepare(sql);
    if (ok) {
        for (const QVariant &value : values)
            query.addBindValue(value);
        ok = query.exec();
    }
    if (!ok) {
        *error = errors::readFailure(db, errors::errorText(query.lastError()));
        qCWarning(lcStore).noquote() << "reading the to-do list failed:" << query.lastError().text();
    }
    return ok;
}

template <typename T>
ReadResult<QList<T>> readRows(Database &db, const QString &sql, const QVariantList &values,
                              const std::function<std::optional<T>(const QSqlQuery &)> &rowOf)
{
    QSqlQuery query(db.connection());
    QString error;
    if (!runRead(db, query, sql, values, &error))
        return ReadResult<QList<T>>::failed(error);
    QList<T> rows;
    while (query.next()) {
        if (std::optional<T> row = rowOf(query))
            rows.append(std::move(*row));
    }
    if (query.lastError().isValid())
        return ReadResult<QList<T>>::failed(errors::readFailure(db, errors::errorText(query.lastError())));
    return {std::move(rows), {}};
}

ReadResult<QList<ToDoItem>> readItems(Database &db, const QString &sql, const QVariantList &values = {})
{
    return readRows<ToDoItem>(db, sql, values, [](const QSqlQuery &query) { return std::optional(itemAt(query)); });
}

ReadResult<ToDoItem> firstOf(ReadResult<QList<ToDoItem>> items)
{
    if (!items.ok())
        return ReadResult<ToDoItem>::failed(items.error);
    if (items.value->isEmpty())
        return {};
    return {items.value->constFirst(), {}};
}

QString tooLong(int count, int limit)
{
    return QStringLiteral("The to-do item has %1 characters; at most %2 are allowed.").arg(count).arg(limit);
}

} // namespace

ReadResult<QList<ToDoItem>> ToDoRepository::all() const
{
    return readItems(m_db, itemSelect(names::ToDoQuery));
}

ReadResult<ToDoItem> ToDoRepository::byId(RecordId id) const
{
    if (id == kNoRecord)
        return {};
    return firstOf(readItems(m_db, itemSelect(names::ToDo) + QStringLiteral(" WHERE rowid = ?"), {id}));
}

ReadResult<ToDoItem> ToDoRepository::findByText(const QString &text) const
{
    // Exact and case-sensitive, as the list has always told its items apart.
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT min(rowid) FROM %1 WHERE %2 = ?")
                      .arg(Database::quoteName(names::ToDo), Database::quoteName(f::Task)));
    query.addBindValue(text);
    if (!query.exec() || !query.next())
        return ReadResult<ToDoItem>::failed(errors::readFailure(m_db, errors::errorText(query.lastError())));
    if (query.value(0).isNull())
        return {};
    return byId(query.value(0).toLongLong());
}

ReadResult<QList<ToDoItem>> ToDoRepository::search(const QString &text) const
{
    // SQL narrows the search (see containsCondition); every candidate is
    // still compared here, the way the rest of the program compares text.
    QString sql = QStringLiteral("SELECT rowid, %1 FROM %2 WHERE %1 <> ''")
                      .arg(Database::quoteName(f::Task), Database::quoteName(names::ToDo));
    QVariantList values;
    if (const QString condition = containsCondition(f::Task, text, &values); !condition.isEmpty())
        sql += QStringLiteral(" AND ") + condition;
    sql += QStringLiteral(" ORDER BY rowid");
    return readRows<ToDoItem>(m_db, sql, values, [&text](const QSqlQuery &query) -> std::optional<ToDoItem> {
        QString itemText = query.value(1).toString();
        if (!itemText.contains(text, Qt::CaseInsensitive))
            return std::nullopt;
        ToDoItem item;
        item.id = query.value(0).toLongLong();
        item.text = std::move(itemText);
        return item;
    });
}

ReadResult<int> ToDoRepository::count() const
{
    QSqlQuery query(m_db.connection());
    QString error;
    if (!runRead(m_db, query, QStringLiteral("SELECT count(*) FROM %1").arg(Database::quoteName(names::ToDo)), {},
                 &error))
        return ReadResult<int>::failed(error);
    if (!query.next())
        return ReadResult<int>::failed(errors::readFailure(m_db, errors::errorText(query.lastError())));
    return {query.value(0).toInt(), {}};
}

ReadResult<QList<ToDoItem>> ToDoRepository::page(int offset, int limit) const
{
    if (offset < 0 || limit <= 0)
        return {QList<ToDoItem>{}, {}};
    return readItems(m_db, itemSelect(names::ToDoQuery) + QStringLiteral(" LIMIT ? OFFSET ?"), {limit, offset});
}

ReadResult<QList<RecordId>> ToDoRepository::ids() const
{
    const QString sql = QStringLiteral("SELECT \"_rid\" FROM %1").arg(Database::quoteName(names::ToDoQuery));
    return readRows<RecordId>(m_db, sql, {},
                              [](const QSqlQuery &query) { return std::optional(query.value(0).toLongLong()); });
}

ReadResult<QList<ToDoItem>> ToDoRepository::byIds(const QList<RecordId> &ids) const
{
    // In pieces well below SQLite's limit of bound values per statement.
    constexpr qsizetype kPiece = 500;
    QHash<RecordId, ToDoItem> found;
    for (qsizetype first = 0; first < ids.size(); first += kPiece) {
        const QList<RecordId> piece = ids.mid(first, kPiece);
        QVariantList values;
        values.reserve(piece.size());
        for (RecordId id : piece)
            values << id;
        const QString marks = QStringList(piece.size(), QStringLiteral("?")).join(u',');
        ReadResult<QList<ToDoItem>> items =
            readItems(m_db, itemSelect(names::ToDo) + QStringLiteral(" WHERE rowid IN (%1)").arg(marks), values);
        if (!items.ok())
            return items;
        for (ToDoItem &item : *items.value)
            found.insert(item.id, std::move(item));
    }
    QList<ToDoItem> items;
    items.reserve(found.size());
    for (RecordId id : ids) {
        const auto item = found.constFind(id);
        if (item != found.cend())
            items.append(*item);
    }
    return {std::move(items), {}};
}

WriteResult ToDoRepository::add(ToDoItem &item)
{
    if (const int count = characterCount(item.text); count > kTextLimit)
        return {false, tooLong(count, kTextLimit)};
    RecordSet set(m_db, names::ToDo, onlyRecord(kNoRecord));
    set.addNew();
    writeFields(set, item, ToDoField::All);
    WriteResult result = set.update();
    if (result)
        item.id = set.recordId();
    return result;
}

WriteResult ToDoRepository::addAll(QList<ToDoItem> &items)
{
    Transaction transaction(m_db);
    if (!transaction.isActive())
        return {false, errors::writeFailure(m_db, transaction.error())};
    // One statement prepared once, rather than a record set per item.
    QSqlQuery insert(m_db.connection());
    if (!insert.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (?, ?, ?, ?)")
                            .arg(Database::quoteName(names::ToDo), Database::quoteName(f::Task),
                                 Database::quoteName(f::Category), Database::quoteName(f::Done),
                                 Database::quoteName(f::Priority))))
        return {false, errors::writeFailure(m_db, errors::errorText(insert.lastError()))};
    const auto text = [](const QString &value) { return value.isNull() ? QStringLiteral("") : value; };
    for (ToDoItem &item : items) {
        if (const int count = characterCount(item.text); count > kTextLimit)
            return {false, tooLong(count, kTextLimit)};
        insert.bindValue(0, text(item.text));
        insert.bindValue(1, text(item.category));
        insert.bindValue(2, item.done ? kYes : kNo);
        insert.bindValue(3, QString::number(item.priority));
        if (!insert.exec())
            return {false, errors::writeFailure(m_db, errors::errorText(insert.lastError()))};
        item.id = insert.lastInsertId().toLongLong();
    }
    if (!transaction.commit())
        return {false, errors::writeFailure(m_db, transaction.error())};
    return {true, {}};
}

WriteResult ToDoRepository::addReminderCopy(ToDoItem &item)
{
    // The copy's text is made by the program from a task text that may be
    // at its own limit, so it is not held to the typed limit.
    RecordSet set(m_db, names::ToDo, onlyRecord(kNoRecord));
    set.addNew();
    writeFields(set, item, ToDoField::Text | ToDoField::Category);
    WriteResult result = set.update();
    if (result)
        item.id = set.recordId();
    return result;
}

WriteResult ToDoRepository::update(const ToDoItem &item, ToDoFields fields)
{
    Transaction transaction(m_db);
    if (!transaction.isActive())
        return {false, errors::writeFailure(m_db, transaction.error())};
    RecordSet set(m_db, names::ToDo, onlyRecord(item.id));
    if (const QString problem = errors::findToChange(m_db, set, item.id, kItemGone); !problem.isEmpty())
        return {false, problem};
    if (fields.testFlag(ToDoField::Text)) {
        // An older, longer text (a reminder copy) may be kept or shortened,
        // as the editor's text box allows; never lengthened.
        const int count = characterCount(item.text);
        if (count > kTextLimit && count > characterCount(set.field(f::Task)))
            return {false, tooLong(count, kTextLimit)};
    }
    set.edit();
    writeFields(set, item, fields);
    if (WriteResult result = set.update(); !result)
        return result;
    if (!transaction.commit())
        return {false, errors::writeFailure(m_db, transaction.error())};
    return {true, {}};
}

WriteResult ToDoRepository::remove(RecordId id)
{
    return errors::removeRecord(m_db, names::ToDo, id, kItemGone);
}

StoredFields ToDoRepository::storedFields(const ToDoItem &item, QString *problem)
{
    if (const int count = characterCount(item.text); count > kTextLimit) {
        *problem = tooLong(count, kTextLimit);
        return {};
    }
    problem->clear();
    struct {
        StoredFields fields;
        void setField(const QString &name, const QString &value) { fields.append({name, value}); }
    } values;
    writeFields(values, item, ToDoField::All);
    return values.fields;
}

template <typename Sink>
void ToDoRepository::writeFields(Sink &set, const ToDoItem &item, ToDoFields fields)
{
    if (fields.testFlag(ToDoField::Text))
        set.setField(f::Task, item.text);
    if (fields.testFlag(ToDoField::Category))
        set.setField(f::Category, item.category);
    if (fields.testFlag(ToDoField::Done))
        set.setField(f::Done, item.done ? kYes : kNo);
    if (fields.testFlag(ToDoField::Priority))
        set.setField(f::Priority, QString::number(item.priority));
}

} // namespace brevane::store
