#include "app/frmmain.h"
#include "store/agendarepository.h"
#include "store/contactrepository.h"
#include "store/names.h"
#include "testsupport.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QRadioButton>
#include <QSqlQuery>

using namespace brevane;
using namespace brevane::testing;

namespace {

void addRecords(store::Database &db)
{
    store::AgendaTask task;
    task.day = 5, task.month = 3, task.year = 2003;
    task.start = QTime(9, 0), task.end = QTime(10, 0);
    task.text = QStringLiteral("Dentist"), task.alarm = QStringLiteral("No");
    QVERIFY(store::AgendaRepository(db).add(task).ok);
    store::Contact contact;
    contact.firstName = QStringLiteral("Ada"), contact.lastName = QStringLiteral("Byron");
    QVERIFY(store::ContactRepository(db).add(contact).ok);
}

// Runs the program as a script would: no display at all.
struct Run { int status = -1; QString out, err; };
Run runProgram(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("no-such-platform"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(BREVANE_ORGANIZER), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

} // namespace

class ImportExportTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theFileMenuOffersImportAndExport()
    {
        TestData data;
        frmMain window(data.db());
        QStringList names;
        for (const QAction *entry : window.findChild<QMenu *>(QStringLiteral("mnuFile"))->actions())
            names << entry->text();
        // After the New submenu, before the separator above Exit.
        QCOMPARE(names.join(u'|'), QStringLiteral("New|Import...|Export...|Print||Exit Brevane Organizer"));
    }

    // Exported through the window and imported again: the records are
    // updated, not doubled, and the summaries say so. Cancel writes no file.
    void exportAndImportThroughTheWindow_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QByteArray>("before"); // the file at the path before; empty: none
        QTest::addColumn<QString>("exported");
        QTest::addColumn<QString>("imported");
        QTest::addColumn<QString>("table");
        const QString cancelled = QStringLiteral("The export was cancelled.  No file was written.");
        QTest::newRow("calendar") << "optExportCalendar" << false << QByteArray() << "Exported 1 event, 0 to-do items, 0 notes."
                                  << "Imported 1 event." << store::names::Agenda;
        QTest::newRow("contacts, replacing a file") << "optExportContacts" << false << QByteArray("old")
                                                    << "Exported 1 contact." << "Imported 1 contact." << store::names::Contacts;
        QTest::newRow("calendar, keeping a file") << "optExportCalendar" << true << QByteArray("old") << "" << ""
                                                  << store::names::Agenda; // asked whether to replace it, answered No
        QTest::newRow("calendar, cancelled") << "optExportCalendar" << true << QByteArray("old\r\n") << cancelled << ""
                                             << store::names::Agenda;
        QTest::newRow("contacts, cancelled") << "optExportContacts" << true << QByteArray() << cancelled << ""
                                             << store::names::Contacts;
    }
    void exportAndImportThroughTheWindow()
    {
        QFETCH(QString, choice);
        QFETCH(bool, cancel);
        QFETCH(QByteArray, before);
        QFETCH(QString, exported);
        QFETCH(QString, imported);
        QFETCH(QString, table);
        TestData data;
        addRecords(data.db());
        frmMain window(data.db());
        window.load();
        data.desktop().onModal([&](QDialog *dialog) {
            auto *option = dialog->findChild<QRadioButton *>(choice);
            if (!option)
                return int(QDialog::Rejected);
            option->setChecked(true);
            // Escape, pressed as soon as the export waits for its worker, which is
            // then reading the records or writing the text.
            if (cancel)
                QMetaObject::invokeMethod(&window, [&window] {
                    if (auto *progress = window.findChild<QProgressDialog *>(QStringLiteral("dlgTransferProgress")))
                        QTest::keyClick(progress, Qt::Key_Escape);
                }, Qt::QueuedConnection);
            return int(QDialog::Accepted);
        });
        const QString path = data.dir() + QStringLiteral("/export");
        const QString written = path + (table == store::names::Agenda ? QStringLiteral(".ics") : QStringLiteral(".vcf"));
        QFile file(written);
        if (!before.isEmpty())
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(before) == before.size() && file.flush());
        file.close();
        data.desktop().queueChosenFile(path);
        data.desktop().clearRecords();
        data.desktop().queueAnswer(exported.isEmpty() ? Desktop::Answer::No : Desktop::Answer::Yes);
        window.findChild<QAction *>(QStringLiteral("mnuExport"))->trigger();
        // The chooser asked about "export"; the file written has a suffix.
        const QStringList asked{QStringLiteral("The file '%1' already exists.  Do you want to replace it?").arg(written)};
        QCOMPARE(data.desktop().messageTexts(),
                 (before.isEmpty() ? QStringList() : asked) + (exported.isEmpty() ? QStringList() : QStringList{exported}));
        QVERIFY(file.open(QIODevice::ReadOnly) == (!cancel || !before.isEmpty()));
        QCOMPARE(file.readAll() == before, cancel);
        QCOMPARE(QDir(data.dir()).entryList({QStringLiteral("export*")}, QDir::Files).size(), file.isOpen() ? 1 : 0);
        if (cancel)
            return;

