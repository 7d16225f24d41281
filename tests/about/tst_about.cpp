#include "about/frmabout.h"
#include "about/helpfile.h"
#include "testsupport.h"

#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using namespace brevane;
using testing::TestData;

namespace {

// Puts PATH back however the test ends.
struct PathOverride {
    explicit PathOverride(const QString &path) : m_saved(qgetenv("PATH")) { qputenv("PATH", path.toLocal8Bit()); }
    ~PathOverride() { qputenv("PATH", m_saved); }
    Q_DISABLE_COPY_MOVE(PathOverride)

private:
    QByteArray m_saved;
};

QString labelText(const QWidget *window, const char *name)
{
    const auto *label = window->findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

} // namespace

class AboutTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void textsAndVersion()
    {
        TestData data;
        QPointer<frmAbout> window = new frmAbout;
        window->show();
        QCOMPARE(window->windowTitle(), QStringLiteral("About"));
        QCOMPARE(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Dialog);
        QVERIFY(!window->isModal());
        QCOMPARE(labelText(window, "lblTitle"), QStringLiteral("Brevane Organizer"));
        QCOMPARE(labelText(window, "lblVersion"), QStringLiteral("Version 4.0"));
        QCOMPARE(labelText(window, "lblDescription"),
                 QStringLiteral("Brevane Organizer is an easy-to-use PIM that will keep track of daily events in an "
                                "easy-to-use agenda and other events in the to-do list.  Additional features include "
                                "notes, a detailed contact list and quick links.  "));
        QCOMPARE(window->findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->text(),
                 QStringLiteral("&System Info..."));
        QVERIFY(!window->findChild<QLabel *>(QStringLiteral("picIcon"))->pixmap().isNull());
        // Closed, it is gone; the next one starts afresh.
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmdClose")), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
    }

    // The link is reached and opened from the keyboard too.
    void homePageOpensTheHelpPage()
    {
        TestData data;
        frmAbout window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        auto *link = window.findChild<QLabel *>(QStringLiteral("lblWebsite"));
        link->setFocus(Qt::TabFocusReason);
        QTest::keyClick(link, Qt::Key_Return);
        QCOMPARE(data.desktop().documentsOpened, QStringList{helpFilePath()});
        QVERIFY(helpFilePath().endsWith(QLatin1String("Help File/index.html")));
        QVERIFY(data.desktop().messages.isEmpty());
    }

    // The first tool found on the PATH is started; none found, or one that
    // fails to start, gives the message.
    void systemInformationTool_data()
    {
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<QStringList>("otherFiles"); // present, not executable
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QString>("started");
        QTest::newRow("all three") << QStringList{QStringLiteral("kinfocenter"), QStringLiteral("hardinfo"),
                                                  QStringLiteral("hardinfo2")}
                                   << QStringList() << true << QStringLiteral("hardinfo2");
        QTest::newRow("second choice") << QStringList{QStringLiteral("kinfocenter"), QStringLiteral("hardinfo")}
                                       << QStringList() << true << QStringLiteral("hardinfo");
        QTest::newRow("last choice") << QStringList{QStringLiteral("kinfocenter")} << QStringList() << true
                                     << QStringLiteral("kinfocenter");
        QTest::newRow("not executable") << QStringList() << QStringList{QStringLiteral("hardinfo2")} << true
                                        << QString();
        QTest::newRow("none") << QStringList() << QStringList() << true << QString();
        QTest::newRow("start fails") << QStringList{QStringLiteral("hardinfo")} << QStringList() << false
                                     << QStringLiteral("hardinfo");
    }
    void systemInformationTool()
    {
        QFETCH(QStringList, executables);
        QFETCH(QStringList, otherFiles);
        QFETCH(bool, startWorks);
        QFETCH(QString, started);
        TestData data;
        QDir bin(data.dir());
        for (const QString &name : executables + otherFiles) {
            QFile file(bin.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
            file.close();
            if (executables.contains(name))
                QVERIFY(file.setPermissions(file.permissions() | QFile::ExeUser));
        }
        PathOverride path(data.dir());
        data.desktop().setStartProgramResult(startWorks);
        frmAbout window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        window.show();
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        QCOMPARE(data.desktop().programsStarted,
                 started.isEmpty() ? QStringList() : QStringList{bin.filePath(started)});
        const bool shown = started.isEmpty() || !startWorks;
        QCOMPARE(data.desktop().messageTexts(),
                 shown ? QStringList{QStringLiteral("System Information Is Unavailable At This Time")} : QStringList());
    }
};

BREVANE_TEST(AboutTests)
#include "tst_about.moc"
