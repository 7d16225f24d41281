#include "interchange/transfer.h"

#include "core/organizer.h"
#include "core/reminders.h"
#include "store/bulkupdate.h"
#include "store/contactrepository.h"
#include "store/database.h"
#include "store/names.h"
#include "store/uidrepository.h"

#include <QFile>
#include <QLocale>
#include <QMultiHash>
#include <QSaveFile>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace brevane::interchange {

namespace {

ContactCard cardOf(const store::Contact &contact)
{
    ContactCard card;
    static_cast<store::Contact &>(card) = contact;
    card.id = store::kNoRecord;
    return card;
}

QString number(int value)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(value);
}

// "1,204 events", "1 event"; empty for none.
QString counted(int count, const QString &one, const QString &many)
{
    return QStringLiteral("%1 %2").arg(number(count), count == 1 ? one : many);
}

QString lineText(int line, const QString &message)
{
    return line > 0 ? QStringLiteral("Line %1: %2").arg(line).arg(message) : message;
}

// A half-hour slot of one stored day; tasks whose day or start cannot be
// read take no slot.
std::optional<qint64> slotOf(const store::AgendaTask &task)
{
    if (!task.start.isValid() || task.year <= 0 || task.month <= 0 || task.day <= 0)
        return std::nullopt;
    return ((qint64(task.year) * 13 + task.month) * 32 + task.day) * 48 + task.start.hour() * 2
           + task.start.minute() / 30;
}

QString newUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Writes through the repositories in the caller's transaction; the first
// failure ends the import.
class Importer
{
public:
    Importer(store::Database &db, ImportResult &result, const ImportProgress &progress, qsizetype total)
        : m_db(db), m_uids(db), m_result(result), m_progress(progress), m_total(total)
    {
    }

    bool proceed()
    {
        if (m_progress && !m_progress(m_done, m_total)) {
            m_result.outcome = ImportResult::Outcome::Cancelled;
            return false;
        }
        ++m_done;
        return true;
    }

    bool fail(const QString &error)
    {
        m_result.outcome = ImportResult::Outcome::Failed;
        m_result.error = error;
        return false;
    }

    // The file's records of a table by UID, and the slots the agenda's tasks take.
    bool readUids(const QString &table, QHash<QString, store::RecordId> &byUid)
    {
        auto uids = m_uids.uidsOf(table);
        if (!uids.ok())
            return fail(uids.error);
        for (auto it = uids.value->cbegin(); it != uids.value->cend(); ++it)
            byUid.insert(it.value(), it.key());
        return true;
    }

    // New records wait in `pending` and are added together at the end; until
    // then they go by a stand-in identity, -1 for the first, -2 ...
    static qsizetype pendingIndex(store::RecordId id) { return -id - 1; }
    static store::RecordId standIn(qsizetype index) { return -store::RecordId(index) - 1; }

