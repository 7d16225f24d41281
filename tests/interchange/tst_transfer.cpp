#include "interchange/transfer.h"
#include "store/bulkupdate.h"
#include "store/contactrepository.h"
#include "store/names.h"
#include "store/uidrepository.h"
#include "testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThread>

#include <memory>
#include <utility>

using namespace brevane;
using namespace brevane::interchange;

namespace {

const QDate kToday(2024, 3, 1);
const QDateTime kStamp(kToday, QTime(12, 0), Qt::UTC);

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString writeFile(const QString &path, const QByteArray &data)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(data);
    return path;
}

QByteArray eventsFile(const QList<QByteArray> &events)
{
    QByteArray data = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n";
    for (const QByteArray &event : events)
        data += "BEGIN:VEVENT\r\n" + event + "DTSTAMP:20240101T000000Z\r\nEND:VEVENT\r\n";
    return data + "END:VCALENDAR\r\n";
}

QByteArray vevent(const QByteArray &uid, const QByteArray &summary, const QByteArray &start)
{
    return "UID:" + uid + "\r\nSUMMARY:" + summary + "\r\nDTSTART:" + start + "\r\n";
}

// Every record of every kind, with the texts that files escape or fold.
void fill(store::Database &db)
{
    const QString text = QStringLiteral("\"Q\", a; b\\c\nВстреча 会議 🎂");
    store::AgendaRepository agenda(db);
    for (int i = 0; i < 3; ++i) {
        store::AgendaTask task;
        task.day = 5 + i;
        task.month = 3;
        task.year = 2024;
        task.start = QTime(9 + i, 30 * (i % 2));
        task.end = task.start.addSecs(3600);
        task.text = text + QString::number(i);
        task.category = QStringLiteral("Meeting");
        task.alarm = i == 1 ? QStringLiteral("Yes") : QStringLiteral("No");
        store::AgendaRepository::setReminderLead(task, i);
        QVERIFY(agenda.add(task).ok);
    }
    store::ToDoRepository todos(db);
    for (int priority : {1, 2, 3}) {
        store::ToDoItem item{store::kNoRecord, text, QStringLiteral("Personal"), priority == 2, priority};
        QVERIFY(todos.add(item).ok);
    }
    store::Note note{store::kNoRecord, QStringLiteral("Title; with, marks "), text + QStringLiteral("\n\nend")};
    QVERIFY(store::NoteRepository(db).add(note).ok);
    store::Contact contact;
    for (store::ContactField field : store::contactFields())
        contact.value(field) = text + store::storedFieldName(field);
    contact.birthday = QStringLiteral("July 7, 1999");
    contact.anniversary = QStringLiteral("July 7");
    store::ContactRepository contacts(db);
    QVERIFY(contacts.add(contact).ok);
    QVERIFY(store::ContactCategoryRepository(db).set(contact.id, QStringLiteral("Family")).ok);
}

// Every record of the file without identities, in a stable order.
QStringList contentOf(store::Database &db)
{
    QStringList lines;
    const auto tasks = store::AgendaRepository(db).all();
    const auto todos = store::ToDoRepository(db).all();
    const auto notes = store::NoteRepository(db).all();
    for (store::AgendaTask task : *tasks.value) {
        task.id = store::kNoRecord;
        lines << QStringLiteral("task %1 %2 %3-%4 %5 %6 %7.%8.%9 %10 %11")
                     .arg(task.date().toString(Qt::ISODate), task.shownText, task.start.toString(),
                          task.end.toString(), task.category, task.reminder)
                     .arg(task.reminderDay)
                     .arg(task.reminderMonth)
                     .arg(task.reminderYear)
                     .arg(task.alarm, task.repeating);
    }
    for (const store::ToDoItem &item : *todos.value)
        lines << QStringLiteral("todo %1 %2 %3 %4").arg(item.text, item.category).arg(item.done).arg(item.priority);
    for (const store::Note &note : *notes.value)
        lines << QStringLiteral("note %1|%2").arg(note.title, note.text);
    store::ContactRepository contacts(db);
    const auto categories = *store::ContactCategoryRepository(db).all().value;
    const auto names = contacts.list(store::ContactOrder::LastName);
    for (const store::ContactName &name : *names.value) {
        const store::Contact contact = *contacts.byId(name.id).value;
        QStringList fields;
        for (store::ContactField field : store::contactFields())
            fields << contact.value(field);
        lines << QStringLiteral("contact ") + fields.join(u'|') + u'|' + categories.value(name.id);
    }
    lines.sort();
    return lines;
}

