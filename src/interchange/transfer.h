#pragma once

#include "interchange/interchange.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

class QSaveFile;

namespace brevane::store {
class Database;
}

// Importing a calendar or address-book file into the data file and exporting
// the data file's records to one. No windows: the File menu's commands and the
// command line both build on it.
namespace brevane::interchange {

// Called between records with how many are done out of how many; answering
// false cancels the import, which then leaves the data file as it was.
using ImportProgress = std::function<bool(qsizetype done, qsizetype total)>;

struct ImportResult {
    enum class Outcome { Imported, Refused, Cancelled, Failed };
    Outcome outcome = Outcome::Failed;
    QString error; // why the file was refused or the import failed; names the file
    int events = 0;
    int todos = 0;
    int notes = 0;
    int contacts = 0;
    int skipped = 0;
    int shortened = 0;
    int changed = 0;
    // One line for each record left out or changed, "Line 12: ...", in file order.
    QStringList details;

    [[nodiscard]] bool ok() const { return outcome == Outcome::Imported; }
    // "Imported 1,204 events, 37 to-do items; 3 skipped: see above".
    [[nodiscard]] QString summary() const;
};

// Reads the file from disk and tells its kind; safe off the main thread (it
// never touches the data file). A file that cannot be read, is neither
// iCalendar nor vCard, or is broken comes back refused, with a reason that
// names the file and the line.
struct ImportFile {
    QString path;
    FileReadResult read;
    QString error; // set when the file could not be read or was refused
};
[[nodiscard]] ImportFile readImportFile(const QString &path, const QDate &today, const ReadCancel &cancelled = {});
[[nodiscard]] ImportFile readImportData(const QByteArray &data, const QString &name, const QDate &today,
                                        const ReadCancel &cancelled = {});

// Stores what was read in one transaction: records whose UID the data file
// knows are updated, the others added with their UID; an event whose start
// slot is taken on its day is skipped and counted. Nothing is written when
// the file was refused, the import is cancelled or a write fails.
[[nodiscard]] ImportResult storeImport(store::Database &db, const ImportFile &file,
                                       const ImportProgress &progress = {});
// Both steps at once, for the command line.
[[nodiscard]] ImportResult importFile(store::Database &db, const QString &path, const QDate &today,
                                      const ImportProgress &progress = {});

struct ExportResult {
    bool ok = false;
    bool cancelled = false; // progress answered false: there is no data
    QString error;
    QByteArray data;
    int records = 0;
    QStringList details; // records that could not be written
    // "Exported 1,204 events, 37 to-do items, 2 notes".
    QString summary;
};

// Asked between records, and within long reads, while an export reads the
// data file; answering true cancels the export.
using ExportCancel = std::function<bool()>;

// An export in two steps. The first reads the records and gives each that
// has no UID a new one, kept in the data file in the same transaction as the
// reading and committed before it returns, so that the same record leaves
// with the same UID every time. It may run on any thread that has its own
// connection to the data file (store::Database::openAlongside); when
// `cancelled` (asked on that thread) answers true, it stops and leaves the
// data file as it was. The second only writes text and may run on any
// thread; `progress` (called there) can cancel it.
struct CalendarExport {
    QString error; // set when the records could not be read or given UIDs
    bool cancelled = false;
    CalendarContent content;
};
struct ContactsExport {
    QString error;
    bool cancelled = false;
    QList<ContactCard> contacts;
};
[[nodiscard]] CalendarExport collectCalendar(store::Database &db, const ExportCancel &cancelled = {});
[[nodiscard]] ContactsExport collectContacts(store::Database &db, const ExportCancel &cancelled = {});
[[nodiscard]] ExportResult writeCalendarExport(const CalendarExport &records, const QDateTime &stamp,
                                               const WriteProgress &progress = {});
[[nodiscard]] ExportResult writeContactsExport(const ContactsExport &records, const WriteProgress &progress = {});

// Both steps at once: the whole agenda, to-do list and notes as iCalendar,
// or every contact as vCard.
[[nodiscard]] ExportResult exportCalendar(store::Database &db, const QDateTime &stamp);
[[nodiscard]] ExportResult exportContacts(store::Database &db);

// Writes the bytes to the file whole or not at all ("-" is standard output).
// The reason names the file when it fails.
[[nodiscard]] QString writeExportFile(const QString &path, const QByteArray &data);
// The same in two steps, so that the long one can run beside the window
// while the file at the path stays as it was until the other: the bytes on
// disk under a temporary name in the file's folder, then that file moved
// into place (or, without the second step, removed with `file`).
[[nodiscard]] QString prepareExportFile(QSaveFile &file, const QByteArray &data);
[[nodiscard]] QString finishExportFile(QSaveFile &file);

} // namespace brevane::interchange