    bool storeTasks(const QList<CalendarTask> &tasks)
    {
        if (tasks.isEmpty())
            return true;
        QHash<QString, store::RecordId> byUid;
        if (!readUids(store::names::Agenda, byUid))
            return false;
        store::AgendaRepository agenda(m_db);
        store::BulkUpdate updates(m_db);
        auto stored = agenda.all();
        if (!stored.ok())
            return fail(stored.error);
        QMultiHash<qint64, store::RecordId> taken;
        QHash<store::RecordId, qint64> slotById;
        QHash<store::RecordId, const store::AgendaTask *> storedById;
        for (const store::AgendaTask &task : std::as_const(*stored.value)) {
            storedById.insert(task.id, &task);
            if (const auto slot = slotOf(task)) {
                taken.insert(*slot, task.id);
                slotById.insert(task.id, *slot);
            }
        }
        QList<store::AgendaTask> pending;
        QStringList pendingUids;
        for (const CalendarTask &entry : tasks) {
            if (!proceed())
                return false;
            store::AgendaTask task = entry.task;
            task.id = byUid.value(entry.uid, store::kNoRecord);
            const std::optional<qint64> slot = slotOf(task);
            if (slot) {
                const QList<store::RecordId> occupants = taken.values(*slot);
                const bool free = std::all_of(occupants.cbegin(), occupants.cend(),
                                              [&](store::RecordId id) { return id == task.id; });
                if (!free) {
                    ++m_result.skipped;
                    m_result.details << lineText(entry.line,
                                                 QStringLiteral("Another task already starts at %1 on %2 (\"%3\" "
                                                                "was not imported).")
                                                     .arg(timeText(task.start),
                                                          reminders::dateText(task.day, task.month, task.year),
                                                          task.text));
                    continue;
                }
            }
            if (task.id == store::kNoRecord) {
                task.id = standIn(pending.size());
                pending << task;
                pendingUids << entry.uid;
                if (!entry.uid.isEmpty())
                    byUid.insert(entry.uid, task.id);
            } else if (task.id < 0) {
                // The file names the same UID twice: the later one wins.
                pending[pendingIndex(task.id)] = task;
                --m_result.events;
            } else if (const store::WriteResult written = updates.update(task, storedById.value(task.id));
                       !written) {
                return fail(written.error);
            }
            if (const auto old = slotById.constFind(task.id); old != slotById.cend())
                taken.remove(*old, task.id);
            if (slot) {
                taken.insert(*slot, task.id);
                slotById.insert(task.id, *slot);
            }
            ++m_result.events;
        }
        if (const store::WriteResult written = agenda.addAll(pending); !written)
            return fail(written.error);
        return setUids(store::names::Agenda, pending, pendingUids);
    }

    bool storeToDos(const QList<CalendarToDo> &todos)
    {
        if (todos.isEmpty())
            return true;
        QHash<QString, store::RecordId> byUid;
        if (!readUids(store::names::ToDo, byUid))
            return false;
        store::ToDoRepository repository(m_db);
        store::BulkUpdate updates(m_db);
        const auto stored = repository.all();
        if (!stored.ok())
            return fail(stored.error);
        QHash<store::RecordId, const store::ToDoItem *> storedById;
        for (const store::ToDoItem &item : std::as_const(*stored.value))
            storedById.insert(item.id, &item);
        QList<store::ToDoItem> pending;
        QStringList pendingUids;
        for (const CalendarToDo &entry : todos) {
            if (!proceed())
                return false;
            store::ToDoItem item = entry.item;
            item.id = byUid.value(entry.uid, store::kNoRecord);
            if (item.id == store::kNoRecord) {
                item.id = standIn(pending.size());
                pending << item;
                pendingUids << entry.uid;
                if (!entry.uid.isEmpty())
                    byUid.insert(entry.uid, item.id);
                ++m_result.todos;
            } else if (item.id < 0) {
                pending[pendingIndex(item.id)] = item;
            } else {
                if (const store::WriteResult written = updates.update(item, storedById.value(item.id)); !written)
                    return fail(written.error);
                ++m_result.todos;
            }
        }
        if (const store::WriteResult written = repository.addAll(pending); !written)
            return fail(written.error);
        return setUids(store::names::ToDo, pending, pendingUids);
    }

    bool storeNotes(const QList<NoteEntry> &notes)
    {
        if (notes.isEmpty())
            return true;
        QHash<QString, store::RecordId> byUid;
        if (!readUids(store::names::Notes, byUid))
            return false;
        store::NoteRepository repository(m_db);
        // A note that reads as the file has it already is left untouched.
        const auto stored = repository.all();
        if (!stored.ok())
            return fail(stored.error);
        QHash<store::RecordId, store::Note> storedById;
        for (const store::Note &note : *stored.value)
            storedById.insert(note.id, note);
        for (const NoteEntry &entry : notes) {
            if (!proceed())
                return false;
            store::Note note{byUid.value(entry.uid, store::kNoRecord), entry.title, entry.text};
            if (note.id != store::kNoRecord) {
                const store::Note before = storedById.value(note.id);
                if (before.title != note.title || before.text != note.text) {
                    if (const store::WriteResult written = repository.update(note); !written)
                        return fail(written.error);
                }
            } else {
                if (const store::WriteResult written = repository.add(note); !written)
                    return fail(written.error);
                if (!setUid(store::names::Notes, note.id, entry.uid))
                    return false;
                byUid.insert(entry.uid, note.id);
            }
            ++m_result.notes;
        }
        return true;
    }

