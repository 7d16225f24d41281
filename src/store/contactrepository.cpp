#include "store/contactrepository.h"

#include "core/logging.h"
#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

#include <QSqlError>
#include <QSqlQuery>

#include <array>

namespace brevane::store {

namespace {

const QString kContactGone = QStringLiteral("The contact no longer exists.");

struct FieldInfo {
    ContactField field;
    const char *stored;
    QString Contact::*member;
};

// The one place that ties a field to its stored name and its member.
const std::array<FieldInfo, kContactFieldCount> kFields{{
    {ContactField::FirstName, "Contacts First Name", &Contact::firstName},
    {ContactField::MiddleName, "Contacts Middle Name", &Contact::middleName},
    {ContactField::LastName, "Contacts Last Name", &Contact::lastName},
    {ContactField::Nickname, "Contacts Nickname", &Contact::nickname},
    {ContactField::PersonalEmail, "Contacts Personal Email", &Contact::personalEmail},
    {ContactField::HomeAddress, "Contacts Home Street Address", &Contact::homeAddress},
    {ContactField::HomeCity, "Contacts Home City", &Contact::homeCity},
    {ContactField::HomeState, "Contacts Home State", &Contact::homeState},
    {ContactField::HomeZipCode, "Contacts Home Zip Code", &Contact::homeZipCode},
    {ContactField::HomeCountry, "Contacts Home Country", &Contact::homeCountry},
    {ContactField::HomePhone, "Contacts Home Phone", &Contact::homePhone},
    {ContactField::HomeFax, "Contacts Home Fax", &Contact::homeFax},
    {ContactField::HomeCell, "Contacts Home Cell", &Contact::homeCell},
    {ContactField::HomeWebPage, "Contacts Home Web Page", &Contact::homeWebPage},
    {ContactField::Company, "Contacts Business Company", &Contact::company},
    {ContactField::JobTitle, "Contacts Business Job Title", &Contact::jobTitle},
    {ContactField::BusinessAddress, "Contacts Business Street Address", &Contact::businessAddress},
    {ContactField::BusinessCity, "Contacts Business City", &Contact::businessCity},
    {ContactField::BusinessState, "Contacts Business State", &Contact::businessState},
    {ContactField::BusinessZipCode, "Contacts Business Zip Code", &Contact::businessZipCode},
    {ContactField::BusinessCountry, "Contacts Business Country", &Contact::businessCountry},
    {ContactField::BusinessPhone, "Contacts Business Phone", &Contact::businessPhone},
    {ContactField::BusinessFax, "Contacts Business Fax", &Contact::businessFax},
    {ContactField::BusinessPager, "Contacts Business Pager", &Contact::businessPager},
    {ContactField::BusinessCellPhone, "Contacts Business Cell Phone", &Contact::businessCellPhone},
    {ContactField::BusinessWebPage, "Contacts Business Web Page", &Contact::businessWebPage},
    {ContactField::Birthday, "Contacts Birthday", &Contact::birthday},
    {ContactField::Anniversary, "Contacts Anniversary", &Contact::anniversary},
    {ContactField::Notes, "Contacts Notes", &Contact::notes},
}};

const FieldInfo &info(ContactField field)
{
    return kFields[static_cast<size_t>(field)];
}

// The views expose the base table's rowid under this name.
const QString kViewRowId = QStringLiteral("_rid");


QString readError(const Database &db, const QSqlQuery &query)
{
    return errors::readFailure(db, errors::errorText(query.lastError()));
}

QString quoted(ContactField field)
{
    return Database::quoteName(storedFieldName(field));
}

// Reads id, first and last name from each row of an executed query whose
// first three columns are those.
QList<ContactName> readNames(QSqlQuery &query, bool skipNameless)
{
    QList<ContactName> names;
    while (query.next()) {
        ContactName name{query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()};
        if (skipNameless && name.first.isEmpty() && name.last.isEmpty())
            continue;
        names.append(std::move(name));
    }
    return names;
}

void writeFields(RecordSet &set, const Contact &contact)
{
    for (const FieldInfo &field : kFields)
        set.setField(QLatin1String(field.stored), contact.*field.member);
}

} // namespace

const QList<ContactField> &contactFields()
{
    static const QList<ContactField> fields = [] {
        QList<ContactField> list;
        for (const FieldInfo &field : kFields)
            list << field.field;
        return list;
    }();
    return fields;
}

QString storedFieldName(ContactField field)
{
    return QLatin1String(info(field).stored);
}

const QString &Contact::value(ContactField field) const
{
    return this->*info(field).member;
}

QString &Contact::value(ContactField field)
{
    return this->*info(field).member;
}

ReadResult<QList<ContactName>> ContactRepository::list(ContactOrder order) const
{
    const QString view = order == ContactOrder::FirstName ? names::ContactsQueryFirstName : names::ContactsQuery;
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    // Only the names: the list of a large book is rebuilt after every save.
    if (!query.exec(QStringLiteral("SELECT %1, %2, %3 FROM %4")
                        .arg(Database::quoteName(kViewRowId), quoted(ContactField::FirstName),
                             quoted(ContactField::LastName), Database::quoteName(view))))
        return ReadResult<QList<ContactName>>::failed(readError(m_db, query));
    QList<ContactName> names = readNames(query, true);
    if (query.lastError().isValid())
        return ReadResult<QList<ContactName>>::failed(readError(m_db, query));
    return {std::move(names), {}};
}

ReadResult<Contact> ContactRepository::byId(RecordId id) const
{
    RecordSet set(m_db, names::Contacts, onlyRecord(id));
    if (!set.lastError().isEmpty())
        return ReadResult<Contact>::failed(set.lastError());
    if (!set.moveToRecord(id))
        return {};
    Contact contact;
    contact.id = id;
    for (const FieldInfo &field : kFields)
        contact.*field.member = set.field(QLatin1String(field.stored));
    return {std::move(contact), {}};
}

ReadResult<RecordId> ContactRepository::findByName(const QString &first, const QString &last) const
{
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    // Binary comparison: case and blanks count, as the duplicate rule wants.
    query.prepare(QStringLiteral("SELECT rowid FROM %1 WHERE %2 = ? AND %3 = ? ORDER BY rowid LIMIT 1")
                      .arg(Database::quoteName(names::Contacts), quoted(ContactField::FirstName),
                           quoted(ContactField::LastName)));
    query.addBindValue(first.isNull() ? QStringLiteral("") : first);
    query.addBindValue(last.isNull() ? QStringLiteral("") : last);
    if (!query.exec())
        return ReadResult<RecordId>::failed(readError(m_db, query));
    if (!query.next())
        return query.lastError().isValid() ? ReadResult<RecordId>::failed(readError(m_db, query))
                                           : ReadResult<RecordId>{};
    return {query.value(0).toLongLong(), {}};
}

ReadResult<QList<ContactName>> ContactRepository::search(ContactField field, const QString &text) const
{
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT rowid, %1, %2, %3 FROM %4 ORDER BY rowid")
                        .arg(quoted(ContactField::FirstName), quoted(ContactField::LastName), quoted(field),
                             Database::quoteName(names::Contacts))))
        return ReadResult<QList<ContactName>>::failed(readError(m_db, query));
    // Compared here rather than in SQL: SQLite folds only ASCII letters.
    QList<ContactName> found;
    while (query.next()) {
        const QString value = query.value(3).toString();
        if (!value.isEmpty() && value.contains(text, Qt::CaseInsensitive))
            found.append({query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString()});
    }
    if (query.lastError().isValid())
        return ReadResult<QList<ContactName>>::failed(readError(m_db, query));
    return {std::move(found), {}};
}

