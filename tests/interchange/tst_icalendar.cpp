#include "interchange/interchange.h"
#include "testsupport.h"

#include <QFile>
#include <QStringDecoder>

using namespace brevane;
using namespace brevane::interchange;

namespace {

const QDate kToday(2024, 6, 15);

QByteArray calendar(const QByteArray &components)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + components + "END:VCALENDAR\r\n";
}

QByteArray eventFile(const QByteArray &lines)
{
    return calendar("BEGIN:VEVENT\r\nUID:e1\r\nSUMMARY:Dentist\r\n" + lines + "END:VEVENT\r\n");
}

QString describe(const store::AgendaTask &t)
{
    return QStringLiteral("%1 %2-%3").arg(t.date().toString(Qt::ISODate), t.start.toString(QStringLiteral("HH:mm")),
                                          t.end.toString(QStringLiteral("HH:mm")));
}

CalendarReadResult parse(const QByteArray &data, const QDate &today = kToday)
{
    CalendarReadResult result = readCalendar(data, today);
    if (!result.ok())
        qWarning() << result.refusal->message;
    return result;
}

} // namespace

class ICalendarTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyRecordSurvivesARoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("category");
        QTest::newRow("quotes and separators") << QStringLiteral("\"A\", 'b'; c\\d: e\\n") << "Meeting";
        QTest::newRow("newlines") << QStringLiteral("line 1\nline 2\n\n") << "Meeting";
        QTest::newRow("non-Latin and emoji, long") << QStringLiteral("Встреча 会議 اجتماع 🎂👩‍👩‍👧‍👦🇨🇦 ").repeated(8) << "Meeting";
        QTest::newRow("a hand-made category with commas") << "Lunch" << "Work, Travel\\,;x ";
    }
    void everyRecordSurvivesARoundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QString, category);
        CalendarContent content;
        store::AgendaTask task;
        task.text = text;
        task.category = category;
        task.day = 29, task.month = 2, task.year = 2024;
        task.start = QTime(9, 0), task.end = QTime(10, 30);
        task.reminder = QStringLiteral("3 Days"), task.reminderDay = 26, task.reminderMonth = 2, task.reminderYear = 2024;
        task.alarm = QStringLiteral("No");
        content.tasks.append({task, QStringLiteral("t1"), 0});
        task.start = task.end = QTime(23, 30); // what postponing, the hidden lists and hand-made data leave behind
        task.reminder = QStringLiteral("0 days"), task.reminderDay = 29;
        task.alarm = QStringLiteral("Yes"), task.repeating = QStringLiteral("Weekly"), task.category.clear();
        content.tasks.append({task, QStringLiteral("t2 ") + text, 0});
        for (int priority : {0, 1, 2, 3, 7})
            content.todos.append({{store::kNoRecord, text + QString::number(priority), priority ? category : "Work",
                                   priority % 2 == 1, priority},
                                  QStringLiteral("d%1").arg(priority), 0});
        content.notes.append({text, text + QStringLiteral("\nmore"), QStringLiteral("n1"), 0});

        const CalendarWriteResult written = writeCalendar(content, QDateTime(QDate(2024, 1, 2), QTime(3, 4), Qt::UTC));
        QCOMPARE(written.problems, QList<Problem>());
        const CalendarReadResult back = parse(written.data);
        QVERIFY(back.ok() && back.problems.isEmpty());
        QCOMPARE(back.content.tasks.size(), content.tasks.size());
        for (qsizetype i = 0; i < content.tasks.size(); ++i)
            QVERIFY(back.content.tasks[i].task == content.tasks[i].task && back.content.tasks[i].uid == content.tasks[i].uid);
        QCOMPARE(back.content.todos.size(), content.todos.size());
        for (qsizetype i = 0; i < content.todos.size(); ++i)
            QCOMPARE(back.content.todos[i].item, content.todos[i].item);
        QCOMPARE(back.content.notes.value(0).title + u'|' + back.content.notes.value(0).text, text + u'|' + content.notes[0].text);
        QVERIFY(written.data.contains("\r\nTRIGGER:-P3D\r\n"));
        // Other programs read one category.
        QVERIFY(written.data.contains("\r\nCATEGORIES:" + category.toUtf8().replace(",", "\\,").replace("\\\\,", "\\\\\\,")));
        for (const QByteArray &line : written.data.split('\n')) {
            QVERIFY2(line.size() <= 76, line.constData());
            QStringDecoder utf8(QStringDecoder::Utf8);
            (void)utf8.decode(line);
            QVERIFY2(!utf8.hasError(), line.constData());
        }
    }

    void readsTheStandardsExamples()
    {
        QFile file(QStringLiteral(INTERCHANGE_TEST_DATA "/rfc5545.ics"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const CalendarReadResult result = parse(file.readAll(), QDate(1997, 6, 1));
        QVERIFY(result.ok());
        const QList<CalendarTask> &tasks = result.content.tasks;
        QCOMPARE(tasks.size(), 4);
        const QDateTime conference = QDateTime(QDate(1996, 9, 18), QTime(14, 30), Qt::UTC).toLocalTime();
        const QTime start(conference.time().hour(), conference.time().minute() / 30 * 30);
        QCOMPARE(describe(tasks[0].task), // it ends two days later
                 conference.date().toString(Qt::ISODate) + start.toString(QStringLiteral(" HH:mm")) + QStringLiteral("-23:30"));
        QCOMPARE(tasks[0].uid + u'|' + tasks[0].task.category, QStringLiteral("uid1@example.com|"));
        QCOMPARE(describe(tasks[1].task) + u'|' + describe(tasks[2].task) + u'|' + describe(tasks[3].task),
                 QStringLiteral("1997-11-02 00:00-00:00|1998-11-02 00:00-00:00|2007-06-28 00:00-00:00"));
        QCOMPARE(tasks[2].task.category + u'|' + tasks[2].uid,
                 QStringLiteral("Anniversary|19970901T130000Z-123403@example.com/19981102T000000"));
        QCOMPARE(tasks[3].task.text, QStringLiteral("Festival International de Jazz de Montreal"));

        const QList<CalendarToDo> &todos = result.content.todos;
        QCOMPARE(todos.size(), 2);
        QCOMPARE(todos[0].item, (store::ToDoItem{store::kNoRecord, QStringLiteral("Submit Quebec Income Tax Return for 2006"), {}, false, 2}));
        QCOMPARE(todos[1].item, (store::ToDoItem{store::kNoRecord, QStringLiteral("Submit Revised Internet-Draft"), {}, true, 1}));
        QCOMPARE(todos[1].line, 49);

        QCOMPARE(result.content.notes.value(0).title, QStringLiteral("Staff meeting minutes"));
        QVERIFY(result.content.notes[0].text.startsWith(QStringLiteral("1. Staff meeting: Participants include Joe, Lisa, and Bob.")));
        QVERIFY(result.content.notes[0].text.contains(QStringLiteral("Tuesday.\n2. Telephone Conference")));

        // Unknown categories of the conference and the tax return, and the conference's end.
        QCOMPARE(result.problems.size(), 3);
        for (const Problem &p : result.problems)
            QCOMPARE(p.kind, Problem::Kind::Changed);
    }

    void recurringEventsAreExpanded_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        const QDate sep97(1997, 9, 1);
        QTest::newRow("daily, count") << QByteArray("DTSTART:19970902T090000\r\nRRULE:FREQ=DAILY;COUNT=10\r\n") << sep97
                                      << 10 << "1997-09-02 09:00-09:00" << "1997-09-11 09:00-09:00";
        QTest::newRow("every other week, two days")
            << QByteArray("DTSTART:19970902T090000\r\nDTEND:19970902T100000\r\nRRULE:FREQ=WEEKLY;INTERVAL=2;COUNT=8;WKST=SU;BYDAY=TU,TH\r\n")
            << sep97 << 8 << "1997-09-02 09:00-10:00" << "1997-10-16 09:00-10:00";
        QTest::newRow("excluded dates") << QByteArray("DTSTART:19970902T090000\r\nRRULE:FREQ=DAILY;COUNT=5\r\n"
                                                      "EXDATE:19970903T090000,19970905T090000\r\n")
                                        << sep97 << 3 << "1997-09-02 09:00-09:00" << "1997-09-06 09:00-09:00";
        QTest::newRow("extra dates") << QByteArray("DTSTART:19970902T090000\r\nRDATE:19970904T090000,19970901T070000\r\n")
                                     << sep97 << 3 << "1997-09-01 07:00-07:00" << "1997-09-04 09:00-09:00";
        QTest::newRow("only inside the window") << QByteArray("DTSTART;VALUE=DATE:19900704\r\nRRULE:FREQ=YEARLY\r\n") << kToday
                                                << 3 << "2023-07-04 00:00-00:00" << "2025-07-04 00:00-00:00";
        QTest::newRow("at most a thousand") << QByteArray("DTSTART:20240101T000000\r\nRRULE:FREQ=HOURLY\r\n") << kToday
                                            << 1000 << "2024-01-01 00:00-00:00" << "2024-02-11 15:00-15:00";
        QTest::newRow("endless, from long ago")
            << QByteArray("DTSTART:19000101T000000\r\nRRULE:FREQ=MINUTELY;INTERVAL=30\r\n") << kToday << 1000
            << "2023-06-15 00:00-00:00" << "2023-07-05 19:30-19:30";
    }
    void recurringEventsAreExpanded()
    {
        QFETCH(QByteArray, lines);
        QFETCH(QDate, today);
        QFETCH(int, count);
        const CalendarReadResult result = parse(eventFile(lines), today);
        QCOMPARE(result.content.tasks.size(), count);
        QTEST(describe(result.content.tasks.first().task), "first");
        QTEST(describe(result.content.tasks.last().task), "last");
        QCOMPARE(result.problems.size(), count == kMaxOccurrences ? 1 : 0);
        QSet<QString> uids;
        for (const CalendarTask &t : result.content.tasks)
            uids.insert(t.uid);
        QCOMPARE(uids.size(), count);
    }

    // No file keeps the reading busy: rules libical would search for centuries are left out, Cancel stops it.
    void readingEndsSoon_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<int>("cancelAt"); // 0: not cancelled
        QTest::newRow("seconds, never") << QByteArray("RRULE:FREQ=SECONDLY;BYMONTH=2;BYMONTHDAY=30\r\n") << 0;
        QTest::newRow("minutes, some hours") << QByteArray("RRULE:FREQ=MINUTELY;BYHOUR=9;BYMONTH=2;BYMONTHDAY=29\r\n") << 0;
        QTest::newRow("hours, never") << QByteArray("RRULE:FREQ=HOURLY;BYMONTH=4;BYMONTHDAY=31\r\n") << 0;
        QTest::newRow("cancelled between events") << QByteArray("END:VEVENT\r\nBEGIN:VEVENT\r\n") << 2;
        QTest::newRow("cancelled while repeating") << QByteArray("RRULE:FREQ=SECONDLY\r\n") << 100;
    }
    void readingEndsSoon()
    {
        QFETCH(QByteArray, lines);
        QFETCH(int, cancelAt);
        int asked = 0;
        const CalendarReadResult result = readCalendar(eventFile("DTSTART:20240101T090000\r\n" + lines), kToday,
                                                       [&] { return cancelAt > 0 && ++asked >= cancelAt; });
        QCOMPARE(asked, cancelAt);
        QCOMPARE(result.ok(), cancelAt == 0);
        QCOMPARE(result.content.tasks.size() + result.problems.size(), cancelAt ? 0 : 2); // the start and why no more
    }

    void aMovedOccurrenceReplacesItsDate()
    {
        const CalendarReadResult result = parse(calendar(
            "BEGIN:VEVENT\r\nUID:w\r\nSUMMARY:Weekly\r\nDTSTART:20240603T090000\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\nEND:VEVENT\r\n"
            "BEGIN:VEVENT\r\nUID:w\r\nSUMMARY:Moved\r\nRECURRENCE-ID:20240610T090000\r\nDTSTART:20240611T140000\r\n"
            "END:VEVENT\r\n"));
        QStringList got;
        for (const CalendarTask &t : result.content.tasks)
            got << describe(t.task) + u' ' + t.task.text + u' ' + t.uid;
        QCOMPARE(got, QStringList({"2024-06-03 09:00-09:00 Weekly w/20240603T090000",
                                   "2024-06-17 09:00-09:00 Weekly w/20240617T090000",
                                   "2024-06-11 14:00-14:00 Moved w/20240610T090000"}));
    }

    void eventsArePlacedOnTheGrid_data()
    {
        QTest::addColumn<QByteArray>("lines");
        QTest::addColumn<QString>("placed");
        QTest::addColumn<int>("changed");
        QTest::newRow("off the grid") << QByteArray("DTSTART:20240305T091500\r\nDTEND:20240305T101000\r\n")
                                      << "2024-03-05 09:00-10:30" << 0;
        QTest::newRow("no end") << QByteArray("DTSTART:20240305T094500\r\n") << "2024-03-05 09:30-10:00" << 0;
        QTest::newRow("all day, several days") << QByteArray("DTSTART;VALUE=DATE:20240305\r\nDTEND;VALUE=DATE:20240308\r\n")
                                               << "2024-03-05 00:00-00:00" << 0;
        QTest::newRow("past midnight") << QByteArray("DTSTART:20240305T230000\r\nDTEND:20240306T010000\r\n")
                                       << "2024-03-05 23:00-23:30" << 1;
        QTest::newRow("end before start") << QByteArray("DTSTART:20240305T100000\r\nDTEND:20240305T090000\r\n")
                                          << "2024-03-05 10:00-10:00" << 0;
    }
    void eventsArePlacedOnTheGrid()
    {
        QFETCH(QByteArray, lines);
        const CalendarReadResult result = parse(eventFile(lines));
        QCOMPARE(result.content.tasks.size(), 1);
        QTEST(describe(result.content.tasks[0].task), "placed");
        QTEST(int(result.problems.size()), "changed");
    }

    // Of several categories the first the organizer has is taken; an escaped
    // comma belongs to its category.
    void categoriesOfOtherPrograms_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("category");
        QTest::newRow("several") << QByteArray("CATEGORIES:Lunch,work,Meeting") << "Work";
        QTest::newRow("one with a comma") << QByteArray("CATEGORIES:Meeting\\, Lunch") << "";
        QTest::newRow("an escaped backslash before a comma") << QByteArray("CATEGORIES:A\\\\,Travel") << "Travel";
    }
    void categoriesOfOtherPrograms()
    {
        QFETCH(QByteArray, line);
        const CalendarReadResult result = parse(eventFile("DTSTART:20240305T090000\r\n" + line + "\r\n"));
        QTEST(result.content.tasks.value(0).task.category, "category");
    }

    void whatIsReadIsWhatTheRepositoriesStore()
    {
        testing::TestData data;
        const QString longText = QStringLiteral("é👩‍👩‍👧").repeated(200);
        const CalendarReadResult read = parse(calendar(
            "BEGIN:VEVENT\r\nSUMMARY:" + longText.toUtf8() + "\r\nDTSTART:20240305T231500\r\nDTEND:20240306T010000\r\n"
            "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT10M\r\nEND:VALARM\r\nEND:VEVENT\r\n"
            "BEGIN:VTODO\r\nSUMMARY:" + longText.toUtf8() + "\r\nPRIORITY:7\r\nEND:VTODO\r\n"));
        store::AgendaRepository agenda(data.db());
        store::AgendaTask task = read.content.tasks.value(0).task;
        QVERIFY2(agenda.add(task), "the agenda refused an imported task");
        store::AgendaTask stored = agenda.byId(task.id).value.value();
        stored.shownText.clear();
        QCOMPARE(stored, task);
        store::ToDoRepository todos(data.db());
        store::ToDoItem item = read.content.todos.value(0).item;
        QVERIFY2(todos.add(item), "the to-do list refused an imported item");
        QCOMPARE(todos.byId(item.id).value.value(), item);
    }

    void brokenFilesAreRefusedAtTheirLine_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("line");
        const QByteArray whole = eventFile("DTSTART:20240305T090000\r\n");
        QTest::newRow("truncated") << whole.left(whole.size() - 30) << 7;
        QTest::newRow("no colon") << QByteArray(whole).replace("SUMMARY:", "SUMMARY ") << 6;
        QTest::newRow("outside") << whole + "BEGIN:VEVENT\r\n" << 10;
        QTest::newRow("vCard") << QByteArray("BEGIN:VCARD\r\nEND:VCARD\r\n") << 1;
        QTest::newRow("empty") << QByteArray("\r\n") << 1;
    }
    void brokenFilesAreRefusedAtTheirLine()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, line);
        const CalendarReadResult result = readCalendar(file, kToday);
        QVERIFY(!result.ok() && result.content.tasks.isEmpty());
        QCOMPARE(result.refusal->line, line);
        QVERIFY2(result.refusal->message.startsWith(QStringLiteral("Line %1: ").arg(line)), qPrintable(result.refusal->message));
    }

};

BREVANE_TEST(ICalendarTests)
#include "tst_icalendar.moc"