    bool storeContacts(const QList<ContactCard> &cards)
    {
        QHash<QString, store::RecordId> byUid;
        if (!readUids(store::names::Contacts, byUid))
            return false;
        store::ContactRepository repository(m_db);
        store::ContactCategoryRepository categories(m_db);
        // A contact that reads as the card has it already is left untouched.
        const auto storedCategories = categories.all();
        if (!storedCategories.ok())
            return fail(storedCategories.error);
        for (const ContactCard &card : cards) {
            if (!proceed())
                return false;
            store::Contact contact = card;
            contact.id = byUid.value(card.uid, store::kNoRecord);
            if (contact.id != store::kNoRecord) {
                const auto stored = repository.byId(contact.id);
                if (!stored.ok())
                    return fail(stored.error);
                if (!stored.value || *stored.value != contact) {
                    if (const store::WriteResult written = repository.update(contact); !written)
                        return fail(written.error);
                }
            } else {
                if (const store::WriteResult written = repository.add(contact); !written)
                    return fail(written.error);
                if (!setUid(store::names::Contacts, contact.id, card.uid))
                    return false;
                byUid.insert(card.uid, contact.id);
            }
            if (!storedCategories.value->contains(contact.id)
                || storedCategories.value->value(contact.id) != card.category) {
                if (const store::WriteResult written = categories.set(contact.id, card.category); !written)
                    return fail(written.error);
            }
            ++m_result.contacts;
        }
        return true;
    }

private:
    template <typename Record>
    bool setUids(const QString &table, const QList<Record> &records, const QStringList &uids)
    {
        QList<std::pair<store::RecordId, QString>> pairs;
        pairs.reserve(records.size());
        for (qsizetype i = 0; i < records.size(); ++i)
            pairs.append({records.at(i).id, uids.at(i).isEmpty() ? newUid() : uids.at(i)});
        if (const store::WriteResult written = m_uids.setAll(table, pairs); !written)
            return fail(written.error);
        return true;
    }

    bool setUid(const QString &table, store::RecordId id, const QString &uid)
    {
        // A record the file gave no UID gets one, so that the next import of
        // the same file finds it.
        if (const store::WriteResult written = m_uids.set(table, id, uid.isEmpty() ? newUid() : uid); !written)
            return fail(written.error);
        return true;
    }

    store::Database &m_db;
    store::UidRepository m_uids;
    ImportResult &m_result;
    const ImportProgress &m_progress;
    qsizetype m_total = 0;
    qsizetype m_done = 0;
};

void countProblems(ImportResult &result, const QList<Problem> &problems)
{
    for (const Problem &problem : problems) {
        switch (problem.kind) {
        case Problem::Kind::Skipped:
            ++result.skipped;
            break;
        case Problem::Kind::Shortened:
            ++result.shortened;
            break;
        case Problem::Kind::Changed:
            ++result.changed;
            break;
        }
        result.details << lineText(problem.line, problem.message);
    }
}

// Reads what an export writes in one transaction, which also gives every
// record without a UID its own, so that the UIDs read are those kept. Stops
// as soon as the user cancels; then the transaction, and with it the new
// UIDs, is rolled back.
class ExportReading
{
public:
    ExportReading(store::Database &db, const ExportCancel &cancelled)
        : m_db(db), m_cancelled(cancelled), m_transaction(db)
    {
        if (!m_transaction.isActive())
            m_error = m_transaction.error();
        else
            m_db.setStopCheck(m_cancelled);
    }
    // Before the transaction's rollback, which must never be stopped.
    ~ExportReading() { m_db.setStopCheck({}); }
    Q_DISABLE_COPY_MOVE(ExportReading)

