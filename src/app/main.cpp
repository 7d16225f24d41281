#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/startup.h"
#include "core/organizer.h"
#include "interchange/transfer.h"
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
    // At most one of these: work without a window.
    QString importFile;
    QString calendarExport;
    QString contactsExport;
};

// The options that do their work and end the program without any window.
const char *const kTransferOptions[] = {"--import", "--export-calendar", "--export-contacts"};

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
    const QCommandLineOption importOption(
        QStringLiteral("import"),
        QStringLiteral("Import an iCalendar (.ics) or vCard (.vcf) file into the data file, without a window."),
        QStringLiteral("FILE"));
    const QCommandLineOption calendarOption(
        QStringLiteral("export-calendar"),
        QStringLiteral("Export the agenda, to-do list and notes to an iCalendar file (- for standard output)."),
        QStringLiteral("FILE"));
    const QCommandLineOption contactsOption(
        QStringLiteral("export-contacts"),
        QStringLiteral("Export the contacts to a vCard file (- for standard output)."), QStringLiteral("FILE"));
    parser.addOptions({importOption, calendarOption, contactsOption});
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.helpText()));
        std::exit(2);
    }
    const auto value = [&parser](const QCommandLineOption &option) {
        return parser.isSet(option) ? parser.value(option) : QString();
    };
    const Arguments arguments{value(databaseOption), value(importOption), value(calendarOption),
                              value(contactsOption)};
    if (int(parser.isSet(importOption)) + int(parser.isSet(calendarOption)) + int(parser.isSet(contactsOption)) > 1) {
        std::fprintf(stderr, "Use one of --import, --export-calendar and --export-contacts at a time.\n");
        std::exit(1);
    }
    return arguments;
}

void describeProgram()
{
    QCoreApplication::setApplicationName(brevane::kProgramTitle);
    QCoreApplication::setApplicationVersion(brevane::kVersion);
}

void printLines(std::FILE *stream, const QStringList &lines)
{
    for (const QString &line : lines)
        std::fprintf(stream, "%s\n", qPrintable(line));
}

// Imports or exports one file and returns the program's exit status. Says
// what it did in one line; what went wrong goes to standard error.
int transfer(const Arguments &arguments)
{
    using namespace brevane;
    const QString path = arguments.database.isEmpty() ? store::Database::defaultPath() : arguments.database;
    QString error;
    const std::unique_ptr<store::Database> db = store::Database::open(path, &error);
    if (!db) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (!arguments.importFile.isEmpty()) {
        const interchange::ImportResult result =
            interchange::importFile(*db, arguments.importFile, QDate::currentDate());
        printLines(stderr, result.details);
        if (!result.ok()) {
            std::fprintf(stderr, "%s\n", qPrintable(result.error));
            return 1;
        }
        std::printf("%s\n", qPrintable(result.summary()));
        return 0;
    }
    const bool calendar = !arguments.calendarExport.isEmpty();
    const QString target = calendar ? arguments.calendarExport : arguments.contactsExport;
    const interchange::ExportResult result = calendar
                                                 ? interchange::exportCalendar(*db, QDateTime::currentDateTimeUtc())
                                                 : interchange::exportContacts(*db);
    if (!result.ok) {
        std::fprintf(stderr, "%s\n", qPrintable(result.error));
        return 1;
    }
    if (const QString problem = interchange::writeExportFile(target, result.data); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    printLines(stderr, result.details);
    // Written to standard output, the file leaves no room there for the summary.
    std::fprintf(target == QLatin1String("-") ? stderr : stdout, "%s\n", qPrintable(result.summary));
    return 0;
}

bool startsWithAny(const QByteArray &arg)
{
    for (const char *option : kTransferOptions) {
        if (arg == option || arg.startsWith(QByteArray(option) + '='))
            return true;
    }
    return false;
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
    // Imports and exports are for scripts: no window, so no display either.
    for (int i = 1; i < argc; ++i) {
        if (startsWithAny(QByteArray(argv[i]))) {
            QCoreApplication commandLine(argc, argv);
            describeProgram();
            return transfer(parseArguments(commandLine));
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
    QObject::connect(splash, &frmSplash::exitRequested, &app, [](int status) { QApplication::exit(status); });
    // The start-up window closing is not the end: the main window follows.
    app.setQuitOnLastWindowClosed(false);
    splash->show();

    const int status = app.exec();
    mainWindow.reset();
    db.reset();
    setDesktop(nullptr);
    return status;
}
