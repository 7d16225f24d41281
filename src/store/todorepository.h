#pragma once

#include "store/readresult.h"
#include "store/recordset.h"

#include <QFlags>
#include <QList>
#include <QString>

namespace brevane::store {

class Database;

// One to-do item as the windows see it.
struct ToDoItem {
    RecordId id = kNoRecord;
    QString text;
    QString category;
    // Done only when stored exactly as "Yes".
    bool done = false;
    // 1 High, 2 Medium, 3 Low; 0 for none (stored "0", or empty in the
    // reminder copies). Other stored numbers are read as they are.
    int priority = 0;
    friend bool operator==(const ToDoItem &, const ToDoItem &) = default;
};

// The fields a save writes; the others keep their stored text exactly, so that
// a value the list cannot show ("Maybe", priority "7") survives an edit.
enum class ToDoField : unsigned {
    Text = 0x1,
    Category = 0x2,
    Done = 0x4,
    Priority = 0x8,
    All = 0xf,
};
Q_DECLARE_FLAGS(ToDoFields, ToDoField)
Q_DECLARE_OPERATORS_FOR_FLAGS(ToDoFields)

// Reads and writes the to-do list: table "To Do", listed through "To-Do Query".
// Every write is committed before it returns.
class ToDoRepository
{
public:
    explicit ToDoRepository(Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(ToDoRepository)

    // Every item in list order.
    [[nodiscard]] ReadResult<QList<ToDoItem>> all() const;
    // One item; no value when it is no longer in the file.
    [[nodiscard]] ReadResult<ToDoItem> byId(RecordId id) const;
    // The first item whose text is exactly `text` (case-sensitive); no value
    // when there is none.
    [[nodiscard]] ReadResult<ToDoItem> findByText(const QString &text) const;
    // Every item whose text contains `text`, case-insensitively, in table
    // order; an empty text finds every item that has text. Only the identity
    // and the text are read; the other fields keep their defaults (read the
    // item with byId() to use them).
    [[nodiscard]] ReadResult<QList<ToDoItem>> search(const QString &text) const;

    // For a list that reads only the rows it shows. All are cheap on a long
    // list: count() reads no item, ids() only identities.
    // The number of items.
    [[nodiscard]] ReadResult<int> count() const;
    // The items at list positions offset .. offset + limit - 1, in list order
    // (as all() gives them); fewer at the end of the list.
    [[nodiscard]] ReadResult<QList<ToDoItem>> page(int offset, int limit) const;
    // The identity of every item, in list order.
    [[nodiscard]] ReadResult<QList<RecordId>> ids() const;
    // The items with these identities, in the order given; an identity no
    // longer in the file is left out.
    [[nodiscard]] ReadResult<QList<ToDoItem>> byIds(const QList<RecordId> &ids) const;

    // Adds an item (every field) and sets item.id.
    [[nodiscard]] WriteResult add(ToDoItem &item);
    // Adds many items at once, all or none, and sets their ids (an import).
    [[nodiscard]] WriteResult addAll(QList<ToDoItem> &items);
    // Adds the to-do copy of a reminder: Done and Priority stay empty.
    [[nodiscard]] WriteResult addReminderCopy(ToDoItem &item);
    // Writes the named fields of the item with identity item.id, reading and
    // writing in one transaction. Fails when the item is gone, or when its
    // text is longer than the typed limit and than the text stored before (an
    // old longer text may be kept or shortened, as the editor allows).
    [[nodiscard]] WriteResult update(const ToDoItem &item, ToDoFields fields);
    [[nodiscard]] WriteResult remove(RecordId id);

    // The typed limit of an item text, in characters the user sees
    // (core's characterCount). add() refuses a longer text.
    static constexpr int kTextLimit = 250;
    // The stored text of every field of an item, by field name: what add()
    // writes. Empty, with the reason in *problem, when the text is too long.
    [[nodiscard]] static StoredFields storedFields(const ToDoItem &item, QString *problem);

private:
    template <typename Sink>
    static void writeFields(Sink &set, const ToDoItem &item, ToDoFields fields);

    Database &m_db;
};

} // namespace brevane::store