    [[nodiscard]] QString error() const { return m_error; }
    [[nodiscard]] bool cancelled() const { return m_stopped; }

    // False when the step failed (`error` is its reason) or the user has
    // cancelled meanwhile; a read stopped by Cancel fails as well.
    bool proceed(const QString &error = {})
    {
        if (!m_error.isEmpty() || m_stopped)
            return false;
        if (m_cancelled && m_cancelled()) {
            m_stopped = true;
            return false;
        }
        m_error = error;
        return m_error.isEmpty();
    }

    bool giveUids(const QStringList &tables)
    {
        store::UidRepository repository(m_db);
        for (const QString &table : tables) {
            if (!proceed(repository.giveMissing(table).error))
                return false;
        }
        return true;
    }

    template <typename Record>
    bool uidsFor(const QString &table, const QList<Record> &records, QStringList &uids)
    {
        auto stored = store::UidRepository(m_db).uidsOf(table);
        if (!proceed(stored.error))
            return false;
        uids.reserve(records.size());
        for (const Record &record : records) {
            uids << stored.value->value(record.id);
            if (uids.constLast().isEmpty())
                return proceed(QStringLiteral("A record of \"%1\" was given no UID.").arg(table));
        }
        return true;
    }

    bool commit()
    {
        if (!proceed())
            return false;
        // Once committed, the UIDs are kept whatever the user does next.
        m_db.setStopCheck({});
        if (m_transaction.commit())
            return true;
        m_error = m_transaction.error();
        return false;
    }

private:
    store::Database &m_db;
    const ExportCancel &m_cancelled;
    store::Transaction m_transaction;
    QString m_error;
    bool m_stopped = false;
};

} // namespace

QString ImportResult::summary() const
{
    QStringList parts;
    if (events > 0)
        parts << counted(events, QStringLiteral("event"), QStringLiteral("events"));
    if (todos > 0)
        parts << counted(todos, QStringLiteral("to-do item"), QStringLiteral("to-do items"));
    if (notes > 0)
        parts << counted(notes, QStringLiteral("note"), QStringLiteral("notes"));
    if (contacts > 0)
        parts << counted(contacts, QStringLiteral("contact"), QStringLiteral("contacts"));
    QString text = parts.isEmpty() ? QStringLiteral("Imported nothing")
                                   : QStringLiteral("Imported ") + parts.join(QStringLiteral(", "));
    QStringList problems;
    if (skipped > 0)
        problems << QStringLiteral("%1 skipped").arg(number(skipped));
    if (shortened > 0)
        problems << QStringLiteral("%1 shortened").arg(number(shortened));
    if (changed > 0)
        problems << QStringLiteral("%1 changed").arg(number(changed));
    if (!problems.isEmpty())
        text += QStringLiteral("; ") + problems.join(QStringLiteral(", ")) + QStringLiteral(": see above");
    return text;
}

ImportFile readImportData(const QByteArray &data, const QString &name, const QDate &today,
                          const ReadCancel &cancelled)
{
    ImportFile file;
    file.path = name;
    file.read = readFile(data, today, cancelled);
    if (file.read.refusal) {
        file.error = QStringLiteral("The file '%1' cannot be imported.  %2").arg(name, file.read.refusal->message);
    }
    return file;
}

ImportFile readImportFile(const QString &path, const QDate &today, const ReadCancel &cancelled)
{
    QFile input(path);
    const bool opened = path == QLatin1String("-") ? input.open(stdin, QIODevice::ReadOnly)
                                                   : input.open(QIODevice::ReadOnly);
    QByteArray data;
    if (opened)
        data = input.readAll();
    if (!opened || input.error() != QFileDevice::NoError) {
        ImportFile file;
        file.path = path;
        file.error = QStringLiteral("The file '%1' cannot be read: %2.").arg(path, input.errorString());
        return file;
    }
    return readImportData(data, path, today, cancelled);
}

