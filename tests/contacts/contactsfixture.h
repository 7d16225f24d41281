#pragma once

#include "contacts/frmcontacts.h"
#include "controls/flatbutton.h"
#include "store/contactrepository.h"
#include "store/names.h"
#include "testsupport.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QListView>

namespace brevane::testing {

// A contact straight into the file: first and last name, then further fields.
inline store::RecordId addContact(TestData &data, const QString &first, const QString &last,
                                  const QList<std::pair<store::ContactField, QString>> &more = {})
{
    QList<std::pair<QString, QString>> fields{{store::storedFieldName(store::ContactField::FirstName), first},
                                              {store::storedFieldName(store::ContactField::LastName), last}};
    for (const auto &[field, value] : more)
        fields.append({store::storedFieldName(field), value});
    return data.insert(store::names::Contacts, fields);
}

inline QString storedField(TestData &data, store::RecordId id, store::ContactField field)
{
    return data.fieldOf(store::names::Contacts, id, store::storedFieldName(field));
}

// The texts of a list's entries, top down.
inline QStringList entriesOf(const QListView *list)
{
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row)
        texts << list->model()->index(row, 0).data().toString();
    return texts;
}

// The contact book, shown, on the test's data file.
struct Book {
    explicit Book(TestData &data) : window(new frmContacts(data.db())) { window->show(); }
    ~Book() { delete window; }
    Q_DISABLE_COPY_MOVE(Book)

    frmContacts *window;
    QListView *list() const { return window->findChild<QListView *>(QStringLiteral("lstContacts")); }
    QStringList entries() const { return entriesOf(list()); }
    QString currentEntry() const { return list()->currentIndex().data().toString(); }
    template <typename T = FlatButton>
    T *child(const char *name) const { return window->findChild<T *>(QLatin1String(name)); }
    QLineEdit *box(const char *name) const { return child<QLineEdit>(name); }
    void click(const char *name) const { QTest::mouseClick(child(name), Qt::LeftButton); }
    void select(int row) const { list()->setCurrentIndex(list()->model()->index(row, 0)); }
    void type(const char *name, const QString &text) const { QTest::keyClicks(box(name), text); }
};

} // namespace brevane::testing
