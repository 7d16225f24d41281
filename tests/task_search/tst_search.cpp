#include "controls/flatbutton.h"
#include "fakenavigation.h"
#include "store/names.h"
#include "task_search/frmsearch.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QSqlQuery>

using namespace brevane;
using testing::FakeNavigation;
using testing::TestData;
namespace names = store::names;

namespace {

constexpr int kAgenda = 0;
constexpr int kToDo = 1;

// "day/month/year|stored text"
store::RecordId addTask(TestData &data, const QString &dateAndText)
{
    const QStringList date = dateAndText.section(u'|', 0, 0).split(u'/');
    namespace ag = names::agenda;
    return data.insert(names::Agenda, {{ag::Task, dateAndText.section(u'|', 1)}, {ag::Day, date[0]},
                                       {ag::Month, date[1]}, {ag::Year, date[2]}});
}

store::RecordId addItem(TestData &data, const QString &text)
{
    return data.insert(names::ToDo, {{names::todo::Task, text}, {names::todo::Done, QStringLiteral("No")}});
}

struct Search {
    explicit Search(TestData &data) : window(new frmSearch(data.db(), navigation))
    {
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
    }
    ~Search() { delete window; }
    Q_DISABLE_COPY_MOVE(Search)

    FakeNavigation navigation;
    frmSearch *window;
    QLineEdit *text() const { return window->findChild<QLineEdit *>(QStringLiteral("txtSearchFor")); }
    QListView *results() const { return window->findChild<QListView *>(QStringLiteral("lstResults")); }
    FlatButton *button(const char *name) const { return window->findChild<FlatButton *>(QLatin1String(name)); }
    void searchIn(int list) const { window->findChild<QComboBox *>(QStringLiteral("cmbSearchIn"))->setCurrentIndex(list); }
    void search(int list, const QString &what) const
    {
        searchIn(list);
        text()->setText(what);
        QTest::keyClick(text(), Qt::Key_Return);
    }
    QStringList lines() const
    {
        QStringList shown;
        for (int row = 0; row < results()->model()->rowCount(); ++row)
            shown << results()->model()->index(row, 0).data().toString();
        return shown;
    }
    void view(int row) const
    {
        results()->setCurrentIndex(results()->model()->index(row, 0));
        QTest::mouseClick(button("cmdViewTask"), Qt::LeftButton);
    }
};

} // namespace

class SearchTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsText_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QStringList>("lines");
        const QStringList dentists{QStringLiteral("March 5, 2004 - Dentist (to 10:30 AM)"),
                                   QStringLiteral("December 31, 1999 - Call the DENTIST back"),
                                   QStringLiteral("January 1, 2000 - See the dEntist")};
        const QStringList milk{QStringLiteral("milk"), QStringLiteral("Buy Milk now"), QStringLiteral("oat milK")};
        QTest::newRow("agenda: start, middle, end, any case") << kAgenda << "dentist" << dentists;
        QTest::newRow("agenda: nothing") << kAgenda << "plumber" << QStringList{QStringLiteral("No Matches Found")};
        QTest::newRow("agenda: empty text lists every task with text")
            << kAgenda << "" << dentists + QStringList{QStringLiteral("March 5, 2004 - Lunch - with Ann (to 1:00 PM)")};
        QTest::newRow("to-do: start, middle, end") << kToDo << "MILK" << milk;
    }

    // Enter searches, even in an empty box; results come in table order.
    void findsText()
    {
        QFETCH(int, list);
        QFETCH(QString, what);
        QFETCH(QStringList, lines);
        TestData data;
        for (const char *task : {"5/3/2004|Dentist (to 10:30 AM)", "31/12/1999|Call the DENTIST back", "1/1/2000|",
                                 "1/1/2000|See the dEntist", "5/3/2004|Lunch - with Ann (to 1:00 PM)"})
            addTask(data, QString::fromUtf8(task));
        for (const char *item : {"milk", "Buy Milk now", "", "oat milK", "Call Ann"})
            addItem(data, QString::fromUtf8(item));
        Search s(data);
        QVERIFY(!s.button("cmdSearch")->isEnabled());
        s.search(list, what);
        QCOMPARE(s.lines(), lines);
        QCOMPARE(s.button("cmdViewTask")->text(), list == kToDo ? QStringLiteral("View Item") : QStringLiteral("View Task"));
        s.view(0);
        const int real = lines.constFirst() != QStringLiteral("No Matches Found");
        QCOMPARE(int(s.button("cmdViewTask")->isEnabled() + s.navigation.agendaShown.size() + s.navigation.toDoShown.size()),
                 2 * real);
    }

    // Each line shows its own record: text with " - ", one text on two days, Search In changed.
    void viewsTheRecordOfTheLine()
    {
        TestData data;
        const auto dash = addTask(data, QStringLiteral("5/3/2004|Lunch - with Ann"));
        const auto first = addTask(data, QStringLiteral("6/3/2004|Dentist"));
        const auto second = addTask(data, QStringLiteral("7/4/2004|Dentist"));
        addItem(data, QStringLiteral("March 6, 2004 - Dentist"));
        Search s(data);
        s.search(kAgenda, QString());
        s.view(0);
        s.view(2);
        s.view(1);
        s.searchIn(kToDo);
        s.view(1);
        QCOMPARE(s.navigation.agendaShown, (QList<store::RecordId>{dash, second, first, first}));
        QVERIFY(s.navigation.toDoShown.isEmpty());
        QCOMPARE(s.button("cmdViewTask")->text(), QStringLiteral("View Task"));
        // Only a record gone since the search is news here (the main window reports an unreadable file).
        for (const auto shown : {Navigation::Shown::Gone, Navigation::Shown::NotShown, Navigation::Shown::Unreadable}) {
            s.navigation.shown = shown;
            QTest::keyClick(s.results(), Qt::Key_Return);
        }
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("This agenda task no longer exists.  It may have been deleted.")});
    }

    // Every search rereads the file; an unreadable one is reported, not shown as no matches.
    void readsTheFileEachTime()
    {
        TestData data;
        Search s(data);
        s.search(kToDo, QStringLiteral("ann"));
        QCOMPARE(s.lines(), QStringList{QStringLiteral("No Matches Found")});
        const auto item = addItem(data, QStringLiteral("Call Ann"));
        QTest::mouseClick(s.button("cmdSearch"), Qt::LeftButton);
        s.view(0);
        QCOMPARE(s.navigation.toDoShown, QList<store::RecordId>{item});
        QVERIFY(QSqlQuery(data.db().connection()).exec(QStringLiteral("DROP TABLE \"To Do\"")));
        QTest::mouseClick(s.button("cmdSearch"), Qt::LeftButton);
        QVERIFY(s.lines().isEmpty() && data.desktop().messages.size() == 1);
    }
};

BREVANE_TEST(SearchTests)
#include "tst_search.moc"