ImportResult storeImport(store::Database &db, const ImportFile &file, const ImportProgress &progress)
{
    ImportResult result;
    if (!file.error.isEmpty() || !file.read.ok()) {
        result.outcome = ImportResult::Outcome::Refused;
        result.error = file.error;
        return result;
    }
    store::Transaction transaction(db);
    if (!transaction.isActive()) {
        result.error = transaction.error();
        return result;
    }
    bool stored = false;
    if (file.read.kind == FileKind::Contacts) {
        const ContactsReadResult &read = file.read.contacts;
        countProblems(result, read.problems);
        Importer importer(db, result, progress, read.contacts.size());
        stored = importer.storeContacts(read.contacts);
    } else {
        const CalendarReadResult &read = file.read.calendar;
        countProblems(result, read.problems);
        const CalendarContent &content = read.content;
        Importer importer(db, result, progress,
                          content.tasks.size() + content.todos.size() + content.notes.size());
        stored = importer.storeTasks(content.tasks) && importer.storeToDos(content.todos)
                 && importer.storeNotes(content.notes);
    }
    if (!stored)
        return result; // rolled back with the transaction
    if (!transaction.commit()) {
        result.outcome = ImportResult::Outcome::Failed;
        result.error = transaction.error();
        return result;
    }
    result.outcome = ImportResult::Outcome::Imported;
    return result;
}

ImportResult importFile(store::Database &db, const QString &path, const QDate &today, const ImportProgress &progress)
{
    return storeImport(db, readImportFile(path, today), progress);
}

CalendarExport collectCalendar(store::Database &db, const ExportCancel &cancelled)
{
    CalendarExport records;
    ExportReading reading(db, cancelled);
    const auto stop = [&] {
        records.error = reading.error();
        records.cancelled = reading.cancelled();
        return records;
    };
    if (!reading.proceed() || !reading.giveUids({store::names::Agenda, store::names::ToDo, store::names::Notes}))
        return stop();
    auto tasks = store::AgendaRepository(db).all();
    if (!reading.proceed(tasks.error))
        return stop();
    auto todos = store::ToDoRepository(db).all();
    if (!reading.proceed(todos.error))
        return stop();
    auto notes = store::NoteRepository(db).all();
    if (!reading.proceed(notes.error))
        return stop();
    QStringList taskUids;
    QStringList todoUids;
    QStringList noteUids;
    if (!reading.uidsFor(store::names::Agenda, *tasks.value, taskUids)
        || !reading.uidsFor(store::names::ToDo, *todos.value, todoUids)
        || !reading.uidsFor(store::names::Notes, *notes.value, noteUids) || !reading.commit())
        return stop();
    CalendarContent &content = records.content;
    content.tasks.reserve(tasks.value->size());
    for (qsizetype i = 0; i < tasks.value->size(); ++i)
        content.tasks.append({std::move((*tasks.value)[i]), taskUids.at(i), 0});
    content.todos.reserve(todos.value->size());
    for (qsizetype i = 0; i < todos.value->size(); ++i)
        content.todos.append({std::move((*todos.value)[i]), todoUids.at(i), 0});
    for (qsizetype i = 0; i < notes.value->size(); ++i) {
        const store::Note &note = notes.value->at(i);
        content.notes.append({note.title, note.text, noteUids.at(i), 0});
    }
    return records;
}

ExportResult writeCalendarExport(const CalendarExport &records, const QDateTime &stamp, const WriteProgress &progress)
{
    ExportResult result;
    result.cancelled = records.cancelled;
    if (records.cancelled || !records.error.isEmpty()) {
        result.error = records.error;
        return result;
    }
    const CalendarContent &content = records.content;
    CalendarWriteResult written = writeCalendar(content, stamp, progress);
    if (written.stopped) {
        result.cancelled = true;
        return result;
    }
    for (const Problem &problem : std::as_const(written.problems))
        result.details << problem.message;
    result.ok = true;
    result.data = std::move(written.data);
    result.records = int(content.tasks.size() + content.todos.size() + content.notes.size()
                         - written.problems.size());
    result.summary = QStringLiteral("Exported %1, %2, %3")
                         .arg(counted(int(content.tasks.size()), QStringLiteral("event"), QStringLiteral("events")),
                              counted(int(content.todos.size()), QStringLiteral("to-do item"),
                                      QStringLiteral("to-do items")),
                              counted(int(content.notes.size()), QStringLiteral("note"), QStringLiteral("notes")));
    if (!written.problems.isEmpty()) {
        result.summary += QStringLiteral("; %1 not written: see above").arg(number(int(written.problems.size())));
    }
    return result;
}

