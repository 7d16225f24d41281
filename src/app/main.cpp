#include "app/appicon.h"
#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/startup.h"
#include "core/organizer.h"
#include "platform/qtdesktop.h"
#include "store/database.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPointer>

#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    using namespace brevane;

    QApplication app(argc, argv);
    QApplication::setApplicationName(kProgramTitle);
    QApplication::setApplicationVersion(kVersion);
    QApplication::setWindowIcon(appIcon());
    QApplication::setDesktopFileName(QStringLiteral("brevane-organizer"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Brevane Organizer: calendar, agenda, to-do list and more."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption databaseOption(QStringLiteral("database"),
                                            QStringLiteral("Use FILE as the data file."),
                                            QStringLiteral("FILE"));
    parser.addOption(databaseOption);
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        return 2;
    }

    QtDesktop realDesktop;
    setDesktop(&realDesktop);

    const QString path = parser.isSet(databaseOption) ? parser.value(databaseOption) : store::Database::defaultPath();
    std::unique_ptr<store::Database> db = openDataFileOrReport(path);
    if (!db)
        return 1;

    // The main window lives until the program ends; the start-up window hands
    // over to it and closes.
    std::unique_ptr<frmMain> mainWindow;
    auto *splash = new frmSplash(*db);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(splash, &frmSplash::mainWindowRequested, &app, [&mainWindow, &db] {
        mainWindow = std::make_unique<frmMain>(*db);
        mainWindow->load();
    });
    QObject::connect(splash, &frmSplash::exitRequested, &app, [] { QApplication::exit(0); });
    // The start-up window closing is not the end: the main window follows.
    app.setQuitOnLastWindowClosed(false);
    splash->show();

    const int status = app.exec();
    mainWindow.reset();
    db.reset();
    setDesktop(nullptr);
    return status;
}
