#include "bench.h"

#include "scripteddesktop.h"

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The off-screen platform says so each time a window is raised.
    static const QtMessageHandler standard = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            standard(type, context, message);
    });
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    QStringList wanted = QApplication::arguments().mid(1);
    for (const auto &entry : brevane::bench::registry()) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromLatin1(entry.name)))
            continue;
        std::printf("== %s\n", entry.name);
        entry.fn();
    }
    brevane::bench::closeThreeYearFiles();
    // Of the whole run: the largest data set and window it made.
    std::printf("peak memory (resident) %.1f MB\n", brevane::bench::peakMemoryMb());
    return 0;
}
