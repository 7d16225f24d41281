#include "about/systeminfo.h"

#include <QStandardPaths>

namespace brevane {

const QStringList &systemInformationTools()
{
    static const QStringList tools{QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                                   QStringLiteral("kinfocenter")};
    return tools;
}

QString findSystemInformationTool()
{
    // Looked up afresh each time: a tool installed while the program runs
    // is found on the next click.
    for (const QString &tool : systemInformationTools()) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty())
            return path;
    }
    return {};
}

} // namespace brevane
