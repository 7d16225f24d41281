#include "store/quicklinkrepository.h"

#include "store/database.h"
#include "store/names.h"
#include "store/storeerrors.h"

namespace brevane::store {

namespace ql = names::quicklinks;

namespace {

const QString kGone = QStringLiteral("This quick link no longer exists.  It may have been deleted.");

QuickLink currentLink(const RecordSet &set)
{
    return {set.recordId(), set.field(ql::ProgramName), set.field(ql::ProgramPath)};
}

// Visits the links in list order until `stop` returns true.
template <typename Stop>
QString scan(Database &db, Stop stop)
{
    RecordSet set(db, names::QuickLinksQuery);
    if (!set.lastError().isEmpty())
        return errors::readFailure(db, set.lastError());
    for (set.moveFirst(); !set.eof(); set.moveNext()) {
        if (stop(currentLink(set)))
            break;
    }
    return {};
}

} // namespace

ReadResult<QList<QuickLink>> QuickLinkRepository::all() const
{
    QList<QuickLink> links;
    const QString error = scan(m_db, [&](const QuickLink &link) {
        links.append(link);
        return false;
    });
    if (!error.isEmpty())
        return ReadResult<QList<QuickLink>>::failed(error);
    return {links, {}};
}

ReadResult<QuickLink> QuickLinkRepository::byId(RecordId id) const
{
    RecordSet set(m_db, names::QuickLinksQuery, onlyRecord(id));
    if (!set.lastError().isEmpty())
        return ReadResult<QuickLink>::failed(errors::readFailure(m_db, set.lastError()));
    if (!set.moveToRecord(id))
        return {};
    return {currentLink(set), {}};
}

ReadResult<QuickLinkDuplicate> QuickLinkRepository::findDuplicate(const QString &name, const QString &path) const
{
    QuickLinkDuplicate duplicate;
    const QString error = scan(m_db, [&](const QuickLink &link) {
        if (link.path == path)
            duplicate.clash = QuickLinkClash::Path;
        else if (link.name == name)
            duplicate.clash = QuickLinkClash::Name;
        else
            return false;
        duplicate.link = link;
        return true;
    });
    if (!error.isEmpty())
        return ReadResult<QuickLinkDuplicate>::failed(error);
    return {duplicate, {}};
}

WriteResult QuickLinkRepository::add(QuickLink &link)
{
    RecordSet set(m_db, names::QuickLinks, onlyRecord(kNoRecord));
    if (!set.lastError().isEmpty())
        return {false, errors::readFailure(m_db, set.lastError())};
    set.addNew();
    set.setField(ql::ProgramName, link.name);
    set.setField(ql::ProgramPath, link.path);
    WriteResult result = set.update();
    if (result)
        link.id = set.recordId();
    return result;
}

WriteResult QuickLinkRepository::update(const QuickLink &link)
{
    RecordSet set(m_db, names::QuickLinks, onlyRecord(link.id));
    if (const QString problem = errors::findToChange(m_db, set, link.id, kGone); !problem.isEmpty())
        return {false, problem};
    set.edit();
    set.setField(ql::ProgramName, link.name);
    set.setField(ql::ProgramPath, link.path);
    return set.update();
}

WriteResult QuickLinkRepository::remove(RecordId id)
{
    return errors::removeRecord(m_db, names::QuickLinks, id, kGone);
}

} // namespace brevane::store
