#pragma once

#include "store/agendarepository.h"
#include "store/contactrepository.h"
#include "store/noterepository.h"
#include "store/todorepository.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// Calendar and address-book files: iCalendar (agenda tasks, to-do items and
// notes) and vCard (contacts). Everything here works on bytes in memory and
// plain records; it never touches the data file. Storing what was read, and
// matching it by UID against what is stored, is the import command's work.
namespace brevane::interchange {

// What a file holds, told by its content, never by its name.
enum class FileKind { Unknown, Calendar, Contacts };
[[nodiscard]] FileKind detectKind(const QByteArray &data);

// Something that was read but did not arrive whole. Every record that is left
// out or changed gets one, so that nothing is lost without being counted.
struct Problem {
    enum class Kind {
        Skipped,   // the record, or one of its values, was not taken
        Shortened, // a text was longer than the program keeps and was cut
        Changed,   // a value was moved to what the program can hold
    };
    Kind kind = Kind::Skipped;
    int line = 0; // 1-based line where the record begins; 0 when unknown
    QString uid;
    QString message; // a sentence for the user
    friend bool operator==(const Problem &, const Problem &) = default;
};

// A file that cannot be read at all: not iCalendar or vCard, truncated, or
// broken. Nothing of it is taken.
struct Refusal {
    int line = 0; // 1-based
    QString message; // names the line: "Line 12: ..."
};

// --- Calendar -------------------------------------------------------------

// A record travels with the UID that identifies it in other programs. On
// export the caller passes one per record (its stored one, or a new stable
// one); an import hands back the file's, or one derived from the record's
// content when the file has none, so that reading the same file twice gives
// the same UIDs.
struct CalendarTask {
    store::AgendaTask task; // id stays kNoRecord on import
    QString uid;
    int line = 0; // where the event begins in the file (import only)
};

struct CalendarToDo {
    store::ToDoItem item;
    QString uid;
    int line = 0;
};

// A named note. The title is as typed, without the blanks the notes table
// appends to it.
struct NoteEntry {
    QString title;
    QString text;
    QString uid;
    int line = 0;
    friend bool operator==(const NoteEntry &, const NoteEntry &) = default;
};

struct CalendarContent {
    QList<CalendarTask> tasks;
    QList<CalendarToDo> todos;
    QList<NoteEntry> notes;
};

struct CalendarReadResult {
    CalendarContent content;
    QList<Problem> problems;
    std::optional<Refusal> refusal; // set: the file was refused and content is empty
    [[nodiscard]] bool ok() const { return !refusal; }
};

// Asked now and then while a file is read; answering true stops the reading,
// which then refuses the file. May be asked on any thread.
using ReadCancel = std::function<bool()>;

// Reads an iCalendar file (one or more VCALENDARs). Recurring events are
// expanded into single tasks from one year before `today` to two years after,
// at most kMaxOccurrences per event.
[[nodiscard]] CalendarReadResult readCalendar(const QByteArray &data, const QDate &today,
                                              const ReadCancel &cancelled = {});

// Called by the writers before each record with how many are written out of
// how many; answering false stops the writing, whose text is then incomplete.
// Called on the writer's thread.
using WriteProgress = std::function<bool(qsizetype done, qsizetype total)>;

struct CalendarWriteResult {
    QByteArray data;
    QList<Problem> problems; // records that could not be written
    bool stopped = false; // progress answered false: data is incomplete
};

// Writes one VCALENDAR with a VEVENT per task, a VTODO per to-do item and a
// VJOURNAL per note. `stamp` is the moment of the export (DTSTAMP).
[[nodiscard]] CalendarWriteResult writeCalendar(const CalendarContent &content, const QDateTime &stamp,
                                                const WriteProgress &progress = {});

inline constexpr int kMaxOccurrences = 1000;

// --- Contacts -------------------------------------------------------------

// One contact: the fields of the contact book, free text as typed (the
// birthday as "July 7, 1999" and the anniversary as "July 7" when the date
// picker wrote them), plus the category the table keeps and the UID.
struct ContactCard : store::Contact {
    QString category;
    QString uid;
    int line = 0; // where the card begins in the file (import only)
    friend bool operator==(const ContactCard &, const ContactCard &) = default;
};

struct ContactsReadResult {
    QList<ContactCard> contacts;
    QList<Problem> problems;
    std::optional<Refusal> refusal;
    [[nodiscard]] bool ok() const { return !refusal; }
};

// Reads vCard 4.0, 3.0 and 2.1 (quoted-printable, character sets, folded
// lines, any number of cards).
[[nodiscard]] ContactsReadResult readContacts(const QByteArray &data);
// Writes vCard 4.0, one card per contact, lines folded at 75 octets. When
// progress answers false the text ends with the cards written so far.
[[nodiscard]] QByteArray writeContacts(const QList<ContactCard> &contacts, const WriteProgress &progress = {});

// The vCard date of a contact's birthday or anniversary text: "19990707" for
// "July 7, 1999", "--0707" for "July 7"; empty when the text is not in the
// date picker's form. And back: the picker's text of a vCard date (also the
// extended forms "1999-07-07" and "--07-07"), empty when it is not a date.
[[nodiscard]] QString vcardDateOf(const QString &pickerText);
[[nodiscard]] QString pickerTextOf(const QString &vcardDate);

// --- Either ---------------------------------------------------------------

// What an import reads: the file's kind, told by its content, and the result
// of the reader of that kind.
struct FileReadResult {
    FileKind kind = FileKind::Unknown;
    CalendarReadResult calendar; // when kind is Calendar
    ContactsReadResult contacts; // when kind is Contacts
    // Why nothing of the file can be taken: its reader refused it, or it is
    // neither iCalendar nor vCard.
    std::optional<Refusal> refusal;
    [[nodiscard]] bool ok() const { return !refusal; }
};
[[nodiscard]] FileReadResult readFile(const QByteArray &data, const QDate &today, const ReadCancel &cancelled = {});

} // namespace brevane::interchange
