#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>

#include <array>

using namespace brevane;
using store::Database;
using store::NumericCondition;
using store::RecordId;
using store::RecordSet;
namespace names = store::names;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every record of the set from the first, as "field|field" texts.
QStringList walk(RecordSet &set, const QStringList &fields)
{
    QStringList records;
    for (set.moveFirst(); !set.eof(); set.moveNext()) {
        QStringList values;
        for (const QString &field : fields)
            values << set.field(field);
        records << values.join(u'|');
    }
    return records;
}

QList<std::pair<QString, QString>> recordOf(const QStringList &fields, const QString &joined)
{
    const QStringList values = joined.split(u'|');
    QList<std::pair<QString, QString>> record;
    for (qsizetype i = 0; i < fields.size(); ++i)
        record.append({fields.at(i), values.value(i)});
    return record;
}

QList<NumericCondition> conditionsOf(const QStringList &texts)
{
    QList<NumericCondition> conditions;
    for (const QString &text : texts) {
        const QStringList parts = text.split(u'=');
        conditions.append({parts.at(0), parts.at(1).toInt()});
    }
    return conditions;
}

} // namespace

class RecordSetTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void emptySet_data()
    {
        QTest::addColumn<QString>("source");
        for (const QString &source : Database::tableNames() + Database::viewNames()) {
            if (source != names::Options && source != names::EventAlarmSoundFile)
                QTest::newRow(qPrintable(source)) << source;
        }
    }
    void emptySet()
    {
        QFETCH(QString, source);
        testing::TestData data;
        QVERIFY(data.isValid());
        RecordSet set(data.db(), source);
        QVERIFY(set.lastError().isEmpty());
        QCOMPARE(set.fieldNames(), Database::fieldsOf(Database::baseTableOf(source)));
        for (int step = 0; step < 5; ++step) {
            QVERIFY(set.eof());
            QVERIFY(set.bof());
            QCOMPARE(set.recordCount(), 0);
            QCOMPARE(set.position(), -1);
            QCOMPARE(set.recordId(), store::kNoRecord);
            QCOMPARE(set.field(set.fieldNames().constFirst()), QString());
            const std::array<void (RecordSet::*)(), 4> moves = {&RecordSet::moveFirst, &RecordSet::moveLast,
                                                                 &RecordSet::moveNext, &RecordSet::movePrevious};
            if (step < 4)
                (set.*moves[step])();
        }
        QVERIFY(!set.deleteCurrent().ok);
        set.edit();
        set.setField(set.fieldNames().constFirst(), QStringLiteral("x"));
        QVERIFY(!set.update().ok);
        QCOMPARE(data.countOf(Database::baseTableOf(source)), 0);
    }

    void navigation()
    {
        testing::TestData data;
        const RecordId a = data.insert(names::ToDo, {{names::todo::Task, QStringLiteral("a")}});
        const RecordId b = data.insert(names::ToDo, {{names::todo::Task, QStringLiteral("b")}});
        const RecordId c = data.insert(names::ToDo, {{names::todo::Task, QStringLiteral("c")}});
        RecordSet set(data.db(), names::ToDoQuery);
        QCOMPARE(set.recordCount(), 3);
        QCOMPARE(set.recordId(), a);
        QVERIFY(!set.bof() && !set.eof());
        set.moveLast();
        QCOMPARE(set.recordId(), c);
        QCOMPARE(set.position(), 2);
        set.moveNext();
        QVERIFY(set.eof());
        QCOMPARE(set.field(names::todo::Task), QString());
        set.moveNext(); // stays at the end
        set.movePrevious();
        QCOMPARE(set.field(names::todo::Task), QStringLiteral("c"));
        set.moveFirst();
        set.movePrevious();
        QVERIFY(set.bof() && !set.eof());
        QCOMPARE(set.position(), -1);
        set.moveNext();
        QCOMPARE(set.recordId(), a);

        QVERIFY(set.moveToRecord(b));
        QCOMPARE(set.position(), 1);
        QCOMPARE(set.field(names::todo::Task), QStringLiteral("b"));
        QVERIFY(!set.moveToRecord(c + 100));
        QVERIFY(set.eof());
    }

    void viewOrder_data()
    {
        using namespace names;
        QTest::addColumn<QString>("view");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QStringList>("inserted");
        QTest::addColumn<QStringList>("expected");
        const QStringList contactFields = {QStringLiteral("Contacts Last Name"),
                                           QStringLiteral("Contacts First Name")};
        const QStringList contacts = {"smith|anna", "Brown|zed", "Smith|Adam", "brown|Bob", "Brown|zed"};
        QTest::newRow("to-do in entry order")
            << ToDoQuery << QStringList{todo::Task} << QStringList{"b", "A", "c", "a"}
            << QStringList{"b", "A", "c", "a"};
        QTest::newRow("quick links by name")
            << QuickLinksQuery << QStringList{quicklinks::ProgramName}
            << QStringList{"beta", "Alpha", "gamma", "alpha", "Beta"}
            << QStringList{"Alpha", "alpha", "beta", "Beta", "gamma"};
        QTest::newRow("notes by title")
            << NotesQuery << QStringList{notes::Title} << QStringList{"zoo   ", "Apple   ", "apple   ", "Mango   "}
            << QStringList{"Apple   ", "apple   ", "Mango   ", "zoo   "};
        QTest::newRow("contacts by last name")
            << ContactsQuery << contactFields << contacts
            << QStringList{"brown|Bob", "Brown|zed", "Brown|zed", "Smith|Adam", "smith|anna"};
        QTest::newRow("contacts by first name")
            << ContactsQueryFirstName << contactFields << contacts
            << QStringList{"Smith|Adam", "smith|anna", "brown|Bob", "Brown|zed", "Brown|zed"};
    }
    void viewOrder()
    {
        QFETCH(QString, view);
        QFETCH(QStringList, fields);
        QFETCH(QStringList, inserted);
        QFETCH(QStringList, expected);
        testing::TestData data;
        QList<RecordId> ids;
        for (const QString &record : inserted)
            ids << data.insert(Database::baseTableOf(view), recordOf(fields, record));
        RecordSet set(data.db(), view);
        QCOMPARE(walk(set, fields), expected);
        QCOMPARE(set.recordCount(), inserted.size());
        // Equal texts keep their entry order.
        if (view == names::ContactsQuery) {
            set.moveFirst();
            set.moveNext();
            QCOMPARE(set.recordId(), ids.at(1));
            set.moveNext();
            QCOMPARE(set.recordId(), ids.at(4));
        }
    }

    void writeThroughViewActsOnIdentity_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::newRow("edit") << false;
        QTest::newRow("delete") << true;
    }
    void writeThroughViewActsOnIdentity()
    {
        QFETCH(bool, remove);
        testing::TestData data;
        const QString same = QStringLiteral("Same   ");
        const RecordId first = data.insert(names::Notes, {{names::notes::Title, same}, {names::notes::Note, "x"}});
        const RecordId other = data.insert(names::Notes, {{names::notes::Title, "Other   "}});
        const RecordId second = data.insert(names::Notes, {{names::notes::Title, same}, {names::notes::Note, "x"}});
        RecordSet set(data.db(), names::NotesQuery);
        set.moveLast();
        QCOMPARE(set.recordId(), second);
        if (remove) {
            QVERIFY(set.deleteCurrent().ok);
            QCOMPARE(data.countOf(names::Notes), 2);
            QCOMPARE(data.fieldOf(names::Notes, second, names::notes::Title), QStringLiteral("<no record>"));
        } else {
            set.edit();
            set.setField(names::notes::Note, QStringLiteral("changed"));
            QVERIFY(set.update().ok);
            QCOMPARE(set.field(names::notes::Note), QStringLiteral("changed"));
            QCOMPARE(data.fieldOf(names::Notes, second, names::notes::Note), QStringLiteral("changed"));
        }
        QCOMPARE(data.fieldOf(names::Notes, first, names::notes::Note), QStringLiteral("x"));
        QCOMPARE(data.fieldOf(names::Notes, other, names::notes::Title), QStringLiteral("Other   "));
    }

    void addThroughView()
    {
        testing::TestData data;
        data.insert(names::QuickLinks, {{names::quicklinks::ProgramName, "Zed"}});
        RecordSet set(data.db(), names::QuickLinksQuery);
        set.addNew();
        QVERIFY(set.isEditing());
        QCOMPARE(set.field(names::quicklinks::ProgramName), QString());
        set.setField(names::quicklinks::ProgramName, QStringLiteral("Calc"));
        QCOMPARE(set.field(names::quicklinks::ProgramName), QStringLiteral("Calc"));
        const auto result = set.update();
        QVERIFY2(result.ok, qPrintable(result.error));
        QVERIFY(result.error.isEmpty());
        QVERIFY(!set.isEditing());
        // Until the next read the new record is current, at the end.
        QCOMPARE(set.recordCount(), 2);
        QCOMPARE(set.position(), 1);
        QCOMPARE(set.field(names::quicklinks::ProgramName), QStringLiteral("Calc"));
        QCOMPARE(set.field(names::quicklinks::ProgramPath), QString());
        QCOMPARE(data.fieldOf(names::QuickLinks, set.recordId(), names::quicklinks::ProgramName),
                 QStringLiteral("Calc"));
        QVERIFY(set.requery());
        QCOMPARE(walk(set, {names::quicklinks::ProgramName}), (QStringList{"Calc", "Zed"}));
    }

    void editState()
    {
        testing::TestData data;
        data.insert(names::ToDo, {{names::todo::Task, "a"}, {names::todo::Done, "No"}});
        data.insert(names::ToDo, {{names::todo::Task, "b"}});
        RecordSet set(data.db(), names::ToDo);
        set.setField(names::todo::Done, QStringLiteral("Yes")); // ignored: not editing
        QCOMPARE(set.field(names::todo::Done), QStringLiteral("No"));
        QVERIFY(!set.update().ok);
        QVERIFY(!set.lastError().isEmpty());

        set.edit();
        set.setField(names::todo::Done, QStringLiteral("Yes"));
        QCOMPARE(set.field(names::todo::Done), QStringLiteral("Yes"));
        QCOMPARE(set.field(names::todo::Task), QStringLiteral("a"));
        set.cancelUpdate();
        QCOMPARE(set.field(names::todo::Done), QStringLiteral("No"));

        set.edit();
        set.setField(names::todo::Done, QStringLiteral("Yes"));
        set.moveNext(); // moving away drops the edit
        QVERIFY(!set.isEditing());
        QVERIFY(!set.update().ok);
        set.moveFirst();
        QCOMPARE(set.field(names::todo::Done), QStringLiteral("No"));
        QCOMPARE(data.fieldOf(names::ToDo, 1, names::todo::Done), QStringLiteral("No"));
    }

    void deletedRecordStaysCurrent()
    {
        testing::TestData data;
        for (const char *task : {"a", "b", "c"})
            data.insert(names::ToDo, {{names::todo::Task, QString::fromLatin1(task)}});
        RecordSet set(data.db(), names::ToDoQuery);
        set.moveLast();
        QVERIFY(set.deleteCurrent().ok);
        QVERIFY(!set.eof());
        QCOMPARE(set.recordCount(), 2);
        QCOMPARE(set.field(names::todo::Task), QString());
        QCOMPARE(set.recordId(), store::kNoRecord);
        QCOMPARE(set.position(), -1);
        QVERIFY(!set.deleteCurrent().ok);
        set.moveLast();
        QCOMPARE(set.field(names::todo::Task), QStringLiteral("b"));
        set.moveFirst();
        QVERIFY(set.deleteCurrent().ok);
        set.moveNext();
        QCOMPARE(set.field(names::todo::Task), QStringLiteral("b"));
        QCOMPARE(set.position(), 0);
        set.movePrevious();
        QVERIFY(set.bof());
        QVERIFY(set.deleteCurrent().ok == false);
        set.moveFirst();
        QVERIFY(set.deleteCurrent().ok);
        set.moveNext();
        QVERIFY(set.eof() && set.bof());
        QCOMPARE(set.recordCount(), 0);
        QCOMPARE(data.countOf(names::ToDo), 0);
    }

    void deleteLoopVisitsEveryRecord_data()
    {
        QTest::addColumn<QString>("pattern"); // 'x' marks a record to delete
        QTest::newRow("none") << "......";
        QTest::newRow("all") << "xxxxxx";
        QTest::newRow("alternate") << "x.x.x.";
        QTest::newRow("first") << "x.....";
        QTest::newRow("last") << ".....x";
        QTest::newRow("adjacent") << ".xx..x";
    }
    void deleteLoopVisitsEveryRecord()
    {
        QFETCH(QString, pattern);
        testing::TestData data;
        QStringList all;
        QStringList kept;
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const QString task = QStringLiteral("t%1").arg(i);
            data.insert(names::ToDo, {{names::todo::Task, task}});
            all << task;
            if (pattern.at(i) != u'x')
                kept << task;
        }
        RecordSet set(data.db(), names::ToDoQuery);
        set.moveLast();
        const int count = set.recordCount();
        set.moveFirst();
        QStringList visited;
        for (int i = 0; i < count; ++i) {
            const QString task = set.field(names::todo::Task);
            visited << task;
            if (pattern.at(all.indexOf(task)) == u'x')
                QVERIFY(set.deleteCurrent().ok);
            set.moveNext();
        }
        QCOMPARE(visited, all);
        QVERIFY(set.eof());
        QCOMPARE(set.recordCount(), kept.size());
        QCOMPARE(walk(set, {names::todo::Task}), kept);
        RecordSet fresh(data.db(), names::ToDoQuery);
        QCOMPARE(walk(fresh, {names::todo::Task}), kept);
    }

    void requeryReflectsOtherSet()
    {
        testing::TestData data;
        data.insert(names::ToDo, {{names::todo::Task, "a"}});
        RecordSet writer(data.db(), names::ToDo);
        RecordSet reader(data.db(), names::ToDoQuery);
        writer.edit();
        writer.setField(names::todo::Task, QStringLiteral("a2"));
        QVERIFY(writer.update().ok);
        writer.addNew();
        writer.setField(names::todo::Task, QStringLiteral("b"));
        QVERIFY(writer.update().ok);
        QCOMPARE(walk(reader, {names::todo::Task}), QStringList{"a"});
        QVERIFY(reader.requery());
        QCOMPARE(walk(reader, {names::todo::Task}), (QStringList{"a2", "b"}));
        writer.moveFirst();
        QVERIFY(writer.deleteCurrent().ok);
        QVERIFY(reader.requery());
        QCOMPARE(walk(reader, {names::todo::Task}), QStringList{"b"});
    }

    void numericConditions_data()
    {
        QTest::addColumn<QStringList>("conditions");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("month of a year") << QStringList{"Year=2003", "Month=3"} << QStringList{"a", "b"};
        QTest::newRow("month in any year") << QStringList{"Month=3"} << QStringList{"a", "b", "d", "f"};
        QTest::newRow("empty or unset year is 0") << QStringList{"Year=0"} << QStringList{"d", "g"};
        QTest::newRow("empty month is 0") << QStringList{"Year=2003", "Month=0"} << QStringList{"c", "h"};
        QTest::newRow("leading digits") << QStringList{"Month=12"} << QStringList{"e"};
        QTest::newRow("no match") << QStringList{"Year=1999"} << QStringList{};
    }
    void numericConditions()
    {
        using namespace names::agenda;
        QFETCH(QStringList, conditions);
        QFETCH(QStringList, expected);
        testing::TestData data;
        const QList<QStringList> rows = {{"a", "2003", "3"}, {"b", "2003", "03"},    {"c", "2003", ""},
                                         {"d", "", "3"},     {"e", "2003", "12abc"}, {"f", "2004", "3"}};
        for (const QStringList &row : rows)
            data.insert(names::Agenda, {{Task, row[0]}, {Year, row[1]}, {Month, row[2]}});
        {
            RecordSet writer(data.db(), names::Agenda);
            writer.addNew(); // year and month never set
            writer.setField(Task, QStringLiteral("g"));
            QVERIFY(writer.update().ok);
            writer.addNew();
            writer.setField(Task, QStringLiteral("h"));
            writer.setField(Year, QStringLiteral("2003"));
            writer.setField(Month, QString()); // a null text is stored as empty
            QVERIFY(writer.update().ok);
        }
        RecordSet set(data.db(), names::Agenda, conditionsOf(conditions));
        QCOMPARE(walk(set, {Task}), expected);
        QCOMPARE(set.recordCount(), expected.size());
    }

    void onlyRecordHoldsThatRecord_data()
    {
        QTest::addColumn<QString>("source");
        QTest::newRow("table") << names::ToDo;
        QTest::newRow("view") << names::ToDoQuery;
    }
    void onlyRecordHoldsThatRecord()
    {
        QFETCH(QString, source);
        testing::TestData data;
        data.insert(names::ToDo, {{names::todo::Task, QStringLiteral("same")}});
        const RecordId second = data.insert(names::ToDo, {{names::todo::Task, QStringLiteral("same")}});
        RecordSet one(data.db(), source, store::onlyRecord(second));
        QCOMPARE(one.recordCount(), 1);
        QCOMPARE(one.recordId(), second);
        one.edit();
        one.setField(names::todo::Done, QStringLiteral("Yes"));
        QVERIFY(one.update().ok);
        QCOMPARE(data.fieldOf(names::ToDo, second, names::todo::Done), QStringLiteral("Yes"));
        QCOMPARE(data.fieldOf(names::ToDo, second - 1, names::todo::Done), QString());

        QVERIFY(one.deleteCurrent().ok);
        RecordSet gone(data.db(), source, store::onlyRecord(second));
        QVERIFY2(gone.lastError().isEmpty(), qPrintable(gone.lastError()));
        QCOMPARE(gone.recordCount(), 0);
        QVERIFY(gone.eof());
    }

    void monthLookupUsesIndex()
    {
        testing::TestData data;
        const QList<NumericCondition> month = {{names::agenda::Month, 3}, {names::agenda::Year, 2003}};
        QSqlQuery plan(data.db().connection());
        QVERIFY(plan.prepare(QStringLiteral("EXPLAIN QUERY PLAN ")
                             + RecordSet::selectStatement(names::Agenda, month)));
        plan.addBindValue(3);
        plan.addBindValue(2003);
        QVERIFY(plan.exec());
        QStringList steps;
        while (plan.next())
            steps << plan.value(3).toString();
        QVERIFY2(steps.size() == 1 && steps.constFirst().contains(QLatin1String("USING INDEX")),
                 qPrintable(steps.join(u';')));
    }

    void largeAgendaMonth()
    {
        testing::TestData data;
        // 100,000 tasks over 20 years; each month of each year gets 416 or 417.
        QSqlQuery fill(data.db().connection());
        QVERIFY(fill.exec(QStringLiteral(
            "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 99999) "
            "INSERT INTO \"Agenda\" (\"Agenda Task\", \"Day\", \"Month\", \"Year\") "
            "SELECT 'task ' || i, i % 28 + 1, i % 12 + 1, 1990 + (i / 12) % 20 FROM n")));
        QCOMPARE(data.countOf(names::Agenda), 100000);
        QElapsedTimer timer;
        timer.start();
        RecordSet set(data.db(), names::Agenda, {{names::agenda::Year, 2003}, {names::agenda::Month, 3}});
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(set.recordCount(), 417);
        QVERIFY2(elapsed < 1000, qPrintable(QString::number(elapsed)));
        set.moveLast();
        QCOMPARE(set.field(names::agenda::Year), QStringLiteral("2003"));
        QCOMPARE(set.field(names::agenda::Month), QStringLiteral("3"));
    }

    void unknownFieldRefused_data()
    {
        QTest::addColumn<bool>("adding");
        QTest::addColumn<QString>("name");
        for (const bool adding : {false, true}) {
            const char *mode = adding ? "add" : "edit";
            QTest::addRow("%s, misspelt", mode) << adding << QStringLiteral("To Do Tsak");
            QTest::addRow("%s, identity column", mode) << adding << QStringLiteral("_rid");
            QTest::addRow("%s, quote in name", mode) << adding << QStringLiteral("Priority\" = '9', \"To Do Task");
        }
    }
    void unknownFieldRefused()
    {
        QFETCH(bool, adding);
        QFETCH(QString, name);
        testing::TestData data;
        data.insert(names::ToDo, {{names::todo::Task, "a"}, {names::todo::Priority, "1"}});
        const QByteArray before = bytesOf(data.path());
        RecordSet set(data.db(), names::ToDoQuery);
        adding ? set.addNew() : set.edit();
        set.setField(names::todo::Task, QStringLiteral("changed"));
        set.setField(name, QStringLiteral("x"));
        const auto result = set.update();
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(name), qPrintable(result.error));
        QCOMPARE(set.lastError(), result.error);
        QVERIFY(set.isEditing());
        QCOMPARE(bytesOf(data.path()), before);
        QCOMPARE(data.countOf(names::ToDo), 1);
        QCOMPARE(data.fieldOf(names::ToDo, 1, names::todo::Task), QStringLiteral("a"));
    }

    void unknownConditionFieldGivesEmptySet_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("misspelt") << QStringLiteral("Yeer");
        QTest::newRow("quote in name") << QStringLiteral("Year\" OR 1=1 OR \"");
    }
    void unknownConditionFieldGivesEmptySet()
    {
        QFETCH(QString, field);
        testing::TestData data;
        data.insert(names::Agenda, {{names::agenda::Task, "a"}});
        RecordSet set(data.db(), names::Agenda, {{field, 0}});
        QCOMPARE(set.recordCount(), 0);
        QVERIFY(set.eof());
        QVERIFY(!set.lastError().isEmpty());
        QVERIFY(!set.requery());
    }

    void failedWriteReported_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("edit") << "edit";
        QTest::newRow("add") << "add";
        QTest::newRow("delete") << "delete";
    }
    void failedWriteReported()
    {
        QFETCH(QString, action);
        testing::TestData data;
        data.insert(names::ToDo, {{names::todo::Task, "a"}});
        RecordSet set(data.db(), names::ToDoQuery);
        data.failWrites(names::ToDo);
        const QByteArray before = bytesOf(data.path());

        const auto attempt = [&] {
            if (action == QLatin1String("delete"))
                return set.deleteCurrent();
            if (!set.isEditing()) {
                action == QLatin1String("add") ? set.addNew() : set.edit();
                set.setField(names::todo::Task, QStringLiteral("b"));
            }
            return set.update();
        };
        const auto result = attempt();
        QVERIFY(!result.ok);
        QVERIFY2(result.error.contains(QLatin1String("disk I/O error")), qPrintable(result.error));
        QVERIFY2(result.error.contains(data.path()), qPrintable(result.error));
        QCOMPARE(set.lastError(), result.error);
        QCOMPARE(bytesOf(data.path()), before);
        QCOMPARE(set.recordCount(), 1);
        QCOMPARE(set.position(), 0);
        QCOMPARE(set.isEditing(), action != QLatin1String("delete"));
        QCOMPARE(set.field(names::todo::Task), QString::fromLatin1(action == QLatin1String("delete") ? "a" : "b"));

        // The kept edit goes through once the file takes writes again.
        data.allowWrites(names::ToDo);
        QVERIFY(attempt().ok);
        QVERIFY(set.lastError().isEmpty());
        QVERIFY(set.requery());
        const QStringList expected = action == QLatin1String("add") ? QStringList{"a", "b"}
                                     : action == QLatin1String("edit") ? QStringList{"b"}
                                                                       : QStringList{};
        QCOMPARE(walk(set, {names::todo::Task}), expected);
    }

    void writeToRecordDeletedMeanwhile_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::addColumn<bool>("changeFields");
        QTest::newRow("edit") << false << true;
        QTest::newRow("edit without changes") << false << false;
        QTest::newRow("delete") << true << false;
    }
    void writeToRecordDeletedMeanwhile()
    {
        QFETCH(bool, remove);
        QFETCH(bool, changeFields);
        testing::TestData data;
        data.insert(names::Notes, {{names::notes::Title, "a   "}});
        data.insert(names::Notes, {{names::notes::Title, "b   "}});
        RecordSet stale(data.db(), names::NotesQuery);
        RecordSet other(data.db(), names::Notes);
        QVERIFY(other.deleteCurrent().ok);

        store::WriteResult result;
        if (remove) {
            result = stale.deleteCurrent();
        } else {
            stale.edit();
            if (changeFields)
                stale.setField(names::notes::Note, QStringLiteral("text"));
            result = stale.update();
        }
        QVERIFY(!result.ok);
        QCOMPARE(result.error, QStringLiteral("The record no longer exists."));
        QCOMPARE(data.countOf(names::Notes), 1);
        QCOMPARE(data.fieldOf(names::Notes, 2, names::notes::Note), QString());
    }
};

BREVANE_TEST(RecordSetTests)
#include "tst_recordset.moc"
