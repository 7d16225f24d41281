// The reads that answer from the indexes give what the plain reads give.

#include "store/agendarepository.h"
#include "store/names.h"
#include "store/todorepository.h"
#include "testsupport.h"

#include <QSqlQuery>

#include <algorithm>
#include <set>

using namespace brevane;
using store::AgendaRepository;
using store::AgendaTask;
using store::RecordId;
using store::ToDoItem;
using store::ToDoRepository;
using testing::TestData;
namespace names = store::names;
namespace ag = names::agenda;

namespace {

const QString kNbsp = QString(QChar(0xA0));

struct Stored {
    QString text;
    QString day;
    QString month;
    QString year;
    QString reminder; // "d/m/y", or empty
};

RecordId storeTask(TestData &data, const Stored &task)
{
    const QStringList due = task.reminder.split(u'/');
    // Start and end times vary with the text; "bad" ones have a start that
    // cannot be read.
    const qsizetype n = task.text.size();
    const QString first = task.text.isEmpty() ? QString() : QString::number(task.text.at(0).unicode() % 12 + 1);
    return data.insert(names::Agenda, {{ag::Task, task.text},
                                       {ag::StartHour, task.text.startsWith(u"bad") ? "09" : QString::number(n % 12 + 1)},
                                       {ag::StartMinute, n % 2 == 0 ? QStringLiteral("30") : QStringLiteral("00")},
                                       {ag::StartAmPm, QStringLiteral("AM")},
                                       {ag::EndHour, first},
                                       {ag::EndMinute, QStringLiteral("00")},
                                       {ag::EndAmPm, QStringLiteral("PM")},
                                       {ag::Day, task.day},
                                       {ag::Month, task.month},
                                       {ag::Year, task.year},
                                       {ag::Reminder, due.size() == 3 ? QStringLiteral("1 Day") : QString()},
                                       {ag::ReminderDay, due.size() == 3 ? due.at(0) : QString()},
                                       {ag::ReminderMonth, due.size() == 3 ? due.at(1) : QString()},
                                       {ag::ReminderYear, due.size() == 3 ? due.at(2) : QString()}});
}

// Days as a hand-made file may hold them, around March 2003.
QList<Stored> mixedTasks()
{
    return {
        {"Dentist (to 10:30 AM)", "5", "3", "2003", "4/3/2003"},
        {"ÄRGER im Büro", " 5", "3", "2003", "5/3/2003"},
        {"Kelvin: " + QString(QChar(0x212A)) + "elvin", kNbsp + "6", "3", "2003", "1/3/2003"},
        {"Mi" + QString(QChar(0x17F)) + "t", "06", "03", "2003", "28/2/2003"},
        {"50% off_sale", "31", "3", "2003", "30/3/2003"},
        {"", "7", "3", "2003", "7/3/2003"},
        {"O'Brien", "", "3", "2003", {}},
        {"no day", "abc", "3", "2003", "1/3/2003"},
        {"bad date", "31", "4", "2003", "30/4/2003"},
        {"next month", "2", "4", "2003", "" + kNbsp + "1/3/2003"},
        {"far", "30", "4", "2003", "1/3/2003"},
        {"before today", "4", "3", "2003", "1/3/2003"},
        {"new year", "1", "1", "2004", "29/12/2003"},
        {"year end", "31", "12", "2003", "31/12/2003"},
        {"February", "29", "2", "2004", "27/2/2004"},
        {"leap reminder", "1", "3", "2004", "29/2/2004"},
        {"reminder zero", "10", "3", "2003", "0/3/2003"},
        {"C:\\dir_1", "11", "3", "2003", {}},
        {"Same start as dentist", "5", "3", "2003", {}},
        {"Zame start as dentist", "5", "3", "2003", {}},
        {"Dentist (to 10:30 AM)", "5", "3", "2003", {}},
        {"bad start", "5", "3", "2003", {}},
    };
}

QList<RecordId> idsOf(const QList<AgendaTask> &tasks)
{
    QList<RecordId> ids;
    for (const AgendaTask &task : tasks)
        ids << task.id;
    return ids;
}

QList<AgendaTask> everyTask(const AgendaRepository &repo)
{
    QList<AgendaTask> all;
    for (const auto &[year, month] : {std::pair{2003, 2}, {2003, 3}, {2003, 4}, {2003, 12}, {2004, 1}, {2004, 2},
                                      {2004, 3}})
        all += *repo.month(year, month).value;
    std::sort(all.begin(), all.end(), [](const AgendaTask &a, const AgendaTask &b) { return a.id < b.id; });
    return all;
}

} // namespace

class QueryTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A day, and the days that have tasks, are the month read's.
    void dayReadsAreTheMonthReads_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::newRow("March, odd days") << 2003 << 3;
        QTest::newRow("April, a day it lacks") << 2003 << 4;
        QTest::newRow("February of a leap year") << 2004 << 2;
        QTest::newRow("empty month") << 2003 << 5;
    }
    void dayReadsAreTheMonthReads()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        TestData data;
        for (const Stored &task : mixedTasks())
            storeTask(data, task);
        AgendaRepository repo(data.db());
        const auto read = repo.month(year, month);
        QVERIFY(read.ok());
        QSet<int> days;
        for (int day = -1; day <= 32; ++day) {
            QList<AgendaTask> expected;
            for (const AgendaTask &task : *read.value) {
                if (task.day == day)
                    expected << task;
            }
            const auto dayRead = repo.day(year, month, day);
            QVERIFY2(dayRead.ok() && *dayRead.value == expected, qPrintable(QString::number(day)));
            // The grid: the last task of each readable start, and every span.
            QMap<QTime, AgendaTask> last;
            std::set<std::pair<QTime, QTime>> spans;
            for (const AgendaTask &task : expected) {
                if (task.start.isValid()) {
                    last.insert(task.start, task);
                    spans.insert({task.start, task.end});
                }
            }
            QList<AgendaTask> shown = last.values();
            std::sort(shown.begin(), shown.end(), [](const AgendaTask &a, const AgendaTask &b) { return a.id < b.id; });
            const QList<std::pair<QTime, QTime>> spanList(spans.cbegin(), spans.cend());
            const auto dayShown = repo.dayShown(year, month, day);
            QVERIFY2(dayShown.ok() && dayShown.value->shown == shown && dayShown.value->spans == spanList,
                     qPrintable(QString::number(day)));
            if (day >= 1 && day <= 31 && !expected.isEmpty())
                days.insert(day);
        }
        QCOMPARE(*repo.taskDays(year, month).value, days);
    }

    // The search compares as QString::contains does, whatever SQL narrowed.
    void searchFindsWhatContainsFinds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ASCII, other case") << "DENTIST";
        QTest::newRow("ASCII, middle") << "st (to 10";
        QTest::newRow("non-ASCII") << "ärger";
        QTest::newRow("non-ASCII among ASCII") << "im bÜro";
        QTest::newRow("escape character") << "\\DIR_";
        QTest::newRow("Kelvin sign found by k") << "kelvin";
        QTest::newRow("long s found by s") << "ST";
        QTest::newRow("LIKE wildcards are plain") << "50% off_";
        QTest::newRow("percent alone") << "%";
        QTest::newRow("quote") << "o'b";
        QTest::newRow("nothing") << "zzz";
    }
    void searchFindsWhatContainsFinds()
    {
        QFETCH(QString, text);
        TestData data;
        AgendaRepository agenda(data.db());
        ToDoRepository todo(data.db());
        for (const Stored &task : mixedTasks()) {
            storeTask(data, task);
            ToDoItem item{store::kNoRecord, task.text, {}, false, 0};
            QVERIFY(todo.add(item));
        }
        QList<AgendaTask> expected;
        for (const AgendaTask &task : everyTask(agenda)) {
            if (!task.shownText.isEmpty() && task.shownText.contains(text, Qt::CaseInsensitive))
                expected << task;
        }
        const auto found = agenda.search(text);
        QVERIFY(found.ok());
        QCOMPARE(idsOf(*found.value), idsOf(expected));
        for (qsizetype i = 0; i < expected.size(); ++i) {
            const AgendaTask &task = found.value->at(i);
            QCOMPARE(task.shownText, expected.at(i).shownText);
            QCOMPARE(task.date(), expected.at(i).date());
        }

        QList<RecordId> expectedItems;
        const QList<ToDoItem> items = *todo.all().value;
        for (const ToDoItem &item : items) {
            if (!item.text.isEmpty() && item.text.contains(text, Qt::CaseInsensitive))
                expectedItems << item.id;
        }
        QList<RecordId> foundItems;
        const QList<ToDoItem> foundList = *todo.search(text).value;
        for (const ToDoItem &item : foundList)
            foundItems << item.id;
        QCOMPARE(foundItems, expectedItems);
    }

    // Due reminders are those of this month's and next month's tasks that
    // isReminderDue accepts, across month and year ends.
    void dueRemindersAreTheMonthReads_data()
    {
        QTest::addColumn<QDate>("today");
        for (const QDate &date : {QDate(2003, 3, 1), QDate(2003, 3, 5), QDate(2003, 3, 6), QDate(2003, 3, 31),
                                  QDate(2003, 2, 28), QDate(2003, 12, 31), QDate(2004, 2, 29), QDate(2003, 4, 30)})
            QTest::addRow("%s", qPrintable(date.toString(Qt::ISODate))) << date;
    }
    void dueRemindersAreTheMonthReads()
    {
        QFETCH(QDate, today);
        TestData data;
        for (const Stored &task : mixedTasks())
            storeTask(data, task);
        AgendaRepository repo(data.db());
        QList<AgendaTask> expected;
        for (const QDate &month : {today, today.addMonths(1)}) {
            const QList<AgendaTask> tasks = *repo.month(month.year(), month.month()).value;
            for (const AgendaTask &task : tasks) {
                if (AgendaRepository::isReminderDue(task, today))
                    expected << task;
            }
        }
        std::sort(expected.begin(), expected.end(), [](const AgendaTask &a, const AgendaTask &b) { return a.id < b.id; });
        const auto due = repo.dueReminders(today);
        QVERIFY(due.ok());
        QCOMPARE(idsOf(*due.value), idsOf(expected));
        QVERIFY(*due.value == expected);
    }

    // The day, the days with tasks and the due reminders are looked up in an
    // index, never by reading the whole table.
    void readsUseIndexes_data()
    {
        QTest::addColumn<AgendaRepository::Query>("query");
        QTest::addColumn<QString>("index");
        QTest::newRow("day") << AgendaRepository::Query::Day << "Agenda day";
        QTest::newRow("day shown, from the index alone") << AgendaRepository::Query::DayShown
                                                         << "COVERING INDEX Agenda day";
        QTest::newRow("task days") << AgendaRepository::Query::TaskDays << "Agenda day";
        QTest::newRow("due reminders") << AgendaRepository::Query::DueReminders << "Agenda reminders";
    }
    void readsUseIndexes()
    {
        QFETCH(AgendaRepository::Query, query);
        QFETCH(QString, index);
        TestData data;
        QSqlQuery plan(data.db().connection());
        const QString statement = AgendaRepository::statement(query);
        QVERIFY(plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + statement));
        for (qsizetype i = statement.count(u'?'); i > 0; --i)
            plan.addBindValue(3);
        QVERIFY(plan.exec());
        QStringList steps;
        while (plan.next()) {
            const QString step = plan.value(3).toString();
            steps << step;
            if (step.contains(names::Agenda))
                QVERIFY2(step.startsWith(QLatin1String("SEARCH")) && step.contains(index), qPrintable(step));
        }
        QVERIFY2(steps.join(u';').contains(index), qPrintable(steps.join(u';')));
    }

    // A list that reads only what it shows gets the rows all() gives.
    void toDoPagesAreTheWholeList_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("limit");
        QTest::newRow("first rows") << 0 << 3;
        QTest::newRow("middle") << 4 << 5;
        QTest::newRow("past the end") << 9 << 10;
        QTest::newRow("beyond") << 20 << 5;
        QTest::newRow("no rows") << 2 << 0;
    }
    void toDoPagesAreTheWholeList()
    {
        QFETCH(int, offset);
        QFETCH(int, limit);
        TestData data;
        ToDoRepository repo(data.db());
        for (int i = 0; i < 12; ++i) {
            ToDoItem item{store::kNoRecord, QStringLiteral("Item %1").arg(i), QStringLiteral("Work"), i % 2 == 0,
                          i % 4};
            QVERIFY(repo.add(item));
        }
        const RecordId gone = repo.all().value->at(1).id;
        QVERIFY(repo.remove(gone));
        const QList<ToDoItem> all = *repo.all().value;
        QCOMPARE(*repo.count().value, all.size());
        QCOMPARE(*repo.page(offset, limit).value, all.mid(offset, limit));

        QList<RecordId> ids;
        for (const ToDoItem &item : all)
            ids << item.id;
        QCOMPARE(*repo.ids().value, ids);
        const QList<RecordId> wanted = ids.mid(offset, limit);
        QList<RecordId> asked = wanted;
        std::reverse(asked.begin(), asked.end());
        asked.insert(asked.size() / 2, gone);
        QList<ToDoItem> expected = all.mid(offset, limit);
        std::reverse(expected.begin(), expected.end());
        QCOMPARE(*repo.byIds(asked).value, expected);
    }
};

BREVANE_TEST(QueryTests)
#include "tst_queries.moc"