WriteResult ContactRepository::add(Contact &contact)
{
    RecordSet set(m_db, names::Contacts, onlyRecord(kNoRecord));
    if (!set.lastError().isEmpty())
        return {false, set.lastError()};
    set.addNew();
    writeFields(set, contact);
    WriteResult result = set.update();
    if (result) {
        contact.id = set.recordId();
        qCDebug(lcStore) << "contact added as record" << contact.id;
    }
    return result;
}

WriteResult ContactRepository::update(const Contact &contact)
{
    RecordSet set(m_db, names::Contacts, onlyRecord(contact.id));
    if (const QString problem = errors::findToChange(m_db, set, contact.id, kContactGone); !problem.isEmpty())
        return {false, problem};
    set.edit();
    writeFields(set, contact);
    return set.update();
}

WriteResult ContactRepository::remove(RecordId id)
{
    return errors::removeRecord(m_db, names::Contacts, id, kContactGone);
}

WriteResult ContactRepository::removeNameless(int *removed)
{
    if (removed)
        *removed = 0;
    QSqlQuery query(m_db.connection());
    // A file written elsewhere may hold NULL where this program writes ''.
    if (!query.exec(QStringLiteral("DELETE FROM %1 WHERE IFNULL(%2, '') = '' AND IFNULL(%3, '') = ''")
                        .arg(Database::quoteName(names::Contacts), quoted(ContactField::FirstName),
                             quoted(ContactField::LastName)))) {
        return {false, errors::writeFailure(m_db, errors::errorText(query.lastError()))};
    }
    if (removed)
        *removed = query.numRowsAffected();
    return {true, {}};
}

} // namespace brevane::store