ExportResult exportCalendar(store::Database &db, const QDateTime &stamp)
{
    return writeCalendarExport(collectCalendar(db), stamp);
}

ContactsExport collectContacts(store::Database &db, const ExportCancel &cancelled)
{
    ContactsExport records;
    ExportReading reading(db, cancelled);
    const auto stop = [&] {
        records.error = reading.error();
        records.cancelled = reading.cancelled();
        return records;
    };
    if (!reading.proceed() || !reading.giveUids({store::names::Contacts}))
        return stop();
    store::ContactRepository repository(db);
    auto names = repository.list(store::ContactOrder::LastName);
    if (!reading.proceed(names.error))
        return stop();
    auto categories = store::ContactCategoryRepository(db).all();
    if (!reading.proceed(categories.error))
        return stop();
    QList<store::Contact> contacts;
    contacts.reserve(names.value->size());
    for (const store::ContactName &name : std::as_const(*names.value)) {
        auto contact = repository.byId(name.id);
        if (!reading.proceed(contact.error))
            return stop();
        if (contact.value)
            contacts << *contact.value;
    }
    QStringList uids;
    if (!reading.uidsFor(store::names::Contacts, contacts, uids) || !reading.commit())
        return stop();
    records.contacts.reserve(contacts.size());
    for (qsizetype i = 0; i < contacts.size(); ++i) {
        ContactCard card = cardOf(contacts.at(i));
        card.category = categories.value->value(contacts.at(i).id);
        card.uid = uids.at(i);
        records.contacts << card;
    }
    return records;
}

ExportResult writeContactsExport(const ContactsExport &records, const WriteProgress &progress)
{
    ExportResult result;
    result.cancelled = records.cancelled;
    if (records.cancelled || !records.error.isEmpty()) {
        result.error = records.error;
        return result;
    }
    bool stopped = false;
    result.data = writeContacts(records.contacts, [&](qsizetype done, qsizetype total) {
        stopped = progress && !progress(done, total);
        return !stopped;
    });
    if (stopped) {
        result.data.clear();
        result.cancelled = true;
        return result;
    }
    result.ok = true;
    result.records = int(records.contacts.size());
    result.summary = QStringLiteral("Exported ")
                     + counted(result.records, QStringLiteral("contact"), QStringLiteral("contacts"));
    return result;
}

ExportResult exportContacts(store::Database &db)
{
    return writeContactsExport(collectContacts(db));
}

QString writeExportFile(const QString &path, const QByteArray &data)
{
    if (path == QLatin1String("-")) {
        if (std::fwrite(data.constData(), 1, size_t(data.size()), stdout) != size_t(data.size())
            || std::fflush(stdout) != 0)
            return QStringLiteral("The export could not be written to standard output.");
        return {};
    }
    QSaveFile output(path);
    const QString problem = prepareExportFile(output, data);
    return problem.isEmpty() ? finishExportFile(output) : problem;
}

QString prepareExportFile(QSaveFile &file, const QByteArray &data)
{
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.flush())
        return QStringLiteral("The file '%1' cannot be written: %2.").arg(file.fileName(), file.errorString());
    // On disk now, so that moving it into place later is quick.
    if (::fsync(file.handle()) != 0) {
        return QStringLiteral("The file '%1' cannot be written: %2.")
            .arg(file.fileName(), QString::fromLocal8Bit(std::strerror(errno)));
    }
    return {};
}

QString finishExportFile(QSaveFile &file)
{
    if (!file.commit())
        return QStringLiteral("The file '%1' cannot be written: %2.").arg(file.fileName(), file.errorString());
    return {};
}

} // namespace brevane::interchange
