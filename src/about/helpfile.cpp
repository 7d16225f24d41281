#include "about/helpfile.h"

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
    // An installation: the data folder beside the program's bin folder (the
    // installation was moved), else the one it was built for.
    const QString besideBin = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/brevane-organizer/") + relative);
    if (QFileInfo::exists(besideBin))
        return QDir::cleanPath(besideBin);
    const QString installed = QDir(QStringLiteral(BREVANE_DATADIR)).filePath(relative);
    if (QFileInfo::exists(installed))
        return installed;
    return besideProgram;
}

} // namespace brevane
