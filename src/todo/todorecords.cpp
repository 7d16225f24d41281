#include "todo/todorecords.h"

#include "core/organizer.h"
#include "store/names.h"
#include "store/recordset.h"

namespace brevane::todo {

namespace f = store::names::todo;

store::ReadResult<QList<store::ToDoItem>> ToDoRecords::all() const
{
    store::RecordSet set(m_db, store::names::ToDoQuery);
    if (!set.lastError().isEmpty())
        return store::ReadResult<QList<store::ToDoItem>>::failed(set.lastError());
    QList<store::ToDoItem> items;
    items.reserve(set.recordCount());
    for (set.moveFirst(); !set.eof(); set.moveNext()) {
        items.append({set.recordId(), set.field(f::Task), set.field(f::Category),
                      set.field(f::Done) == QLatin1String("Yes"), textToNumber(set.field(f::Priority))});
    }
    return {items, {}};
}

store::WriteResult ToDoRecords::update(const store::ToDoItem &item, store::ToDoFields fields)
{
    store::RecordSet set(m_db, store::names::ToDoQuery, store::onlyRecord(item.id));
    if (set.eof())
        return {true, {}};
    set.edit();
    if (fields.testFlag(store::ToDoField::Done))
        set.setField(f::Done, item.done ? QStringLiteral("Yes") : QStringLiteral("No"));
    if (fields.testFlag(store::ToDoField::Priority))
        set.setField(f::Priority, QString::number(item.priority));
    return set.update();
}

store::WriteResult ToDoRecords::remove(store::RecordId id)
{
    store::RecordSet set(m_db, store::names::ToDoQuery, store::onlyRecord(id));
    if (set.eof())
        return {true, {}};
    return set.deleteCurrent();
}

} // namespace brevane::todo
