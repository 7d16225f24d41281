#include "reminders/frmremind.h"
#include "store/names.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace brevane;
using testing::TestData;
namespace names = store::names;
namespace ag = store::names::agenda;

namespace {

const QString kTask = QStringLiteral("Dentist (to 10:30 AM)");

// A task on 20 March 2024 at 9:30 AM whose 5-day reminder started on the 15th.
store::RecordId addDentist(TestData &data)
{
    return data.insert(names::Agenda, {{ag::Task, kTask}, {ag::Category, QStringLiteral("Appointment")},
                                       {ag::Reminder, QStringLiteral("5 Days")}, {ag::ReminderDay, QStringLiteral("15")},
                                       {ag::ReminderMonth, QStringLiteral("3")}, {ag::ReminderYear, QStringLiteral("2024")},
                                       {ag::StartHour, QStringLiteral("9")}, {ag::StartMinute, QStringLiteral("30")},
                                       {ag::StartAmPm, QStringLiteral("AM")}, {ag::Day, QStringLiteral("20")},
                                       {ag::Month, QStringLiteral("3")}, {ag::Year, QStringLiteral("2024")}});
}

// "field|field|..." of one record.
QString fieldsOf(TestData &data, const QString &table, store::RecordId id, const QStringList &fields)
{
    QStringList values;
    for (const QString &field : fields)
        values << data.fieldOf(table, id, field);
    return values.join(u'|');
}

QString reminderOf(TestData &data, store::RecordId id)
{
    return fieldsOf(data, names::Agenda, id, {ag::Reminder, ag::ReminderDay, ag::ReminderMonth, ag::ReminderYear});
}

} // namespace

// The pop-up's own wiring; the reminder arithmetic is proven in the core tests.
class RemindTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // OK acts on exactly the record shown, never on its twin; a failed write
    // is reported and the window still closes so that the chain goes on.
    void ok_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("copy");
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("message");
        const QString none = QStringLiteral("<no record>");
        QTest::newRow("2 Days, to-do copy") << "2 Days" << true << "" << "3 days|19|3|2024" << "";
        QTest::newRow("0 Days by Enter") << "0 Days" << false << "" << "5 days|17|3|2024" << "";
        QTest::newRow("Never") << "Never" << false << "" << "|||" << "";
        QTest::newRow("don't display wins over 2 Days") << "2 Days, don't display" << false << "" << "|||" << "";
        QTest::newRow("copy of a deleted record") << "2 Days" << true << "deleted" << QStringList(4, none).join(u'|') << "";
        QTest::newRow("agenda write fails")
            << "2 Days" << true << names::Agenda << "5 Days|15|3|2024"
            << QStringLiteral("The change to the reminder of \"%1\" was not saved.").arg(kTask);
        QTest::newRow("to-do write fails") << "2 Days" << true << names::ToDo << "3 days|19|3|2024"
                                           << "The reminder was not copied to the to-do list.";
    }
    void ok()
    {
        QFETCH(QString, choice);
        QFETCH(bool, copy);
        QFETCH(QString, trouble);
        QFETCH(QString, message);
        TestData data(QDate(2024, 3, 17));
        const store::RecordId twin = addDentist(data);
        const store::RecordId id = addDentist(data);
        const QString copyText = QStringLiteral("REMINDER: Dentist (to 10:30 AM) (March 20, 2024 at 9:30 AM)");
        // An item of the same text from an earlier day does not stop a new copy.
        data.insert(names::ToDo, {{names::todo::Task, copyText}});
        frmRemind window(data.db());
        window.setReminder(20, 3, 2024, kTask, QStringLiteral("9"), QStringLiteral("30"), QStringLiteral("AM"),
                           QStringLiteral("Appointment"), id);
        QCOMPARE(data.desktop().beeps(), 1);
        QString shown = window.findChild<QPlainTextEdit *>(QStringLiteral("txtTask"))->toPlainText();
        for (const char *name : {"txtDate", "txtTime", "txtCategory"})
            shown += u'|' + window.findChild<QLineEdit *>(QLatin1String(name))->text();
        QCOMPARE(shown, kTask + QStringLiteral("|March 20, 2024|9:30 AM|Appointment"));
        auto *next = window.findChild<QComboBox *>(QStringLiteral("cmbNext"));
        QCOMPARE(next->currentText(), QStringLiteral("0 Days"));

        if (trouble == QLatin1String("deleted")) {
            store::RecordSet set(data.db(), names::Agenda);
            QVERIFY(set.moveToRecord(id) && set.deleteCurrent().ok);
        } else if (!trouble.isEmpty()) {
            data.failWrites(trouble);
        }
        next->setCurrentIndex(next->findText(choice.section(u',', 0, 0)));
        const bool dontDisplay = choice.endsWith(QLatin1String("don't display"));
        window.findChild<QCheckBox *>(QStringLiteral("chkDisplay"))->setChecked(dontDisplay);
        window.findChild<QCheckBox *>(QStringLiteral("chkReminder"))->setChecked(copy);
        if (choice == QLatin1String("0 Days")) { // Enter in the task box presses OK
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QTest::keyClick(window.findChild<QPlainTextEdit *>(QStringLiteral("txtTask")), Qt::Key_Return);
        } else {
            QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdOk")), Qt::LeftButton);
        }
        QCOMPARE(window.result(), int(QDialog::Accepted));
        window.cmdOk_Click(); // a repeated press changes nothing more

        QTEST(reminderOf(data, id), "stored");
        QCOMPARE(reminderOf(data, twin), QStringLiteral("5 Days|15|3|2024"));
        const bool copied = copy && trouble != names::ToDo;
        QCOMPARE(data.countOf(names::ToDo), copied ? 2 : 1);
        if (copied)
            QCOMPARE(fieldsOf(data, names::ToDo, 2,
                              {names::todo::Task, names::todo::Category, names::todo::Done, names::todo::Priority}),
                     copyText + QStringLiteral("|Appointment||"));
        QCOMPARE(data.desktop().messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            const ScriptedDesktop::Message &report = data.desktop().messages.constFirst();
            QVERIFY2(report.text.startsWith(message) && report.text.contains(QStringLiteral("disk I/O error")),
                     qPrintable(report.text));
            QCOMPARE(report.icon, Desktop::Icon::Exclamation);
        }
    }
};

BREVANE_TEST(RemindTests)
#include "tst_remind.moc"
