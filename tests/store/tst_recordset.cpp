#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"
#include "testsupport.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

using namespace brevane;
using namespace brevane::store;
namespace todo = names::todo;

namespace {

QByteArray bytesOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList walk(RecordSet &set, const QStringList &fields = {todo::Task})
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

QList<RecordId> addToDos(testing::TestData &data, const QStringList &tasks)
{
    QList<RecordId> ids;
    for (const QString &task : tasks)
        ids << data.insert(names::ToDo, {{todo::Task, task}});
    return ids;
}

} // namespace

class RecordSetTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewOrder_data()
    {
        using namespace names;
        QTest::addColumn<QString>("view");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("inserted");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("to-do in entry order") << ToDoQuery << todo::Task << QStringList{"b", "A", "c", "a"}
                                              << QStringList{"b", "A", "c", "a"};
        QTest::newRow("quick links by name") << QuickLinksQuery << quicklinks::ProgramName
                                             << QStringList{"beta", "Alpha", "gamma", "alpha", "Beta"}
                                             << QStringList{"Alpha", "alpha", "beta", "Beta", "gamma"};
    }
    void viewOrder()
    {
        QFETCH(QString, view);
        QFETCH(QString, field);
        QFETCH(QStringList, inserted);
        QFETCH(QStringList, expected);
        testing::TestData data;
        for (const QString &value : inserted)
            data.insert(Database::baseTableOf(view), {{field, value}});
        RecordSet set(data.db(), view);
        QCOMPARE(walk(set, {field}), expected);
    }

    void numericConditions_data()
    {
        QTest::addColumn<QList<NumericCondition>>("conditions");
        QTest::addColumn<QStringList>("expected");
        using namespace names::agenda;
        QTest::newRow("month of a year") << QList<NumericCondition>{{Year, 2003}, {Month, 3}} << QStringList{"a", "b"};
        QTest::newRow("empty or unset year is 0") << QList<NumericCondition>{{Year, 0}} << QStringList{"d", "g"};
        QTest::newRow("leading digits") << QList<NumericCondition>{{Month, 12}} << QStringList{"e"};
        QTest::newRow("unknown field") << QList<NumericCondition>{{QStringLiteral("Year\" OR 1=1 OR \""), 0}}
                                       << QStringList{};
    }
    void numericConditions()
    {
        using namespace names::agenda;
        QFETCH(QList<NumericCondition>, conditions);
        QFETCH(QStringList, expected);
        testing::TestData data;
        const QList<QStringList> rows = {{"a", "2003", "3"}, {"b", "2003", "03"},    {"c", "2003", ""},
                                         {"d", "", "3"},     {"e", "2003", "12abc"}, {"f", "2004", "3"}};
        for (const QStringList &row : rows)
            data.insert(names::Agenda, {{Task, row[0]}, {Year, row[1]}, {Month, row[2]}});
        RecordSet writer(data.db(), names::Agenda);
        writer.addNew(), writer.setField(Task, QStringLiteral("g")); // year and month never set
        QVERIFY(writer.update().ok);
        writer.addNew(), writer.setField(Task, QStringLiteral("h")), writer.setField(Year, QStringLiteral("2003"));
        writer.setField(Month, QString()); // a null text is stored as empty
        QVERIFY(writer.update().ok);
        RecordSet set(data.db(), names::Agenda, conditions);
        QCOMPARE(walk(set, {Task}), expected);
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
        const RecordId second = addToDos(data, {"same", "same"}).at(1);
        RecordSet one(data.db(), source, store::onlyRecord(second));
        QVERIFY(one.recordCount() == 1 && one.recordId() == second);
        QVERIFY(one.deleteCurrent().ok && data.countOf(names::ToDo) == 1);
        RecordSet gone(data.db(), source, store::onlyRecord(second));
        QVERIFY2(gone.lastError().isEmpty() && gone.eof() && gone.recordId() == kNoRecord, qPrintable(gone.lastError()));
        // An empty set refuses writes.
        QVERIFY(!gone.deleteCurrent().ok);
        gone.edit(), gone.setField(todo::Task, QStringLiteral("x"));
        QVERIFY(!gone.update().ok);
        QCOMPARE(data.countOf(names::ToDo), 1);
    }

    // Refused by the file, to a deleted record, or naming an unknown field: reported, file unchanged.
    void refusedWriteReported_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("reason");
        const QString gone = QStringLiteral("The record no longer exists.");
        QTest::newRow("edit, file refuses") << "edit" << "disk" << "disk I/O error";
        QTest::newRow("unchanged edit, record gone") << "unchanged" << "gone" << gone;
        QTest::newRow("delete, record gone") << "delete" << "gone" << gone;
        QTest::newRow("edit, quote in field name") << "edit" << "Priority\" = '9', \"To Do Task" << "Priority\"";
        QTest::newRow("add, identity column") << "add" << "_rid" << "\"_rid\"";
    }
    void refusedWriteReported()
    {
        QFETCH(QString, action);
        QFETCH(QString, trouble);
        QFETCH(QString, reason);
        testing::TestData data;
        addToDos(data, {"a", "b"});
        RecordSet set(data.db(), names::ToDoQuery);
        if (trouble == QLatin1String("disk")) {
            data.failWrites(names::ToDo);
        } else if (trouble == QLatin1String("gone")) {
            RecordSet other(data.db(), names::ToDo);
            QVERIFY(other.deleteCurrent().ok);
        }
        const QByteArray before = bytesOf(data.path());

        const bool deleting = action == QLatin1String("delete");
        const bool changing = action == QLatin1String("edit") || action == QLatin1String("add");
        if (!deleting) {
            action == QLatin1String("add") ? set.addNew() : set.edit();
            if (changing)
                set.setField(todo::Task, QStringLiteral("changed"));
            if (trouble != QLatin1String("disk") && trouble != QLatin1String("gone"))
                set.setField(trouble, QStringLiteral("x"));
        }
        const WriteResult result = deleting ? set.deleteCurrent() : set.update();
        QVERIFY2(!result.ok && result.error.contains(reason), qPrintable(result.error));
        QVERIFY2(trouble != QLatin1String("disk") || result.error.contains(data.path()), qPrintable(result.error));
        QCOMPARE(bytesOf(data.path()), before);
        // The user's input stays for another try.
        QCOMPARE(set.isEditing(), !deleting);
        QCOMPARE(set.field(todo::Task), QString::fromLatin1(changing ? "changed" : "a"));
    }

    void quotedNamesAreInert()
    {
        const QString name = QStringLiteral("x\" TEXT); DROP TABLE \"Agenda\"; --");
        testing::TestData data;
        QSqlQuery query(data.db().connection());
        QVERIFY2(query.exec(QStringLiteral("CREATE TABLE %1 (%1 TEXT)").arg(Database::quoteName(name))),
                 qPrintable(query.lastError().text()));
        QCOMPARE(data.insert(name, {{name, QStringLiteral("v")}}), RecordId(1));
        QCOMPARE(data.fieldOf(name, 1, name), QStringLiteral("v"));
        QCOMPARE(data.countOf(names::Agenda), 0); // -1 if the table were gone
    }

    void batchKeepsWhatSucceededTogether()
    {
        testing::TestData data;
        addToDos(data, {"a", "b", "c"});
        const auto deleteFirst = [&](const QString &table) { return RecordSet(data.db(), table).deleteCurrent().ok; };
        {
            Batch batch(data.db());
            QVERIFY(batch.isActive() && deleteFirst(names::ToDo) && deleteFirst(names::ToDo) && batch.commit());
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        {
            // Without a commit nothing of the batch stays.
            Batch batch(data.db());
            QVERIFY(deleteFirst(names::ToDo));
        }
        QCOMPARE(data.countOf(names::ToDo), 1);
        {
            // A refused write fails on its own; the rest of the batch is kept.
            data.insert(names::Agenda, {{names::agenda::Task, QStringLiteral("x")}});
            Batch batch(data.db());
            data.failWrites(names::ToDo);
            QVERIFY(!deleteFirst(names::ToDo) && deleteFirst(names::Agenda) && batch.commit());
        }
        QCOMPARE(data.countOf(names::ToDo) * 10 + data.countOf(names::Agenda), 10);
    }
};

BREVANE_TEST(RecordSetTests)
#include "tst_recordset.moc"
