#pragma once

#include "store/readresult.h"
#include "store/recordset.h"

#include <QList>
#include <QString>

namespace brevane::store {

class Database;

// A named shortcut to a program.
struct QuickLink {
    RecordId id = kNoRecord;
    QString name;
    QString path;
    friend bool operator==(const QuickLink &, const QuickLink &) = default;
};

// Which field of an existing link a new one would repeat.
enum class QuickLinkClash { None, Path, Name };

// The first existing link, in list order, that a new link would repeat; the
// path counts before the name of the same link.
struct QuickLinkDuplicate {
    QuickLinkClash clash = QuickLinkClash::None;
    QuickLink link;
};

// Reads and writes the quick links, listed in the order of "Quick Links
// Query". Every write is committed before it returns.
class QuickLinkRepository
{
public:
    explicit QuickLinkRepository(Database &db) : m_db(db) {}
    Q_DISABLE_COPY_MOVE(QuickLinkRepository)

    // Every link, in list order.
    [[nodiscard]] ReadResult<QList<QuickLink>> all() const;
    // One link; no value when it is no longer in the file.
    [[nodiscard]] ReadResult<QuickLink> byId(RecordId id) const;
    // The duplicate look-up by path and by name, in one pass, as adding needs
    // it: the first link in list order whose path is exactly `path` or whose
    // name is exactly `name` (case-sensitive, nothing trimmed).
    [[nodiscard]] ReadResult<QuickLinkDuplicate> findDuplicate(const QString &name, const QString &path) const;

    // Adds a link and sets link.id. No duplicate check: see findDuplicate().
    [[nodiscard]] WriteResult add(QuickLink &link);
    // Writes name and path of the link with identity link.id; fails when it
    // is gone.
    [[nodiscard]] WriteResult update(const QuickLink &link);
    [[nodiscard]] WriteResult remove(RecordId id);

private:
    Database &m_db;
};

} // namespace brevane::store
