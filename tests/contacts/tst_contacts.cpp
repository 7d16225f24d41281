#include "contactsfixture.h"

#include <QCalendarWidget>
#include <QRadioButton>

using namespace brevane;
using testing::Book;
using testing::TestData;
using testing::addContact;
using testing::storedField;
using F = store::ContactField;
using State = frmContacts::WorkingState;

namespace {

QString storedOrder(TestData &data)
{
    return data.fieldOf(store::names::Options, 1, store::names::options::SortContactsBy);
}

void setStoredOrder(TestData &data, const QString &value)
{
    store::RecordSet options(data.db(), store::names::Options);
    options.moveFirst();
    options.edit();
    options.setField(store::names::options::SortContactsBy, value);
    QVERIFY(options.update());
}

} // namespace

class ContactBookTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listFormsAndOrder_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("firstNameOrder");
        QTest::newRow("last") << "last" << false;
        QTest::newRow("first") << "first" << true;
        QTest::newRow("First is not first") << "First" << false;
    }
    void listFormsAndOrder()
    {
        QFETCH(QString, stored);
        QFETCH(bool, firstNameOrder);
        TestData data;
        addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"));
        addContact(data, QString(), QStringLiteral("Smith"));
        addContact(data, QString(), QString(), {{F::Nickname, QStringLiteral("nobody")}});
        addContact(data, QStringLiteral("bob"), QStringLiteral("Adams"));
        addContact(data, QStringLiteral("al"), QStringLiteral("lee"));
        setStoredOrder(data, stored);
        // Letter case does not count, neither in the first key nor the second.
        const QStringList byLast{"Adams, bob", "lee, al", "Lee, Ann", "Smith, "};
        const QStringList byFirst{" Smith", "al lee", "Ann Lee", "bob Adams"};

        Book book(data);
        QCOMPARE(data.countOf(store::names::Contacts), 4); // the nameless one purged
        QCOMPARE(book.entries(), firstNameOrder ? byFirst : byLast);
        QCOMPARE(storedOrder(data), firstNameOrder ? QStringLiteral("first") : QStringLiteral("last"));
        QCOMPARE(book.currentEntry(), book.entries().constFirst());

        // The other order, stored at once and used on reopening.
        book.child<QRadioButton>(firstNameOrder ? "optLastName" : "optFirstName")->click();
        QCOMPARE(storedOrder(data), firstNameOrder ? QStringLiteral("last") : QStringLiteral("first"));
        book.window->close();
        book.window->show();
        QCOMPARE(book.entries(), firstNameOrder ? byLast : byFirst);
    }

    // What each working state leaves enabled.
    void workingStates_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("state");
        // Save, New, Edit, Delete, pane buttons, editable boxes, calendar buttons.
        QTest::addColumn<QString>("enabled");
        QTest::newRow("viewing") << "select" << int(State::Viewing) << "0111100";
        QTest::newRow("no first name") << "nofirst" << int(State::ViewingNoFirstName) << "0110000";
        QTest::newRow("adding") << "new" << int(State::Adding) << "1000111";
        QTest::newRow("editing") << "edit" << int(State::Editing) << "1000111";
        QTest::newRow("after a save") << "save" << int(State::Viewing) << "0111100";
        QTest::newRow("empty book") << "empty" << int(State::NoContact) << "0100000";
    }
    void workingStates()
    {
        QFETCH(QString, how);
        QFETCH(int, state);
        QFETCH(QString, enabled);
        TestData data;
        if (how != QLatin1String("empty")) {
            addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"));
            addContact(data, QString(), QStringLiteral("Zed"));
        }
        Book book(data);
        how == QLatin1String("nofirst") ? book.select(1) : how == QLatin1String("new") ? book.click("cmdAddContact") : void();
        if (how == QLatin1String("edit") || how == QLatin1String("save"))
            book.click("cmdEdit");
        how == QLatin1String("save") ? book.click("cmdSave") : void();
        QCOMPARE(int(book.window->workingState()), state);
        QString actual;
        for (const char *name : {"cmdSave", "cmdAddContact", "cmdEdit", "cmdDeleteContact", "cmdBusiness"})
            actual += book.child(name)->isEnabled() ? u'1' : u'0';
        QCOMPARE(book.child("cmdOther")->isEnabled(), actual.endsWith(u'1'));
        actual += book.box("txtHomeCity")->isReadOnly() ? u'0' : u'1';
        actual += book.child("cmdBirthdayCalendar")->isEnabled() ? u'1' : u'0';
        QCOMPARE(actual, enabled);
        if (state == int(State::ViewingNoFirstName))
            QVERIFY2(!book.child<QWidget>("fraName")->isHidden(), "the personal pane is shown");
    }

    void addRefusesOnlyExactTwins_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("editing");
        const QString noName = QStringLiteral("Please type a first or a last name for this contact.");
        QTest::newRow("twin") << "Ann" << "Lee"
                              << "The contact Ann Lee already exists.  "
                                 "Please add a middle initial to the contact's first name." << false;
        QTest::newRow("other case") << "ann" << "Lee" << "" << false;
        QTest::newRow("trailing blank") << "Ann " << "Lee" << "" << false;
        QTest::newRow("no name") << "" << "" << noName << false;
        // A contact left without a name would drop out of the list and be purged.
        QTest::newRow("names cleared in an edit") << "" << "" << noName << true;
    }
    void addRefusesOnlyExactTwins()
    {
        QFETCH(QString, first);
        QFETCH(QString, last);
        QFETCH(QString, message);
        QFETCH(bool, editing);
        TestData data;
        addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"));
        Book book(data);
        editing ? book.click("cmdEdit") : book.window->cmdAddContact_Click();
        book.box("txtFirst")->clear();
        book.box("txtLast")->clear();
        book.type("txtFirst", first);
        book.type("txtLast", last);
        book.type("txtCompany", QStringLiteral("Acme"));
        book.click("cmdSave");
        const bool refused = !message.isEmpty();
        QCOMPARE(data.desktop().messageTexts(), refused ? QStringList{message} : QStringList{});
        QCOMPARE(data.countOf(store::names::Contacts), refused ? 1 : 2);
        QCOMPARE(book.window->workingState(),
                 !refused ? State::Viewing : editing ? State::Editing : State::Adding);
        QCOMPARE(storedField(data, 1, F::FirstName), QStringLiteral("Ann"));
        QCOMPARE(book.box("txtCompany")->text() + storedField(data, 2, F::Company),
                 refused ? QStringLiteral("Acme<no record>") : QStringLiteral("Acme"));
    }

    // Edit writes into the shown contact; deleting the last leaves an empty book with empty boxes.
    void editThenDeleteTheLastContact()
    {
        TestData data;
        const auto id = addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"));
        Book book(data);
        Q_EMIT book.list()->doubleClicked(book.list()->model()->index(0, 0));
        QCOMPARE(book.window->workingState(), State::Editing);
        book.box("txtLast")->clear();
        book.type("txtLast", QStringLiteral("Lee-Smith"));
        book.click("cmdSave");
        QCOMPARE(storedField(data, id, F::LastName), QStringLiteral("Lee-Smith"));
        QCOMPARE(book.entries(), QStringList{QStringLiteral("Lee-Smith, Ann")});

        book.select(0);
        data.desktop().queueAnswer(Desktop::Answer::Yes);
        QTest::keyClick(book.list(), Qt::Key_Delete);
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("Delete Lee-Smith, Ann from your contacts list?")});
        QVERIFY(data.countOf(store::names::Contacts) == 0 && book.entries().isEmpty());
        QVERIFY(book.box("txtFirst")->text().isEmpty() && book.window->workingState() == State::NoContact);
    }

    void saveQuestionOnSelecting_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes saves, then the first entry") << true;
        QTest::newRow("no discards, the clicked entry") << false;
    }
    void saveQuestionOnSelecting()
    {
        QFETCH(bool, yes);
        TestData data;
        addContact(data, QStringLiteral("Ann"), QStringLiteral("Adams"));
        const auto bob = addContact(data, QStringLiteral("Bob"), QStringLiteral("Brown"));
        addContact(data, QStringLiteral("Cy"), QStringLiteral("Cole"));
        Book book(data);
        book.select(1);
        book.click("cmdEdit");
        book.type("txtNickname", QStringLiteral("Bobby"));
        data.desktop().queueAnswer(yes ? Desktop::Answer::Yes : Desktop::Answer::No);
        book.select(2);
        QCOMPARE(data.desktop().messageTexts(),
                 QStringList{QStringLiteral("Do you want to save the changes to this contact?")});
        QCOMPARE(storedField(data, bob, F::Nickname), yes ? QStringLiteral("Bobby") : QString());
        QCOMPARE(book.currentEntry() + u'/' + book.box("txtFirst")->text(), yes ? QStringLiteral("Adams, Ann/Ann") : QStringLiteral("Cole, Cy/Cy"));
        QCOMPARE(book.window->workingState(), State::Viewing);
    }

    // Two contacts with one name are each shown and deleted on their own.
    void twoContactsWithOneName()
    {
        TestData data;
        const auto first = addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"), {{F::Nickname, QStringLiteral("one")}});
        const auto second = addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"), {{F::Nickname, QStringLiteral("two")}});
        Book book(data);
        book.select(1);
        QVERIFY(book.box("txtNickname")->text() == QLatin1String("two") && book.window->shownContact() == second);
        book.click("cmdDeleteContact");
        QCOMPARE(storedField(data, first, F::Nickname), QStringLiteral("one"));
        QCOMPARE(data.countOf(store::names::Contacts), 1);
    }

    void datePickers()
    {
        TestData data(QDate(2026, 3, 5));
        addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"));
        Book book(data);
        QVERIFY(!book.child("cmdBirthdayCalendar")->isEnabled());
        book.click("cmdEdit");
        book.click("cmdOther");
        auto *birthday = book.child<QCalendarWidget>("BirthdayCalendar");
        auto *anniversary = book.child<QCalendarWidget>("AnniversaryCalendar");
        book.click("cmdAnniversaryCalendar");
        QCOMPARE(book.child("cmdAnniversaryCalendar")->text(), QStringLiteral("Hide Calendar"));
        QCOMPARE(anniversary->selectedDate(), QDate(2026, 3, 5));
        book.click("cmdBirthdayCalendar"); // one picker at a time
        QVERIFY(anniversary->isHidden() && !book.child<QWidget>("lblBirthdayCalendar")->isHidden());
        QCOMPARE(book.child("cmdAnniversaryCalendar")->text(), QStringLiteral("Show Calendar"));
        Q_EMIT birthday->clicked(QDate(1999, 7, 7));
        QVERIFY(birthday->isHidden() && book.child("cmdBirthdayCalendar")->text() == QLatin1String("Show Calendar"));
        QCOMPARE(book.box("txtBirthday")->text(), QStringLiteral("July 7, 1999"));
        book.click("cmdAnniversaryCalendar");
        Q_EMIT anniversary->activated(QDate(1999, 7, 7));
        QCOMPARE(book.box("txtAnniversary")->text(), QStringLiteral("July 7"));
        book.click("cmdSave");
        QCOMPARE(storedField(data, 1, F::Anniversary), QStringLiteral("July 7"));
    }

    void webPages_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("opened");
        QTest::newRow("http") << "http://example.com/a b" << "http://example.com/a b";
        QTest::newRow("mailto") << "mailto:ann@example.com" << "mailto:ann@example.com";
        QTest::newRow("host name") << "example.com/page?x=1" << "http://example.com/page?x=1";
        QTest::newRow("path") << "/usr/bin/xterm" << "";
        QTest::newRow("file") << "file:///etc/passwd" << "";
        QTest::newRow("program") << "xterm" << "";
        QTest::newRow("blanks") << "rm -rf example.com" << "";
        QTest::newRow("relative path") << "../evil.sh" << "";
    }
    void webPages()
    {
        QFETCH(QString, text);
        QFETCH(QString, opened);
        TestData data;
        addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"), {{F::BusinessWebPage, text}});
        Book book(data);
        book.click("cmdBusiness");
        QVERIFY(book.child("cmdBusinessGo")->isEnabled() && !book.child("cmdHomeGo")->isEnabled());
        book.click("cmdBusinessGo");
        QCOMPARE(data.desktop().documentsOpened, opened.isEmpty() ? QStringList{} : QStringList{opened});
        QCOMPARE(data.desktop().messageTexts(),
                 opened.isEmpty() ? QStringList{u'\'' + text + QStringLiteral("' is not a web address.")}
                                  : QStringList{});
    }

    void failedWriteReported_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("message");
        QTest::newRow("add") << "add" << store::names::Contacts << "The contact could not be saved: ";
        QTest::newRow("edit") << "edit" << store::names::Contacts << "The contact could not be saved: ";
        QTest::newRow("delete") << "delete" << store::names::Contacts << "The contact could not be deleted: ";
        QTest::newRow("sort order") << "sort" << store::names::Options << "The sort order could not be saved: ";
        QTest::newRow("purge") << "close" << store::names::Contacts << "Contacts without a name could not be removed: ";
    }
    void failedWriteReported()
    {
        QFETCH(QString, command);
        QFETCH(QString, table);
        QFETCH(QString, message);
        TestData data;
        addContact(data, QStringLiteral("Ann"), QStringLiteral("Lee"));
        Book book(data);
        const bool closing = command == QLatin1String("close");
        if (closing)
            addContact(data, QString(), QString());
        data.failWrites(table);
        if (command == QLatin1String("add") || command == QLatin1String("edit")) {
            command == QLatin1String("add") ? book.window->cmdAddContact_Click() : book.click("cmdEdit");
            book.type("txtFirst", QStringLiteral("Bo"));
            book.click("cmdSave");
            QVERIFY(book.window->hasUnsavedChanges() && book.box("txtFirst")->text().endsWith(QStringLiteral("Bo")));
        }
        if (command == QLatin1String("sort"))
            book.child<QRadioButton>("optFirstName")->click();
        else if (command == QLatin1String("delete") || closing)
            book.click(closing ? "cmdClose" : "cmdDeleteContact");
        const QString shown = data.desktop().messageTexts().value(command == QLatin1String("delete") ? 1 : 0);
        QVERIFY2(shown.startsWith(message), qPrintable(shown));
        QCOMPARE(data.fieldOf(store::names::Contacts, 1, store::storedFieldName(F::FirstName)), QStringLiteral("Ann"));
        QCOMPARE(data.countOf(store::names::Contacts), closing ? 2 : 1);
    }

    // Closing with unsaved work asks; a failed save keeps the window open.
    void closingWithUnsavedWork()
    {
        TestData data;
        Book book(data);
        book.window->cmdAddContact_Click();
        book.type("txtLast", QStringLiteral("Lee"));
        data.failWrites(store::names::Contacts);
        QVERIFY(!book.window->close() && book.window->isVisible());
        data.allowWrites(store::names::Contacts);
        QVERIFY(book.window->close());
        QCOMPARE(data.countOf(store::names::Contacts), 1);
    }
};

BREVANE_TEST(ContactBookTests)
#include "tst_contacts.moc"