        data.desktop().queueChosenFile(written);
        data.desktop().clearRecords();
        window.findChild<QAction *>(QStringLiteral("mnuImport"))->trigger();
        QCOMPARE(data.desktop().messageTexts(), QStringList{imported});
        QCOMPARE(data.countOf(table), 1);
    }

    // Another program's file through the window: repeats expanded, times put
    // on the half-hour grid, all-day events at midnight, a cut file refused.
    void importsAnotherProgramsEvents_data()
    {
        QTest::addColumn<QByteArray>("event");
        QTest::addColumn<QString>("tasks"); // day start-end of each task stored
        QTest::addColumn<QString>("message");
        QTest::newRow("repeating, off the grid")
            << QByteArray("DTSTART:20030310T091500\r\nDTEND:20030310T095000\r\nRRULE:FREQ=DAILY;COUNT=3\r\n"
                          "END:VEVENT\r\nEND:VCALENDAR\r\n")
            << "10 09:00-10:00 11 09:00-10:00 12 09:00-10:00" << "Imported 3 events.";
        QTest::newRow("all day") << QByteArray("DTSTART;VALUE=DATE:20030320\r\nDTEND;VALUE=DATE:20030321\r\n"
                                               "END:VEVENT\r\nEND:VCALENDAR\r\n")
                                 << "20 00:00-00:00" << "Imported 1 event.";
        QTest::newRow("cut off") << QByteArray("DTSTART:20030310T090000\r\n") << ""
                                 << "Nothing of the file was imported";
    }
    void importsAnotherProgramsEvents()
    {
        QFETCH(QByteArray, event);
        QFETCH(QString, tasks);
        QFETCH(QString, message);
        TestData data;
        frmMain window(data.db());
        window.load();
        const QString path = data.dir() + QStringLiteral("/other.ics");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\nBEGIN:VEVENT\r\nUID:o1\r\nSUMMARY:Stand-up\r\n"
                   + event);
        file.close();
        data.desktop().queueChosenFile(path);
        window.findChild<QAction *>(QStringLiteral("mnuImport"))->trigger();
        const QString said = data.desktop().messageTexts().join(u'\n');
        QVERIFY2(said.contains(message), qPrintable(said));
        QStringList stored;
        const auto month = store::AgendaRepository(data.db()).month(2003, 3);
        for (const store::AgendaTask &task : *month.value)
            stored << QStringLiteral("%1 %2-%3").arg(task.day).arg(task.start.toString(u"hh:mm"), task.end.toString(u"hh:mm"));
        QCOMPARE(stored.join(u' '), tasks);
    }

    // Nothing runs inside the import's transaction (Cancel would take it back too); a
    // reading over half a second shows the progress window, whose Cancel stops it.
    void anImportRunsAlone_data()
    {
        QTest::addColumn<QByteArray>("events");
        QTest::addColumn<int>("stored"); // 0: cancelled while reading
        QByteArray many;
        for (int i = 0; i < 450; ++i)
            many += "BEGIN:VEVENT\r\nDTSTART:" + QDate(2003, 1, 1).addDays(i).toString(u"yyyyMMdd").toLatin1()
                    + "T100000\r\nEND:VEVENT\r\n";
        QTest::newRow("stored in batches") << many << 450;
        QTest::newRow("read slowly") // each event repeats far too often, cut off after about a second
            << QByteArray("BEGIN:VEVENT\r\nDTSTART:19000101T000000\r\nRRULE:FREQ=SECONDLY;COUNT=999999\r\nEND:VEVENT\r\n").repeated(3) << 0;
    }
    void anImportRunsAlone()
    {
        QFETCH(QByteArray, events);
        QFETCH(int, stored);
        TestData data;
        frmMain window(data.db());
        window.load();
        QFile file(data.dir() + QStringLiteral("/import.ics"));
        QVERIFY(file.open(QIODevice::WriteOnly)
                && file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\n" + events + "END:VCALENDAR\r\n") > 0 && file.flush());
        data.desktop().queueChosenFile(file.fileName());
        bool inside = false;
        std::function<void()> probe = [&] { // runs whenever events do, until the import ends
            QSqlQuery begin(data.db().connection());
            inside = inside || !begin.exec(QStringLiteral("BEGIN")) || !begin.exec(QStringLiteral("ROLLBACK"));
            auto *progress = window.findChild<QProgressDialog *>(QStringLiteral("dlgTransferProgress"));
            if (progress && progress->isVisible())
                Q_EMIT progress->canceled(); // as its button does
            if (progress && !inside)
                QMetaObject::invokeMethod(&window, probe, Qt::QueuedConnection);
        };
        QMetaObject::invokeMethod(&window, probe, Qt::QueuedConnection);
        window.findChild<QAction *>(QStringLiteral("mnuImport"))->trigger();
        QVERIFY(!inside);
        QCOMPARE(data.desktop().messageTexts().size(), stored ? 1 : 0);
        QCOMPARE(data.countOf(store::names::Agenda), stored);
    }

    void theCommandLineWorksWithoutAWindow_data()
    {
        QTest::addColumn<QStringList>("arguments"); // after --database FILE; %1 is the temporary folder
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("export calendar") << QStringList{"--export-calendar", "%1/out.ics"} << 0
                                         << "Exported 1 event, 0 to-do items, 0 notes\n" << "";
        QTest::newRow("export contacts to standard output") << QStringList{"--export-contacts", "-"} << 0
                                                            << "BEGIN:VCARD" << "Exported 1 contact\n";
        QTest::newRow("import our own export") << QStringList{"--import", "%1/in.vcf"} << 0 << "Imported 1 contact\n"
                                               << "";
        QTest::newRow("missing file") << QStringList{"--import", "%1/none.ics"} << 1 << "" << "cannot be read";
        QTest::newRow("truncated file") << QStringList{"--import", "%1/cut.ics"} << 1 << "" << "Line ";
        QTest::newRow("unwritable") << QStringList{"--export-calendar", "%1/no/such/folder.ics"} << 1 << ""
                                    << "cannot be written";
        QTest::newRow("help lists the commands") << QStringList{"--help"} << 0 << "--export-contacts <FILE>" << "";
        QTest::newRow("two at once") << QStringList{"--export-calendar", "-", "--import", "%1/in.vcf"} << 1 << ""
                                     << "one of";
    }
    void theCommandLineWorksWithoutAWindow()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        TestData data;
        addRecords(data.db());
        QFile in(data.dir() + QStringLiteral("/in.vcf"));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write("BEGIN:VCARD\r\nVERSION:4.0\r\nUID:x\r\nFN:Grace Hopper\r\nN:Hopper;Grace;;;\r\nEND:VCARD\r\n");
        in.close();
        QFile cut(data.dir() + QStringLiteral("/cut.ics"));
        QVERIFY(cut.open(QIODevice::WriteOnly));
        cut.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\n");
        cut.close();
        for (QString &argument : arguments)
            argument.replace(QStringLiteral("%1"), data.dir());
        const Run run = runProgram(QStringList{QStringLiteral("--database"), data.path()} + arguments);
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY2(out.isEmpty() ? run.out.isEmpty() : run.out.contains(out), qPrintable(run.out));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
    }
};

BREVANE_TEST(ImportExportTests)
#include "tst_importexport.moc"
