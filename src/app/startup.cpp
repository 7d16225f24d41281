#include "app/startup.h"

#include "platform/desktop.h"

#include <cstdio>

namespace brevane {

std::unique_ptr<store::Database> openDataFileOrReport(const QString &path, store::Database::Access access)
{
    QString error;
    std::unique_ptr<store::Database> db = store::Database::open(path, &error, access);
    if (!db) {
        std::fprintf(stderr, "brevane-organizer: %s\n", qPrintable(error));
        desktop().message(nullptr, error, Desktop::Icon::Critical);
    }
    return db;
}

} // namespace brevane
