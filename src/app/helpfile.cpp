#include "app/helpfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace brevane {

QString helpFilePath()
{
    const QString relative = QStringLiteral("Help File/index.html");
    const QString besideProgram = QDir(QCoreApplication::applicationDirPath()).filePath(relative);
    if (QFileInfo::exists(besideProgram))
        return besideProgram;
    const QString installed = QDir(QStringLiteral(BREVANE_DATADIR)).filePath(relative);
    if (QFileInfo::exists(installed))
        return installed;
    return besideProgram;
}

} // namespace brevane
