// The contact book on a data file of 10,000 contacts: the list rebuild that
// follows every save, and a search over every contact.

#include "bench.h"

#include "contacts/frmcontacts.h"
#include "contacts/frmsearchcontacts.h"
#include "scripteddesktop.h"
#include "store/contactrepository.h"
#include "store/database.h"
#include "store/names.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

using namespace brevane;
using F = store::ContactField;

namespace {

constexpr int kContacts = 10000;

bool fillContacts(store::Database &db, int count)
{
    QSqlDatabase connection = db.connection();
    connection.transaction();
    QSqlQuery insert(connection);
    const QList<F> fields{F::FirstName, F::LastName, F::HomeCity, F::PersonalEmail, F::Company};
    QStringList names;
    for (const F field : fields)
        names << store::Database::quoteName(store::storedFieldName(field));
    insert.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, ?)")
                       .arg(store::Database::quoteName(store::names::Contacts), names.join(u',')));
    const QStringList cities{QStringLiteral("Portland"), QStringLiteral("Seattle"), QStringLiteral("Boise"),
                             QStringLiteral("Eugene"), QStringLiteral("Spokane")};
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(QStringLiteral("First%1").arg((i * 7919) % count));
        insert.addBindValue(QStringLiteral("Last%1").arg((i * 104729) % count));
        insert.addBindValue(cities.at(i % cities.size()));
        insert.addBindValue(QStringLiteral("person%1@example.com").arg(i));
        insert.addBindValue(QStringLiteral("Company %1").arg(i % 97));
        if (!insert.exec())
            return false;
    }
    return connection.commit();
}

} // namespace

BREVANE_BENCH(contacts)
{
    ScriptedDesktop scripted;
    setDesktop(&scripted);
    QTemporaryDir dir;
    QString error;
    auto db = store::Database::open(dir.filePath(QStringLiteral("bench.sqlite")), &error);
    if (!db || !fillContacts(*db, kContacts)) {
        std::fprintf(stderr, "no data file: %s\n", qPrintable(error));
        setDesktop(nullptr);
        return;
    }
    {
        store::ContactRepository contacts(*db);
        bench::report("contacts: read the list, 10,000 contacts",
                      bench::medianMs(21, [&](int) { (void)contacts.list(store::ContactOrder::LastName); }));

        frmContacts book(*db);
        book.show();
        QApplication::processEvents();
        auto *edit = book.findChild<QPushButton *>(QStringLiteral("cmdEdit"));
        auto *save = book.findChild<QPushButton *>(QStringLiteral("cmdSave"));
        auto *nickname = book.findChild<QLineEdit *>(QStringLiteral("txtNickname"));
        // Edit, change a field and Save, which writes the contact and rebuilds
        // the list; Save is nearly all of it.
        bench::report("contacts: Save an edit (write + list rebuild), 10,000",
                      bench::medianMs(21, [&](int i) {
                          edit->click();
                          nickname->setText(QStringLiteral("Nick %1").arg(i));
                          save->click();
                      }));

        book.findChild<QPushButton *>(QStringLiteral("cmdSearch"))->click();
        frmSearchContacts *search = book.searchWindow();
        auto *searchFor = search->findChild<QLineEdit *>(QStringLiteral("txtSearchFor"));
        searchFor->setText(QStringLiteral("st12"));
        bench::report("contacts: search First Name over 10,000 contacts",
                      bench::medianMs(21, [&](int) { search->search(); }));
        if (!scripted.messages.isEmpty())
            std::fprintf(stderr, "unexpected messages: %s\n", qPrintable(scripted.messageTexts().join(u'|')));
        book.close();
    }
    db.reset();
    setDesktop(nullptr);
}
