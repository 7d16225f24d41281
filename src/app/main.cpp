#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/startup.h"
#include "core/organizer.h"
#include "platform/appicon.h"
#include "platform/qtdesktop.h"
#include "platform/windowaccessibility.h"
#include "store/database.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPointer>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct Arguments {
    QString database;
};

// Parses the command line; --help, --version and mistakes end the program
// here, before any window (or display) is needed.
Arguments parseArguments(const QCoreApplication &app)
{
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
        std::exit(2);
    }
    return {parser.isSet(databaseOption) ? parser.value(databaseOption) : QString()};
}

void describeProgram()
{
    QCoreApplication::setApplicationName(brevane::kProgramTitle);
    QCoreApplication::setApplicationVersion(brevane::kVersion);
}

} // namespace

int main(int argc, char *argv[])
{
    using namespace brevane;

    // --help and --version need no window, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "--help-all" || arg == "-v" || arg == "--version") {
            QCoreApplication commandLine(argc, argv);
            describeProgram();
            parseArguments(commandLine);
        }
    }

    QApplication app(argc, argv);
    describeProgram();
    const Arguments arguments = parseArguments(app);
    QApplication::setWindowIcon(appIcon());
    QApplication::setDesktopFileName(QStringLiteral("brevane-organizer"));

    QtDesktop realDesktop;
    setDesktop(&realDesktop);
    installWindowAccessibility();

    const QString path = arguments.database.isEmpty() ? store::Database::defaultPath() : arguments.database;
    std::unique_ptr<store::Database> db = openDataFileOrReport(path);
    if (!db)
        return 1;

    // The main window lives until the program ends; the start-up window hands
    // over to it and closes.
    std::unique_ptr<frmMain> mainWindow;
    auto *splash = new frmSplash(*db);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    // Queued, so that the start-up window is gone before the main window's
    // load shows any reminder.
    QObject::connect(
        splash, &frmSplash::mainWindowRequested, &app,
        [&mainWindow, &db] {
            mainWindow = std::make_unique<frmMain>(*db);
            mainWindow->load();
        },
        Qt::QueuedConnection);
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
