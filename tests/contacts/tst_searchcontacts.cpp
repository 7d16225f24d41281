#include "contacts/frmsearchcontacts.h"
#include "contactsfixture.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QRadioButton>
#include <QSignalSpy>

using namespace brevane;
using testing::Book;
using testing::TestData;
using testing::addContact;
using F = store::ContactField;

namespace {

struct Search {
    explicit Search(const Book &book) : book(book)
    {
        book.click("cmdSearch");
        window = book.window->searchWindow();
    }
    const Book &book;
    frmSearchContacts *window = nullptr;
    template <typename T = FlatButton>
    T *child(const char *name) const { return window->findChild<T *>(QLatin1String(name)); }
    QListView *results() const { return child<QListView>("lstResults"); }
    QStringList entries() const { return testing::entriesOf(results()); }
    void run(const QString &in, const QString &text) const
    {
        child<QComboBox>("cmbSearchIn")->setCurrentText(in);
        child<QLineEdit>("txtSearchFor")->setText(text);
        QTest::keyClick(child<QLineEdit>("txtSearchFor"), Qt::Key_Return);
    }
    void choose(int row) const { results()->setCurrentIndex(results()->model()->index(row, 0)); }
};

void fill(TestData &data)
{
    addContact(data, QStringLiteral("John"), QStringLiteral("Smith"), {{F::HomeCity, QStringLiteral("Paris")}});
    addContact(data, QStringLiteral("Joanne"), QStringLiteral("Goldsmith"), {{F::HomeCity, QStringLiteral("Lyon")}});
    addContact(data, QStringLiteral("ANN"), QStringLiteral("Bo"), {{F::HomeCity, QStringLiteral("PARIS nord")}});
    addContact(data, QStringLiteral("Émile"), QStringLiteral("Zola"), {{F::Nickname, QStringLiteral("the ann")}});
}

} // namespace

class SearchContactsTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void search_data()
    {
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("last name, any case") << "Last Name" << "SMI"
                                             << QStringList{"Smith, John", "Goldsmith, Joanne"};
        QTest::newRow("first name") << "First Name" << "ann" << QStringList{"Goldsmith, Joanne", "Bo, ANN"};
        QTest::newRow("city lists names") << "City" << "paris" << QStringList{"Smith, John", "Bo, ANN"};
        QTest::newRow("leading blank kept") << "Nickname" << " ann" << QStringList{"Zola, Émile"};
        QTest::newRow("nothing") << "Address" << "x" << QStringList{"No Matches Found"};
    }
    void search()
    {
        QFETCH(QString, in);
        QFETCH(QString, text);
        QFETCH(QStringList, found);
        TestData data;
        fill(data);
        Book book(data);
        Search search(book);
        QVERIFY(search.window && !search.child("cmdSearch")->isEnabled());
        search.run(in, text);
        QCOMPARE(search.entries(), found);
        QVERIFY(!search.child("cmdView")->isEnabled());
        search.choose(0);
        QCOMPARE(search.child("cmdView")->isEnabled(), found.constFirst() != QLatin1String("No Matches Found"));
    }

    // View Contact selects the entry in the book's order, also of a later-added twin.
    void viewContact()
    {
        TestData data;
        fill(data);
        Book book(data);
        book.child<QRadioButton>("optFirstName")->click();
        Search search(book);
        search.run(QStringLiteral("Last Name"), QStringLiteral("smith"));
        search.choose(0);
        // A double click views the contact once, not once per signal the list sends.
        QSignalSpy views(search.window, &frmSearchContacts::viewContact);
        const QPoint at = search.results()->visualRect(search.results()->model()->index(0, 0)).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonDblClick}) {
            QMouseEvent click(type, at, search.results()->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
            QApplication::sendEvent(search.results()->viewport(), &click);
        }
        QCOMPARE(views.count(), 1);
        QCOMPARE(book.currentEntry() + u'/' + book.box("txtHomeCity")->text(), QStringLiteral("John Smith/Paris"));

        const auto twin = addContact(data, QStringLiteral("John"), QStringLiteral("Smith"), {{F::HomeCity, QStringLiteral("Nice")}});
        book.child<QRadioButton>("optLastName")->click();
        search.run(QStringLiteral("City"), QStringLiteral("nice"));
        search.choose(0);
        QTest::keyClick(search.results(), Qt::Key_Return);
        QVERIFY(book.window->shownContact() == twin && book.box("txtHomeCity")->text() == QLatin1String("Nice"));
    }

    // Closing the book hides the search window with its results; closing that ends it.
    void windowsComeAndGo()
    {
        TestData data;
        fill(data);
        Book book(data);
        Search search(book);
        search.run(QStringLiteral("Last Name"), QStringLiteral("o"));
        book.window->close();
        QVERIFY(search.window->isHidden());
        book.window->show();
        book.click("cmdSearch");
        QVERIFY(book.window->searchWindow() == search.window && search.entries().size() == 3);

        search.child("cmdClose")->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!book.window->searchWindow());
    }
};

BREVANE_TEST(SearchContactsTests)
#include "tst_searchcontacts.moc"
