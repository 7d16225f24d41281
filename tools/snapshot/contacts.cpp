// The contact book in each pane and working state, with a date picker open,
// and the contact search with results.

#include "contacts/frmcontacts.h"
#include "contacts/frmsearchcontacts.h"
#include "scripteddesktop.h"
#include "snapshot.h"
#include "store/contactrepository.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

using namespace brevane;
using F = store::ContactField;

namespace {

void addSampleContacts(store::Database &db)
{
    store::ContactRepository contacts(db);
    const QList<QList<std::pair<F, QString>>> samples{
        {{F::FirstName, QStringLiteral("Margaret")}, {F::MiddleName, QStringLiteral("J.")},
         {F::LastName, QStringLiteral("Okafor")}, {F::Nickname, QStringLiteral("Maggie")},
         {F::PersonalEmail, QStringLiteral("maggie.okafor@example.net")},
         {F::HomeAddress, QStringLiteral("14 Larch Crescent")}, {F::HomeCity, QStringLiteral("Portland")},
         {F::HomeState, QStringLiteral("OR")}, {F::HomeZipCode, QStringLiteral("97205")},
         {F::HomeCountry, QStringLiteral("USA")}, {F::HomePhone, QStringLiteral("(503) 555-0142")},
         {F::HomeCell, QStringLiteral("(503) 555-0199")}, {F::HomeWebPage, QStringLiteral("www.example.net/maggie")},
         {F::Company, QStringLiteral("Riverside Clinic")}, {F::JobTitle, QStringLiteral("Head of Cardiology")},
         {F::BusinessAddress, QStringLiteral("200 Riverside Drive")}, {F::BusinessCity, QStringLiteral("Portland")},
         {F::BusinessState, QStringLiteral("OR")}, {F::BusinessZipCode, QStringLiteral("97201")},
         {F::BusinessCountry, QStringLiteral("USA")}, {F::BusinessPhone, QStringLiteral("(503) 555-0100")},
         {F::BusinessFax, QStringLiteral("(503) 555-0101")}, {F::BusinessPager, QStringLiteral("555-0102")},
         {F::BusinessWebPage, QStringLiteral("https://riverside.example.org")},
         {F::Birthday, QStringLiteral("April 12, 1968")}, {F::Anniversary, QStringLiteral("June 3")},
         {F::Notes, QStringLiteral("Prefers calls after 6 PM.\nAllergic to peanuts.")}},
        {{F::FirstName, QStringLiteral("Tom")}, {F::LastName, QStringLiteral("Berger")},
         {F::HomeCity, QStringLiteral("Seattle")}, {F::HomePhone, QStringLiteral("(206) 555-0170")}},
        {{F::FirstName, QStringLiteral("Alice")}, {F::LastName, QStringLiteral("Smith")},
         {F::HomeCity, QStringLiteral("Portland")}, {F::PersonalEmail, QStringLiteral("alice@example.com")}},
        {{F::FirstName, QStringLiteral("Rob")}, {F::LastName, QStringLiteral("Goldsmith")},
         {F::Company, QStringLiteral("Goldsmith & Sons")}},
        {{F::LastName, QStringLiteral("Plumbing Service")}, {F::HomePhone, QStringLiteral("(503) 555-0123")}},
        {{F::FirstName, QStringLiteral("Chen")}, {F::LastName, QStringLiteral("Wei")},
         {F::HomeCity, QStringLiteral("Vancouver")}},
    };
    for (const auto &fields : samples) {
        store::Contact contact;
        for (const auto &[field, value] : fields)
            contact.value(field) = value;
        (void)contacts.add(contact);
    }
}

void click(QWidget *window, const char *name)
{
    if (auto *button = window->findChild<QPushButton *>(QLatin1String(name)))
        button->click();
    QApplication::processEvents();
}

void selectEntry(frmContacts &book, const QString &text)
{
    auto *list = book.findChild<QListView *>(QStringLiteral("lstContacts"));
    const QModelIndexList found =
        list->model()->match(list->model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly);
    if (!found.isEmpty())
        list->setCurrentIndex(found.constFirst());
}

} // namespace

BREVANE_SNAPSHOT(contacts)
{
    addSampleContacts(db);
    auto *scripted = dynamic_cast<ScriptedDesktop *>(&desktop());
    bool ok = true;

    frmContacts book(db);
    book.show();
    selectEntry(book, QStringLiteral("Okafor, Margaret"));
    ok &= snapshot::save(&book, QStringLiteral("contacts-personal"));
    click(&book, "cmdBusiness");
    ok &= snapshot::save(&book, QStringLiteral("contacts-business"));
    click(&book, "cmdOther");
    ok &= snapshot::save(&book, QStringLiteral("contacts-other"));

    selectEntry(book, QStringLiteral("Plumbing Service, "));
    ok &= snapshot::save(&book, QStringLiteral("contacts-no-first-name"));

    selectEntry(book, QStringLiteral("Okafor, Margaret"));
    click(&book, "cmdEdit");
    click(&book, "cmdOther");
    ok &= snapshot::save(&book, QStringLiteral("contacts-editing"));
    click(&book, "cmdBirthdayCalendar");
    ok &= snapshot::save(&book, QStringLiteral("contacts-birthday-picker"));

    if (scripted)
        scripted->queueAnswer(Desktop::Answer::No);
    book.cmdAddContact_Click();
    click(&book, "cmdPersonal");
    book.findChild<QLineEdit *>(QStringLiteral("txtFirst"))->setText(QStringLiteral("Jonas"));
    ok &= snapshot::save(&book, QStringLiteral("contacts-adding"));
    if (scripted)
        scripted->queueAnswer(Desktop::Answer::No);
    selectEntry(book, QStringLiteral("Berger, Tom"));

    click(&book, "cmdSearch");
    if (frmSearchContacts *search = book.searchWindow()) {
        search->findChild<QComboBox *>(QStringLiteral("cmbSearchIn"))->setCurrentIndex(3); // City
        search->findChild<QLineEdit *>(QStringLiteral("txtSearchFor"))->setText(QStringLiteral("portland"));
        search->search();
        auto *results = search->findChild<QListView *>(QStringLiteral("lstResults"));
        results->setCurrentIndex(results->model()->index(1, 0));
        ok &= snapshot::save(search, QStringLiteral("contacts-search"));
        search->findChild<QLineEdit *>(QStringLiteral("txtSearchFor"))->setText(QStringLiteral("nowhere"));
        search->search();
        ok &= snapshot::save(search, QStringLiteral("contacts-search-nothing"));
    } else {
        ok = false;
    }
    book.close();
    return ok;
}
