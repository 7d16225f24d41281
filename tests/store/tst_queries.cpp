// The reads that answer from the indexes give what the plain reads give.

#include "store/agendarepository.h"
#include "store/names.h"
#include "store/todorepository.h"
#include "testsupport.h"

#include <QSqlQuery>

#include <algorithm>
#include <set>

using namespace brevane::store;
using brevane::testing::TestData;
namespace ag = names::agenda;

namespace {

const QString kNbsp(QChar(0xA0));

// "text|day|month|year|reminder day|month|year"; times vary with the text, a "bad" start is unreadable.
QStringList mixedTasks()
{
    return {
        "Dentist (to 10:30 AM)|5|3|2003|4|3|2003", "ÄRGER im Büro| 5|3|2003|5|3|2003",
        "Kelvin: " + QString(QChar(0x212A)) + "elvin|" + kNbsp + "6|3|2003|1|3|2003",
        "Mi" + QString(QChar(0x17F)) + "t|06|03|2003|28|2|2003", "50% off_sale|31|3|2003|30|3|2003",
        "|7|3|2003|7|3|2003", "O'Brien||3|2003|||", "no day|abc|3|2003|1|3|2003", "bad date|31|4|2003|30|4|2003",
        "next month|2|4|2003|" + kNbsp + "1|3|2003", "new year|1|1|2004|29|12|2003", "February|29|2|2004|27|2|2004",
        "reminder zero|10|3|2003|0|3|2003", "C:\\dir_1|11|3|2003|||", "Same start as dentist|5|3|2003|||",
        "Dentist (to 10:30 AM)|5|3|2003|||", "bad start|5|3|2003|||",
    };
}

void fill(TestData &data)
{
    const QStringList fields{ag::Task, ag::Day, ag::Month, ag::Year, ag::ReminderDay, ag::ReminderMonth,
                             ag::ReminderYear};
    for (const QString &line : mixedTasks()) {
        const QStringList values = line.split(u'|');
        const QString &text = values.at(0);
        QList<std::pair<QString, QString>> record{
            {ag::StartHour, text.startsWith(u"bad") ? "09" : QString::number(text.size() % 12 + 1)},
            {ag::StartMinute, text.size() % 2 == 0 ? "30" : "00"}, {ag::StartAmPm, "AM"},
            {ag::EndHour, text.isEmpty() ? QString() : QString::number(text.at(0).unicode() % 12 + 1)},
            {ag::EndMinute, "00"}, {ag::EndAmPm, "PM"}, {ag::Reminder, values.at(4).isEmpty() ? "" : "1 Day"}};
        for (qsizetype i = 0; i < fields.size(); ++i)
            record.append({fields.at(i), values.at(i)});
        data.insert(names::Agenda, record);
        data.insert(names::ToDo, {{names::todo::Task, text}});
    }
}

template <typename T>
QList<RecordId> idsOf(const QList<T> &records)
{
    QList<RecordId> ids;
    for (const T &record : records)
        ids << record.id;
    return ids;
}

void sortById(QList<AgendaTask> &tasks)
{
    std::sort(tasks.begin(), tasks.end(), [](const AgendaTask &a, const AgendaTask &b) { return a.id < b.id; });
}

} // namespace

class QueryTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // March (odd days), April (a day it lacks), a leap February, an empty month.
    void dayReadsAreTheMonthReads()
    {
        TestData data;
        fill(data);
        AgendaRepository repo(data.db());
        for (const auto &[year, month] : {std::pair{2003, 3}, {2003, 4}, {2004, 2}, {2003, 5}}) {
            const QList<AgendaTask> monthTasks = *repo.month(year, month).value;
            QSet<int> days;
            for (int day = -1; day <= 32; ++day) {
                QList<AgendaTask> expected = monthTasks;
                expected.removeIf([day](const AgendaTask &task) { return task.day != day; });
                QVERIFY2(*repo.day(year, month, day).value == expected, qPrintable(QString::number(day)));
                // The grid: the last task of each readable start, and every span.
                QMap<QTime, AgendaTask> last;
                std::set<std::pair<QTime, QTime>> spans;
                for (const AgendaTask &task : std::as_const(expected)) {
                    if (task.start.isValid()) {
                        last.insert(task.start, task);
                        spans.insert({task.start, task.end});
                    }
                }
                AgendaDay grid{last.values(), {spans.cbegin(), spans.cend()}};
                sortById(grid.shown);
                QVERIFY2(*repo.dayShown(year, month, day).value == grid, qPrintable(QString::number(day)));
                if (day >= 1 && day <= 31 && !expected.isEmpty())
                    days.insert(day);
            }
            QCOMPARE(*repo.taskDays(year, month).value, days);
        }
    }

    // The search compares as QString::contains does, whatever SQL narrowed.
    void searchFindsWhatContainsFinds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << QString();
        QTest::newRow("ASCII, middle, other case") << "ST (to 10";
        QTest::newRow("non-ASCII among ASCII") << "im bÜro";
        QTest::newRow("escape character") << "\\DIR_";
        QTest::newRow("Kelvin sign found by k") << "kelvin";
        QTest::newRow("long s found by s") << "ST";
        QTest::newRow("LIKE wildcards are plain") << "50% off_";
        QTest::newRow("quote") << "o'b";
    }
    void searchFindsWhatContainsFinds()
    {
        QFETCH(QString, text);
        TestData data;
        fill(data);
        AgendaRepository agenda(data.db());
        QList<AgendaTask> expected;
        for (const auto &[year, month] : {std::pair{2003, 3}, {2003, 4}, {2004, 1}, {2004, 2}}) {
            const QList<AgendaTask> tasks = *agenda.month(year, month).value;
            for (const AgendaTask &task : tasks) {
                if (!task.shownText.isEmpty() && task.shownText.contains(text, Qt::CaseInsensitive))
                    expected << task;
            }
        }
        sortById(expected);
        const QList<AgendaTask> found = *agenda.search(text).value;
        QCOMPARE(idsOf(found), idsOf(expected));
        for (qsizetype i = 0; i < expected.size(); ++i) {
            QCOMPARE(found.at(i).shownText, expected.at(i).shownText);
            QCOMPARE(found.at(i).date(), expected.at(i).date());
        }

        ToDoRepository todo(data.db());
        QList<ToDoItem> items = *todo.all().value;
        items.removeIf([&text](const ToDoItem &item) {
            return item.text.isEmpty() || !item.text.contains(text, Qt::CaseInsensitive);
        });
        QCOMPARE(idsOf(*todo.search(text).value), idsOf(items));
    }

    // This and next month's tasks that isReminderDue accepts, across month and year ends.
    void dueRemindersAreTheMonthReads_data()
    {
        QTest::addColumn<QDate>("today");
        for (const QDate &date : {QDate(2003, 3, 5), QDate(2003, 2, 28), QDate(2003, 12, 31), QDate(2004, 2, 29)})
            QTest::addRow("%s", qPrintable(date.toString(Qt::ISODate))) << date;
    }
    void dueRemindersAreTheMonthReads()
    {
        QFETCH(QDate, today);
        TestData data;
        fill(data);
        AgendaRepository repo(data.db());
        const QDate next = today.addMonths(1);
        QList<AgendaTask> expected = *repo.month(today.year(), today.month()).value;
        expected += *repo.month(next.year(), next.month()).value;
        expected.removeIf([&today](const AgendaTask &task) { return !AgendaRepository::isReminderDue(task, today); });
        sortById(expected);
        QCOMPARE(idsOf(*repo.dueReminders(today).value), idsOf(expected));
        QVERIFY(*repo.dueReminders(today).value == expected);
    }

    // Looked up in an index, never by reading the whole table.
    void readsUseIndexes_data()
    {
        QTest::addColumn<AgendaRepository::Query>("query");
        QTest::addColumn<QString>("index");
        QTest::newRow("day") << AgendaRepository::Query::Day << "Agenda day";
        QTest::newRow("day shown") << AgendaRepository::Query::DayShown << "Agenda day";
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
        bool used = false;
        while (plan.next()) {
            const QString step = plan.value(3).toString();
            if (step.contains(names::Agenda))
                QVERIFY2(step.startsWith(QLatin1String("SEARCH")) && step.contains(index), qPrintable(step));
            used = used || step.contains(index);
        }
        QVERIFY(used);
    }

    // A list that reads only what it shows gets the rows all() gives.
    void toDoPagesAreTheWholeList_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("limit");
        QTest::newRow("middle") << 4 << 5;
        QTest::newRow("past the end") << 9 << 10;
        QTest::newRow("no rows") << 2 << 0;
    }
    void toDoPagesAreTheWholeList()
    {
        QFETCH(int, offset);
        QFETCH(int, limit);
        TestData data;
        ToDoRepository repo(data.db());
        for (int i = 0; i < 12; ++i) {
            ToDoItem item{kNoRecord, QStringLiteral("Item %1").arg(i), "Work", i % 2 == 0, i % 4};
            QVERIFY(repo.add(item));
        }
        const RecordId gone = repo.all().value->at(1).id;
        QVERIFY(repo.remove(gone));
        const QList<ToDoItem> all = *repo.all().value;
        QCOMPARE(*repo.count().value, all.size());
        QCOMPARE(*repo.page(offset, limit).value, all.mid(offset, limit));

        const QList<RecordId> ids = idsOf(all);
        QCOMPARE(*repo.ids().value, ids);
        // Asked in another order, with one that is gone.
        QList<RecordId> asked = ids.mid(offset, limit);
        std::reverse(asked.begin(), asked.end());
        asked.insert(asked.size() / 2, gone);
        QList<ToDoItem> expected = all.mid(offset, limit);
        std::reverse(expected.begin(), expected.end());
        QCOMPARE(*repo.byIds(asked).value, expected);
    }
};

BREVANE_TEST(QueryTests)
#include "tst_queries.moc"
