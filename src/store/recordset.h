#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <utility>

namespace brevane::store {

class Database;

// The identity of a record: its row in the base table (SQLite's rowid). It
// stays valid whichever table or view the record was read through.
using RecordId = qint64;
inline constexpr RecordId kNoRecord = 0;

// Every stored field of one record, by name, in the order its repository
// writes them; each record of a table gives the same names in the same order.
using StoredFields = QList<std::pair<QString, QString>>;

// The outcome of a write. A failed write carries a reason the window can show.
struct [[nodiscard]] WriteResult {
    bool ok = false;
    QString error;
    explicit operator bool() const { return ok; }
};

// Records of the set must have this field's numeric value (the organizer's
// reading of numbers in text: leading digits, 0 for none).
struct NumericCondition {
    QString field;
    qint64 value = 0;
};

// A condition on a record's identity instead of a field: a set opened with
// onlyRecord(id) holds that one record (or none, once it is deleted).
inline const QString kIdentityField = QStringLiteral("rowid");
[[nodiscard]] inline QList<NumericCondition> onlyRecord(RecordId id)
{
    return {{kIdentityField, id}};
}

// An SQL condition that every record whose field contains `text`,
// case-insensitively as QString::contains() compares, satisfies; a few others
// may too, so matches are still checked with QString::contains(). Its values
// are appended to *values. Empty when SQL cannot narrow the search: SQLite
// folds the case of ASCII letters only, so only the text's longest run of
// ASCII characters is looked for.
[[nodiscard]] QString containsCondition(const QString &field, const QString &text, QVariantList *values);

// A record set over a table or view, as the windows use it: a cursor over the
// records read at the last requery, with field access on the current record and
// one-record edits that are committed to the file before they return.
//
// Like the record sets the organizer was designed around, a deleted record
// stays current until the cursor moves; moving skips it.
class RecordSet
{
public:
    RecordSet(Database &db, QString source, QList<NumericCondition> conditions = {});
    ~RecordSet();
    Q_DISABLE_COPY_MOVE(RecordSet)

    [[nodiscard]] QString source() const { return m_source; }

    // Re-reads the records from the file. On a failed read the set is empty and
    // false is returned; the reason is in lastError().
    bool requery();

    void moveFirst();
    void moveNext();
    // Makes the record with this identity current; false when it is not in the
    // set (the cursor is then at the end).
    bool moveToRecord(RecordId id);
    [[nodiscard]] bool eof() const;
    [[nodiscard]] int recordCount() const;

    [[nodiscard]] RecordId recordId() const;
    // The current record's text for a field; empty when there is no current
    // record or no such field. While editing or adding, the pending value.
    [[nodiscard]] QString field(const QString &name) const;

    // Begin changing the current record / begin a new empty record.
    void edit();
    void addNew();
    void setField(const QString &name, const QString &value);
    void cancelUpdate();
    [[nodiscard]] bool isEditing() const { return m_mode != Mode::None; }

    // Commits the edited or new record to the file. After adding, the new
    // record is the current one. Fails when nothing is being edited, a field is
    // unknown, the record no longer exists, or the file refuses the write.
    WriteResult update();
    // Deletes the current record from the file.
    WriteResult deleteCurrent();

    [[nodiscard]] QString lastError() const { return m_lastError; }

    // The statement a set on this source with these conditions reads with;
    // public so that its query plan can be examined.
    [[nodiscard]] static QString selectStatement(const QString &source,
                                                 const QList<NumericCondition> &conditions);

private:
    enum class Mode { None, Edit, Add };
    struct Row {
        RecordId id = kNoRecord;
        QStringList values;
        bool deleted = false;
    };

    [[nodiscard]] int columnIndex(const QString &name) const;
    [[nodiscard]] bool onLiveRow() const;
    void skipDeletedForward();
    WriteResult failure(const QString &reason);

    Database &m_db;
    QString m_source;
    QString m_baseTable;
    QList<NumericCondition> m_conditions;
    QStringList m_columns;
    QHash<QString, int> m_columnIndex;
    QVector<Row> m_rows;
    // -1 before the first row, m_rows.size() after the last.
    qsizetype m_current = 0;
    qsizetype m_liveCount = 0;
    Mode m_mode = Mode::None;
    QHash<QString, QString> m_pending;
    QString m_lastError;
};

} // namespace brevane::store
