#include "store/todorepository.h"

#include "core/organizer.h"
#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace brevane::store {

namespace f = names::todo;

namespace {

const QString kYes = QStringLiteral("Yes");
const QString kNo = QStringLiteral("No");

ToDoItem itemOf(const RecordSet &set)
{
    ToDoItem item;
    item.id = set.recordId();
    item.text = set.field(f::Task);
    item.category = set.field(f::Category);
    item.done = set.field(f::Done) == kYes;
    item.priority = textToNumber(set.field(f::Priority));
    return item;
}

ReadResult<QList<ToDoItem>> readItems(Database &db, const QString &source, QList<NumericCondition> conditions,
                                      const std::function<bool(const ToDoItem &)> &wanted = {})
{
    RecordSet set(db, source, std::move(conditions));
    if (!set.lastError().isEmpty())
        return ReadResult<QList<ToDoItem>>::failed(errors::readFailure(db, set.lastError()));
    QList<ToDoItem> items;
    items.reserve(set.recordCount());
    for (set.moveFirst(); !set.eof(); set.moveNext()) {
        ToDoItem item = itemOf(set);
        if (!wanted || wanted(item))
            items.append(std::move(item));
    }
    return {std::move(items), {}};
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
    return readItems(m_db, names::ToDoQuery, {});
}

ReadResult<ToDoItem> ToDoRepository::byId(RecordId id) const
{
    if (id == kNoRecord)
        return {};
    return firstOf(readItems(m_db, names::ToDo, onlyRecord(id)));
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
    // Compared here rather than with SQL's LIKE, which folds only ASCII case.
    return readItems(m_db, names::ToDo, {}, [&text](const ToDoItem &item) {
        return !item.text.isEmpty() && item.text.contains(text, Qt::CaseInsensitive);
    });
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
    if (!set.lastError().isEmpty())
        return {false, errors::writeFailure(m_db, set.lastError())};
    if (item.id == kNoRecord || !set.moveToRecord(item.id))
        return {false, QStringLiteral("This to-do item no longer exists.  It may have been deleted.")};
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
    RecordSet set(m_db, names::ToDo, onlyRecord(id));
    if (!set.lastError().isEmpty())
        return {false, errors::writeFailure(m_db, set.lastError())};
    if (id == kNoRecord || !set.moveToRecord(id))
        return {false, QStringLiteral("This to-do item no longer exists.  It may have been deleted.")};
    return set.deleteCurrent();
}

void ToDoRepository::writeFields(RecordSet &set, const ToDoItem &item, ToDoFields fields)
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
