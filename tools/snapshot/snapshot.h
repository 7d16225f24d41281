#pragma once

#include <QString>

#include <functional>
#include <vector>

class QWidget;

namespace brevane::store {
class Database;
}

// Each window group renders its own snapshots in its own file, registered with
// BREVANE_SNAPSHOT(name); main() runs them all on the sample data file.
namespace brevane::snapshot {

using SnapshotFn = std::function<bool(store::Database &)>;

struct Entry {
    const char *name;
    SnapshotFn fn;
};

inline std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}

struct Registrar {
    Registrar(const char *name, SnapshotFn fn) { registry().push_back({name, std::move(fn)}); }
};

// Renders a shown window to <output folder>/<name>.png; false when it failed.
bool save(QWidget *window, const QString &name);

} // namespace brevane::snapshot

#define BREVANE_SNAPSHOT(name) \
    static bool snapshot_##name(::brevane::store::Database &db); \
    static const ::brevane::snapshot::Registrar snapshotRegistrar_##name(#name, &snapshot_##name); \
    static bool snapshot_##name(::brevane::store::Database &db)
