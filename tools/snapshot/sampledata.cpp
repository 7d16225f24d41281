#include "sampledata.h"

#include "store/database.h"
#include "store/names.h"
#include "store/recordset.h"

#include <cstdio>

namespace brevane::snapshot {

namespace names = store::names;

namespace {

void add(store::Database &db, const QString &table, const QList<std::pair<QString, QString>> &fields)
{
    store::RecordSet set(db, table);
    set.addNew();
    for (const auto &[name, value] : fields)
        set.setField(name, value);
    if (const store::WriteResult result = set.update(); !result)
        std::fprintf(stderr, "sample data: %s\n", qPrintable(result.error));
}

} // namespace

void fillSampleData(store::Database &db)
{
    namespace ql = names::quicklinks;
    add(db, names::QuickLinks, {{ql::ProgramName, QStringLiteral("Text Editor")}, {ql::ProgramPath, QStringLiteral("/usr/bin/gedit")}});
    add(db, names::QuickLinks, {{ql::ProgramName, QStringLiteral("Calculator")}, {ql::ProgramPath, QStringLiteral("/usr/bin/gnome-calculator")}});
    add(db, names::QuickLinks, {{ql::ProgramName, QStringLiteral("Web Browser")}, {ql::ProgramPath, QStringLiteral("/usr/bin/firefox")}});
}

void setPasswordRequired(store::Database &db, bool required)
{
    store::RecordSet options(db, names::Options);
    options.moveFirst();
    options.edit();
    options.setField(names::options::RequirePassword, required ? QStringLiteral("True") : QStringLiteral("False"));
    if (const store::WriteResult result = options.update(); !result)
        std::fprintf(stderr, "sample data: %s\n", qPrintable(result.error));
}

} // namespace brevane::snapshot
