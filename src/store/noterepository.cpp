#include "store/noterepository.h"

#include "core/logging.h"
#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

namespace brevane::store {

namespace {

namespace fields = names::notes;

// Every stored title ends in these; a title read without them (written by
// something else) is taken as it stands.
const QString kTitleSuffix = QStringLiteral("   ");

QString storedTitle(const QString &title)
{
    return title + kTitleSuffix;
}

QString titleOf(const QString &stored)
{
    return stored.endsWith(kTitleSuffix) ? stored.chopped(kTitleSuffix.size()) : stored;
}

Note current(const RecordSet &set)
{
    return {set.recordId(), titleOf(set.field(fields::Title)), set.field(fields::Note)};
}

const QString kGone = QStringLiteral("The note is no longer in the file.  It may have been deleted.");

} // namespace

ReadResult<QList<Note>> NoteRepository::all() const
{
    RecordSet notes(m_db, names::NotesQuery);
    if (!notes.lastError().isEmpty())
        return ReadResult<QList<Note>>::failed(notes.lastError());
    QList<Note> list;
    for (notes.moveFirst(); !notes.eof(); notes.moveNext())
        list.append(current(notes));
    return {list, {}};
}

ReadResult<Note> NoteRepository::byId(RecordId id) const
{
    RecordSet notes(m_db, names::Notes, onlyRecord(id));
    if (!notes.lastError().isEmpty())
        return ReadResult<Note>::failed(notes.lastError());
    if (!notes.moveToRecord(id))
        return {};
    return {current(notes), {}};
}

ReadResult<Note> NoteRepository::findByTitle(const QString &title) const
{
    RecordSet notes(m_db, names::NotesQuery);
    if (!notes.lastError().isEmpty())
        return ReadResult<Note>::failed(notes.lastError());
    const QString stored = storedTitle(title);
    for (notes.moveFirst(); !notes.eof(); notes.moveNext()) {
        if (notes.field(fields::Title) == stored)
            return {current(notes), {}};
    }
    return {};
}

WriteResult NoteRepository::add(Note &note)
{
    RecordSet notes(m_db, names::Notes, onlyRecord(kNoRecord));
    if (!notes.lastError().isEmpty())
        return {false, notes.lastError()};
    notes.addNew();
    notes.setField(fields::Title, storedTitle(note.title));
    notes.setField(fields::Note, note.text);
    WriteResult result = notes.update();
    if (result) {
        note.id = notes.recordId();
        qCDebug(lcStore) << "note added as record" << note.id;
    }
    return result;
}

WriteResult NoteRepository::update(const Note &note, NoteFields which)
{
    RecordSet notes(m_db, names::Notes, onlyRecord(note.id));
    if (const QString problem = errors::findToChange(m_db, notes, note.id, kGone); !problem.isEmpty())
        return {false, problem};
    notes.edit();
    if (which.testFlag(NoteField::Title))
        notes.setField(fields::Title, storedTitle(note.title));
    if (which.testFlag(NoteField::Text))
        notes.setField(fields::Note, note.text);
    return notes.update();
}

WriteResult NoteRepository::remove(RecordId id)
{
    return errors::removeRecord(m_db, names::Notes, id, kGone);
}

} // namespace brevane::store
