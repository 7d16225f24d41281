#pragma once

#include "store/readresult.h"
#include "store/recordset.h"

#include <QFlags>
#include <QList>
#include <QString>

namespace brevane::store {

class Database;

// One note as the windows see it.
struct Note {
    RecordId id = kNoRecord;
    // The title exactly as the user typed it.
    QString title;
    QString text;
    friend bool operator==(const Note &, const Note &) = default;
};

// The fields an update writes; the other keeps its stored text.
enum class NoteField : unsigned {
    Title = 0x1,
    Text = 0x2,
    All = 0x3,
};
Q_DECLARE_FLAGS(NoteFields, NoteField)
Q_DECLARE_OPERATORS_FOR_FLAGS(NoteFields)

// Reads and writes the notes: table "Notes", listed through "NotesQuery".
// Every write is committed before it returns.
//
// The file keeps every title followed by three spaces, and that form is part
// of every comparison; the repository adds them on writing and takes them off
// on reading, so that no window ever sees them.
class NoteRepository
{
public:
    explicit NoteRepository(Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(NoteRepository)

    // Every note in list order.
    [[nodiscard]] ReadResult<QList<Note>> all() const;
    // One note; no value when it is no longer in the file.
    [[nodiscard]] ReadResult<Note> byId(RecordId id) const;
    // The first note, in list order, whose title is exactly `title` (letter
    // case and blanks count); no value when there is none.
    [[nodiscard]] ReadResult<Note> findByTitle(const QString &title) const;

    // Adds the note and sets note.id.
    [[nodiscard]] WriteResult add(Note &note);
    // Writes the named fields of the note with identity note.id. Fails when
    // the note is gone.
    [[nodiscard]] WriteResult update(const Note &note, NoteFields fields = NoteField::All);
    [[nodiscard]] WriteResult remove(RecordId id);

    // The longest note text, in characters the user sees.
    static constexpr int kTextLimit = 32000;

private:
    Database &m_db;
};

} // namespace brevane::store
