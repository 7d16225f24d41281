#include "store/agendarepository.h"
#include "store/names.h"
#include "store/todorepository.h"
#include "testsupport.h"

#include <QSqlQuery>

using namespace brevane::store;
using brevane::testing::TestData;
namespace ag = names::agenda;
namespace td = names::todo;

namespace {

// A task with values the windows never write ("Groceries", "Maybe", a put-off "3 days" due March 4).
RecordId storeTask(TestData &data, const QString &text, int day = 5, int month = 3, int year = 2003)
{
    const QStringList fields{ag::Task, ag::Category, ag::Alarm, ag::Reminder, ag::ReminderDay, ag::ReminderMonth,
                             ag::ReminderYear, ag::StartHour, ag::StartMinute, ag::StartAmPm, ag::EndHour,
                             ag::EndMinute, ag::EndAmPm, ag::Day, ag::Month, ag::Year};
    const QStringList values = QStringList{text, "Groceries", "Maybe", "3 days", "4", "3", "2003", "9", "00", "AM",
                                           "10", "30", "AM", QString::number(day), QString::number(month),
                                           QString::number(year)};
    QList<std::pair<QString, QString>> record;
    for (qsizetype i = 0; i < fields.size(); ++i)
        record.append({fields.at(i), values.at(i)});
    return data.insert(names::Agenda, record);
}

QStringList storedFields(TestData &data, const QString &table, RecordId id, const QStringList &fields)
{
    QStringList values;
    for (const QString &field : fields)
        values << data.fieldOf(table, id, field);
    return values;
}

} // namespace

class RepositoryTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void endTimeNoteCutOnlyWhenExact_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("typed");
        QTest::newRow("note") << "Dentist (to 10:30 AM)" << "Dentist";
        QTest::newRow("no note") << "Drive (to airport)" << "Drive (to airport)";
        QTest::newRow("last of two notes") << "A (to 9:00 AM) (to 1:30 PM)" << "A (to 9:00 AM)";
        QTest::newRow("hour 13") << "A (to 13:00 PM)" << "A (to 13:00 PM)";
        QTest::newRow("not at the end") << "A (to 9:00 AM)." << "A (to 9:00 AM).";
        QTest::newRow("no blank before") << "A(to 9:00 AM)" << "A(to 9:00 AM)";
    }
    void endTimeNoteCutOnlyWhenExact()
    {
        QFETCH(QString, stored);
        QFETCH(QString, typed);
        TestData data;
        AgendaRepository repo(data.db());
        const RecordId id = storeTask(data, stored);
        const auto task = repo.byId(id);
        QVERIFY2(task.ok() && task.value, qPrintable(task.error));
        QCOMPARE(task.value->text, typed);
        QCOMPARE(task.value->shownText, stored);

        // A fix of the text keeps what the user saw and adds the note once.
        AgendaTask edited = *task.value;
        edited.text += QStringLiteral("!");
        QVERIFY(repo.update(edited, AgendaField::Text));
        QCOMPARE(data.fieldOf(names::Agenda, id, ag::Task), typed + QStringLiteral("! (to 10:30 AM)"));
    }

    void updateWritesOnlyNamedFields()
    {
        TestData data;
        AgendaRepository repo(data.db());
        const RecordId id = storeTask(data, QStringLiteral("Drive (to airport)"));
        AgendaTask task = *repo.byId(id).value;
        QVERIFY(task.start == QTime(9, 0) && task.end == QTime(10, 30));
        task.end = QTime(12, 0);
        task.category = QStringLiteral("Work");
        QVERIFY(repo.update(task, AgendaField::End));
        QCOMPARE(storedFields(data, names::Agenda, id,
                              {ag::Task, ag::EndHour, ag::EndMinute, ag::EndAmPm, ag::Category, ag::Reminder}),
                 (QStringList{"Drive (to airport)", "12", "00", "PM", "Groceries", "3 days"}));

        // With a note, a new end time rewrites it.
        task.text = QStringLiteral("Drive");
        QVERIFY(repo.update(task, AgendaField::Text));
        task.end = QTime(0, 30);
        QVERIFY(repo.update(task, AgendaField::End));
        QCOMPARE(data.fieldOf(names::Agenda, id, ag::Task), QStringLiteral("Drive (to 12:30 AM)"));

    }

    void textLimitCountsWhatUsersSee_data()
    {
        QTest::addColumn<QString>("oldText");
        QTest::addColumn<QString>("newText");
        QTest::addColumn<bool>("accepted");
        const QString e = QStringLiteral("e\u0301"); // one character, two code units
        QTest::newRow("250 composed") << QString() << e.repeated(250) << true;
        QTest::newRow("old longer text kept") << QString(300, u'a') << QString(300, u'b') << true;
        QTest::newRow("old longer text lengthened") << QString(300, u'a') << QString(301, u'a') << false;
    }
    void textLimitCountsWhatUsersSee()
    {
        QFETCH(QString, oldText);
        QFETCH(QString, newText);
        QFETCH(bool, accepted);
        TestData data;
        AgendaRepository agenda(data.db());
        ToDoRepository todo(data.db());
        AgendaTask task = *agenda.byId(storeTask(data, oldText)).value;
        ToDoItem item{data.insert(names::ToDo, {{td::Task, oldText}}), {}, {}, false, 0};
        task.text = item.text = newText;
        QCOMPARE(agenda.update(task, AgendaField::Text).ok, accepted);
        QCOMPARE(todo.update(item, ToDoField::Text).ok, accepted);
        if (oldText.isEmpty())
            QVERIFY(agenda.add(task).ok && todo.add(item).ok);
        if (!accepted)
            QCOMPARE(agenda.byId(task.id).value->text, oldText);
    }

    void removeBeforeIsAllOrNothing()
    {
        TestData data;
        AgendaRepository repo(data.db());
        for (const auto &[month, year] : {std::pair{12, 2002}, {2, 2003}, {2, 2003}, {3, 2003}, {1, 2004}})
            storeTask(data, QStringLiteral("t"), 1, month, year);
        // Fails on the third old task, after two were deleted by the statement.
        QSqlQuery trigger(data.db().connection());
        QVERIFY(trigger.exec(QStringLiteral("CREATE TEMP TRIGGER failLate BEFORE DELETE ON \"Agenda\" "
                                            "WHEN old.rowid = 3 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END")));
        int removed = -1;
        const auto failed = repo.removeBefore(2003, 3, &removed);
        QVERIFY(!failed);
        QVERIFY2(failed.error.contains(data.path()), qPrintable(failed.error));
        QCOMPARE(removed, 0);
        QCOMPARE(data.countOf(names::Agenda), 5);

        QVERIFY(trigger.exec(QStringLiteral("DROP TRIGGER temp.failLate")));
        QVERIFY(repo.removeBefore(2003, 3, &removed));
        QCOMPARE(removed, 3);
        QCOMPARE(data.countOf(names::Agenda), 2);
    }

    void toDoStoredForms()
    {
        TestData data;
        ToDoRepository repo(data.db());
        const RecordId id = data.insert(names::ToDo, {{td::Task, "Milk"}, {td::Category, "Groceries"},
                                                      {td::Done, "Maybe"}, {td::Priority, "7"}});
        const QStringList fields{td::Task, td::Category, td::Done, td::Priority};
        ToDoItem item = *repo.byId(id).value;
        QVERIFY(!item.done && item.priority == 7);
        item.text = QStringLiteral("Oat milk");
        item.done = true;
        item.priority = 2;
        QVERIFY(repo.update(item, ToDoField::Done | ToDoField::Priority));
        QCOMPARE(storedFields(data, names::ToDo, id, fields), (QStringList{"Milk", "Groceries", "Yes", "2"}));

        ToDoItem copy{kNoRecord, QStringLiteral("REMINDER: x"), QStringLiteral("Work"), true, 1};
        QVERIFY(repo.addReminderCopy(copy));
        QCOMPARE(storedFields(data, names::ToDo, copy.id, fields), (QStringList{"REMINDER: x", "Work", "", ""}));
    }
};

BREVANE_TEST(RepositoryTests)
#include "tst_repositories.moc"
