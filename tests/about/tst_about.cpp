#include "about/frmabout.h"
#include "about/helpfile.h"
#include "testsupport.h"

#include <QAccessible>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

using namespace brevane;
using testing::TestData;

class AboutTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A dialog to screen readers; the home page link opens the help page from
    // the keyboard too; closed, the window is gone.
    void textsAndHomePage()
    {
        TestData data;
        QPointer<frmAbout> window = new frmAbout;
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QCOMPARE(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Dialog);
        auto *link = window->findChild<QLabel *>(QStringLiteral("lblWebsite"));
        link->setFocus(Qt::TabFocusReason);
        QTest::keyClick(link, Qt::Key_Return);
        QCOMPARE(data.desktop().documentsOpened, QStringList{helpFilePath()});
        QTest::mouseClick(window->findChild<QPushButton *>(QStringLiteral("cmdClose")), Qt::LeftButton);
        QTRY_VERIFY(window.isNull());
    }

    // The first tool found on the PATH is started; none found (a file that is
    // not executable does not count), or a start that fails, gives the message.
    void systemInformationTool_data()
    {
        QTest::addColumn<QStringList>("files"); // "+" marks an executable one
        QTest::addColumn<bool>("startWorks");
        QTest::addColumn<QString>("started");
        QTest::newRow("last choice") << QStringList{"+kinfocenter", "hardinfo2"} << true << "kinfocenter";
        QTest::newRow("none executable") << QStringList{"hardinfo2"} << true << QString();
        QTest::newRow("start fails") << QStringList{"+hardinfo"} << false << "hardinfo";
    }
    void systemInformationTool()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, startWorks);
        QFETCH(QString, started);
        TestData data;
        for (const QString &name : files) {
            QFile file(data.dir() + u'/' + QString(name).remove(u'+'));
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.setPermissions(name.startsWith(u'+') ? QFile::ReadUser | QFile::ExeUser : QFile::ReadUser));
        }
        const QByteArray savedPath = qgetenv("PATH");
        qputenv("PATH", data.dir().toLocal8Bit());
        data.desktop().setStartProgramResult(startWorks);
        frmAbout window;
        window.setAttribute(Qt::WA_DeleteOnClose, false);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        qputenv("PATH", savedPath);
        QCOMPARE(data.desktop().programsStarted,
                 started.isEmpty() ? QStringList() : QStringList{data.dir() + u'/' + started});
        QCOMPARE(data.desktop().messageTexts(), started.isEmpty() || !startWorks
                                                    ? QStringList{"System Information Is Unavailable At This Time"}
                                                    : QStringList());
    }
};

BREVANE_TEST(AboutTests)
#include "tst_about.moc"
