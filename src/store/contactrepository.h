#pragma once

#include "store/readresult.h"
#include "store/recordset.h"
#include "store/settingsrepository.h"

#include <QList>
#include <QString>

namespace brevane::store {

class Database;

// The 29 fields of a contact the windows show, in stored order. The table's
// "Category" field is kept as it is and never read or written.
enum class ContactField {
    FirstName,
    MiddleName,
    LastName,
    Nickname,
    PersonalEmail,
    HomeAddress,
    HomeCity,
    HomeState,
    HomeZipCode,
    HomeCountry,
    HomePhone,
    HomeFax,
    HomeCell,
    HomeWebPage,
    Company,
    JobTitle,
    BusinessAddress,
    BusinessCity,
    BusinessState,
    BusinessZipCode,
    BusinessCountry,
    BusinessPhone,
    BusinessFax,
    BusinessPager,
    BusinessCellPhone,
    BusinessWebPage,
    Birthday,
    Anniversary,
    Notes,
};
inline constexpr int kContactFieldCount = 29;

// Every field in stored order.
[[nodiscard]] const QList<ContactField> &contactFields();
// The field's name in table "Contacts".
[[nodiscard]] QString storedFieldName(ContactField field);

// One contact: its identity and its 29 texts, each exactly as typed.
struct Contact {
    RecordId id = kNoRecord;
    QString firstName;
    QString middleName;
    QString lastName;
    QString nickname;
    QString personalEmail;
    QString homeAddress;
    QString homeCity;
    QString homeState;
    QString homeZipCode;
    QString homeCountry;
    QString homePhone;
    QString homeFax;
    QString homeCell;
    QString homeWebPage;
    QString company;
    QString jobTitle;
    QString businessAddress;
    QString businessCity;
    QString businessState;
    QString businessZipCode;
    QString businessCountry;
    QString businessPhone;
    QString businessFax;
    QString businessPager;
    QString businessCellPhone;
    QString businessWebPage;
    QString birthday;
    QString anniversary;
    QString notes;

    [[nodiscard]] const QString &value(ContactField field) const;
    [[nodiscard]] QString &value(ContactField field);
    friend bool operator==(const Contact &, const Contact &) = default;
};

// What a list shows of a contact: its identity and its two names.
struct ContactName {
    RecordId id = kNoRecord;
    QString first;
    QString last;
    friend bool operator==(const ContactName &, const ContactName &) = default;
};

// Reads and writes table "Contacts"; the list comes through "Contacts Query"
// (last-name order) or "Contacts Query First Name". Every write is committed
// before it returns.
class ContactRepository
{
public:
    explicit ContactRepository(Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(ContactRepository)

    // Every contact with a first or a last name, in the list order.
    [[nodiscard]] ReadResult<QList<ContactName>> list(ContactOrder order) const;
    // One contact; no value when it is no longer in the file.
    [[nodiscard]] ReadResult<Contact> byId(RecordId id) const;
    // The first contact, in stored order, with exactly these names (case and
    // blanks count); no value when there is none.
    [[nodiscard]] ReadResult<RecordId> findByName(const QString &first, const QString &last) const;
    // Every contact, in stored order, whose field contains `text` ignoring
    // case; an empty field never matches.
    [[nodiscard]] ReadResult<QList<ContactName>> search(ContactField field, const QString &text) const;

    // Adds a contact (all 29 fields) and sets contact.id.
    [[nodiscard]] WriteResult add(Contact &contact);
    // Writes all 29 fields of the contact with identity contact.id; fails
    // when it is gone.
    [[nodiscard]] WriteResult update(const Contact &contact);
    [[nodiscard]] WriteResult remove(RecordId id);
    // Deletes every contact whose first and last names are both empty, in one
    // statement; *removed says how many.
    [[nodiscard]] WriteResult removeNameless(int *removed = nullptr);

private:
    Database &m_db;
};

} // namespace brevane::store