// Every stored field of a record, a missing value told from an empty one.
QStringList storedRow(store::Database &db, const QString &table, store::RecordId id)
{
    QSqlQuery query(db.connection());
    query.prepare(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(store::Database::quoteName(table)));
    query.addBindValue(id);
    QStringList fields;
    if (query.exec() && query.next())
        for (int i = 0; i < query.record().count(); ++i)
            fields << (query.isNull(i) ? QStringLiteral("<null>") : query.value(i).toString());
    return fields;
}

// An export as the window runs it: beside it, through a connection of its own.
ExportResult exportBeside(const QString &path, bool contacts, const ExportCancel &cancelled)
{
    ExportResult result;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        if (const auto db = store::Database::openAlongside(path, &result.error))
            result = contacts ? writeContactsExport(collectContacts(*db, cancelled))
                              : writeCalendarExport(collectCalendar(*db, cancelled), kStamp);
    }));
    worker->start();
    worker->wait();
    return result;
}

} // namespace

class TransferTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ourExportComesBackWholeAndOnce()
    {
        testing::TestData source;
        fill(source.db());
        const ExportResult calendar = exportCalendar(source.db(), kStamp);
        const ExportResult contacts = exportContacts(source.db());
        QVERIFY2(calendar.ok && contacts.ok, qPrintable(calendar.error + contacts.error));
        QCOMPARE(calendar.summary, QStringLiteral("Exported 3 events, 3 to-do items, 1 note"));
        const QString calendarPath = writeFile(source.dir() + QStringLiteral("/out.ics"), calendar.data);
        const QString contactsPath = writeFile(source.dir() + QStringLiteral("/out.vcf"), contacts.data);

        testing::TestData target;
        for (int round = 0; round < 2; ++round) {
            const ImportResult events = importFile(target.db(), calendarPath, kToday);
            const ImportResult cards = importFile(target.db(), contactsPath, kToday);
            QVERIFY2(events.ok() && cards.ok(), qPrintable(events.error + cards.error));
            QVERIFY2(events.details.isEmpty(), qPrintable(events.details.join(u'\n')));
            QCOMPARE(events.summary(), QStringLiteral("Imported 3 events, 3 to-do items, 1 note"));
            QCOMPARE(cards.summary(), QStringLiteral("Imported 1 contact"));
            // The second round updates what the first added.
            QCOMPARE(contentOf(target.db()), contentOf(source.db()));
        }
        // Exported again, the records keep their UIDs.
        const ExportResult again = exportCalendar(target.db(), kStamp);
        QCOMPARE(again.data, calendar.data);
    }

    // A re-import rewrites its records in bulk: the same stored texts as an
    // edit of every field.
    void bulkUpdatesStoreWhatAnEditStores_data()
    {
        QTest::addColumn<QTime>("start");
        QTest::addColumn<QTime>("end");
        QTest::addColumn<int>("reminder");
        QTest::addColumn<QString>("category");
        QTest::newRow("morning, a reminder") << QTime(9, 30) << QTime(10, 0) << 3 << "Meeting";
        QTest::newRow("midnight to noon, none") << QTime(0, 0) << QTime(12, 0) << 0 << "";
        QTest::newRow("afternoon, hand-made category") << QTime(12, 30) << QTime(23, 30) << 1 << "a, b";
    }
    void bulkUpdatesStoreWhatAnEditStores()
    {
        QFETCH(QTime, start);
        QFETCH(QTime, end);
        QFETCH(int, reminder);
        QFETCH(QString, category);
        testing::TestData data;
        fill(data.db()); // tasks 1 and 2 differ in every field
        store::AgendaTask task = *store::AgendaRepository(data.db()).byId(1).value;
        task.start = start, task.end = end, task.category = category, task.day = 31;
        task.text = QStringLiteral("Lunch"), task.alarm = QStringLiteral("Yes"), task.repeating = category;
        store::AgendaRepository::setReminderLead(task, reminder);
        QVERIFY(store::AgendaRepository(data.db()).update(task, store::AgendaField::All).ok);
        task.id = 2;
        QVERIFY(store::BulkUpdate(data.db()).update(task).ok);
        QCOMPARE(storedRow(data.db(), store::names::Agenda, 2), storedRow(data.db(), store::names::Agenda, 1));

        store::ToDoItem item{1, QStringLiteral("Milk"), category, reminder > 0, reminder};
        QVERIFY(store::ToDoRepository(data.db()).update(item, store::ToDoField::All).ok);
        item.id = 2;
        QVERIFY(store::BulkUpdate(data.db()).update(item).ok);
        QCOMPARE(storedRow(data.db(), store::names::ToDo, 2), storedRow(data.db(), store::names::ToDo, 1));

        // What is stored now may be longer than a new text may be.
        store::AgendaTask longer = task;
        store::ToDoItem longerItem = item;
        longer.text = longerItem.text = QString(300, u'x');
        QVERIFY(store::BulkUpdate(data.db()).update(task, &longer).ok && store::BulkUpdate(data.db()).update(item, &longerItem).ok);
    }

    void aTakenSlotIsSkippedAndCounted_data()
    {
        QTest::addColumn<QList<QByteArray>>("events");
        QTest::addColumn<int>("imported");
        QTest::addColumn<QString>("detail");
        const QString taken = QStringLiteral("Another task already starts at 9:00 AM on March 5, 2024");
        QTest::newRow("off the grid, on a taken slot")
            << QList<QByteArray>{vevent("a", "Dentist", "20240305T091500")} << 0 << taken;
        QTest::newRow("two of the file on one slot")
            << QList<QByteArray>{vevent("a", "One", "20240306T100000"), vevent("b", "Two", "20240306T100000")} << 1
            << QStringLiteral("Another task already starts at 10:00 AM on March 6, 2024");
        QTest::newRow("a free slot") << QList<QByteArray>{vevent("a", "Free", "20240305T093000")} << 1 << QString();
    }
    void aTakenSlotIsSkippedAndCounted()
    {
        QFETCH(QList<QByteArray>, events);
        QFETCH(int, imported);
        QFETCH(QString, detail);
        testing::TestData data;
        store::AgendaTask existing;
        existing.day = 5, existing.month = 3, existing.year = 2024;
        existing.start = QTime(9, 0), existing.end = QTime(10, 0), existing.text = QStringLiteral("Meeting");
        QVERIFY(store::AgendaRepository(data.db()).add(existing).ok);

        const ImportResult result = storeImport(data.db(), readImportData(eventsFile(events), "f.ics", kToday));
        QVERIFY2(result.ok(), qPrintable(result.error));
        QCOMPARE(result.events, imported);
        QCOMPARE(result.skipped, detail.isEmpty() ? 0 : 1);
        QCOMPARE(data.countOf(store::names::Agenda), 1 + imported);
        if (!detail.isEmpty()) {
            QVERIFY2(result.details.value(0).contains(detail), qPrintable(result.details.join(u'\n')));
            QVERIFY2(result.summary().endsWith(QStringLiteral("1 skipped: see above")), qPrintable(result.summary()));
        }
    }

    void whatIsNotImportedLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("cancelAfter"); // -1: never
        QTest::addColumn<QString>("failingTable");
        QTest::addColumn<int>("outcome");
        const QByteArray whole = eventsFile({vevent("a", "A", "20240305T090000"), vevent("b", "B", "20240306T090000"),
                                             vevent("c", "C", "20240307T090000")});
        using O = ImportResult::Outcome;
        QTest::newRow("truncated") << whole.left(whole.size() - 30) << -1 << QString() << int(O::Refused);
        QTest::newRow("neither kind") << QByteArray("Subject: hello\r\n\r\nText") << -1 << QString() << int(O::Refused);
        QTest::newRow("cancelled at once") << whole << 0 << QString() << int(O::Cancelled);
        QTest::newRow("cancelled half-way") << whole << 2 << QString() << int(O::Cancelled);
        QTest::newRow("a write fails") << whole << -1 << store::names::Agenda << int(O::Failed);
        // Empty: the data file's own export with its tasks changed, so that they are updated.
        QTest::newRow("re-import cancelled half-way") << QByteArray() << 4 << QString() << int(O::Cancelled);
        QTest::newRow("re-import, a write fails") << QByteArray() << -1 << store::names::Agenda << int(O::Failed);
        // The export as it is: every record holds its values already.
        QTest::newRow("re-import of the same records") << QByteArray("same") << -1 << QString() << int(O::Imported);
        QTest::newRow("re-import of the same contacts") << QByteArray("same contacts") << -1 << QString()
                                                        << int(O::Imported);
    }
    void whatIsNotImportedLeavesTheFileAsItWas()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, cancelAfter);
        QFETCH(QString, failingTable);
        QFETCH(int, outcome);
        testing::TestData data;
        fill(data.db());
        if (file == "same contacts") {
            file = exportContacts(data.db()).data;
        } else if (file.isEmpty() || file == "same") {
            const QByteArray own = exportCalendar(data.db(), QDateTime::currentDateTimeUtc()).data;
            file = file.isEmpty() ? QByteArray(own).replace("Meeting", "Travel") : own;
        }
        if (!failingTable.isEmpty())
            data.failWrites(failingTable);
        const QByteArray before = fileBytes(data.path());
        const QString path = writeFile(data.dir() + QStringLiteral("/in.ics"), file);
        const ImportResult result = importFile(data.db(), path, kToday, [&](qsizetype done, qsizetype total) {
            Q_UNUSED(total);
            return cancelAfter < 0 || done < cancelAfter;
        });
        QCOMPARE(int(result.outcome), outcome);
        if (outcome == int(ImportResult::Outcome::Refused)) {
            QVERIFY2(result.error.contains(path) && result.error.contains(QStringLiteral("Line ")),
                     qPrintable(result.error));
        }
        QVERIFY(fileBytes(data.path()) == before);
    }

    // Beside the window the first export gives every record a UID of the
    // usual form and keeps it; the next gives the same, and both equal the
    // export on the window's own connection. Cancel, at any of the reading's
    // looks at it, leaves the data file byte for byte as it was.
    void anExportBesideTheWindow_data()
    {
        QTest::addColumn<bool>("contacts");
        QTest::addColumn<double>("cancelAt"); // share of the looks at Cancel; none below 0
        QTest::newRow("calendar") << false << -1.0;
        QTest::newRow("contacts") << true << -1.0;
        QTest::newRow("calendar, cancelled at once") << false << 0.0;
        QTest::newRow("calendar, cancelled while reading") << false << 0.5;
        QTest::newRow("calendar, cancelled at the end") << false << 1.0;
        QTest::newRow("contacts, cancelled while reading") << true << 0.5;
    }
    void anExportBesideTheWindow()
    {
        QFETCH(bool, contacts);
        QFETCH(double, cancelAt);
        testing::TestData data;
        fill(data.db());
        QList<store::AgendaTask> more(300, store::AgendaRepository(data.db()).all().value->constFirst());
        QVERIFY(store::AgendaRepository(data.db()).addAll(more).ok);
        const QByteArray before = fileBytes(data.path());
        if (cancelAt >= 0) {
            const QString copy = data.dir() + QStringLiteral("/copy.sqlite");
            QVERIFY(QFile::copy(data.path(), copy));
            int looks = 0;
            QVERIFY(exportBeside(copy, contacts, [&looks] { return ++looks < 0; }).ok);
            const int last = std::max(1, int(std::exchange(looks, 0) * cancelAt));
            const ExportResult cancelled = exportBeside(data.path(), contacts, [&] { return ++looks >= last; });
            QVERIFY2(cancelled.cancelled && cancelled.data.isEmpty(), qPrintable(cancelled.error));
            QVERIFY(fileBytes(data.path()) == before);
            return;
        }
        const ExportResult first = exportBeside(data.path(), contacts, {});
        QVERIFY2(first.ok, qPrintable(first.error));
        const QString table = contacts ? store::names::Contacts : store::names::Agenda;
        const auto uids = *store::UidRepository(data.db()).uidsOf(table).value;
        QCOMPARE(uids.size(), data.countOf(table));
        static const QRegularExpression form(
            QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
        for (const QString &uid : uids)
            QVERIFY2(form.match(uid).hasMatch() && first.data.contains(uid.toUtf8()), qPrintable(uid));
        QCOMPARE(exportBeside(data.path(), contacts, {}).data, first.data);
        QCOMPARE((contacts ? exportContacts(data.db()) : exportCalendar(data.db(), kStamp)).data, first.data);
    }

    void aDeletedRecordTakesItsUidAlong()
    {
        testing::TestData data;
        store::ToDoItem item{store::kNoRecord, QStringLiteral("Milk"), {}, false, 2};
        store::ToDoRepository todos(data.db());
        QVERIFY(todos.add(item).ok);
        store::UidRepository uids(data.db());
        QVERIFY(uids.set(store::names::ToDo, item.id, QStringLiteral("milk-uid")).ok);
        QCOMPARE(*uids.recordOf(store::names::ToDo, QStringLiteral("milk-uid")).value, item.id);
        QVERIFY(todos.remove(item.id).ok);
        QVERIFY(!uids.recordOf(store::names::ToDo, QStringLiteral("milk-uid")).value);
        // The reused identity starts without a UID.
        store::ToDoItem next{store::kNoRecord, QStringLiteral("Bread"), {}, false, 2};
        QVERIFY(todos.add(next).ok);
        QVERIFY(!uids.uidOf(store::names::ToDo, next.id).value);
    }
};

BREVANE_TEST(TransferTests)
#include "tst_transfer.moc"
