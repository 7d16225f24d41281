#include "agendafixture.h"
#include "app/frmmain.h"
#include "controls/flatbutton.h"
#include "platform/unsavedchanges.h"
#include "store/names.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSqlQuery>

using namespace brevane;
using namespace brevane::testing;
namespace names = store::names;

namespace {

bool setTrayOption(TestData &data, const QString &value)
{
    return QSqlQuery(data.db().connection())
        .exec(QStringLiteral("UPDATE \"Options\" SET \"%1\" = '%2'").arg(names::options::MinimizeToSystemTray, value));
}

store::RecordId addQuickLink(TestData &data, const QString &name, const QString &path)
{
    return data.insert(names::QuickLinks, {{names::quicklinks::ProgramName, name}, {names::quicklinks::ProgramPath, path}});
}

// "Caption|..." for a list of entries, "—" for a separator; hidden entries in brackets.
QString entries(const QList<QAction *> &actions)
{
    QStringList list;
    for (const QAction *action : actions) {
        const QString text = action->isSeparator() ? QStringLiteral("—") : action->text().remove(u'&');
        list << (action->isVisible() ? text : u'[' + text + u']');
    }
    return list.join(u'|');
}

template <typename T> T *child(const frmMain &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

} // namespace

class MainFrameTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The title keeps the start date; Help opens the help page; Exit closes the window.
    void frame()
    {
        TestData data(QDate(2003, 3, 5));
        frmMain window(data.db());
        window.load();
        data.desktop().setToday(QDate(2003, 3, 6));
        window.reloadQuickLinks();
        QCOMPARE(window.windowTitle(), QStringLiteral("Brevane Organizer - March 5, 2003"));

        // Dividers are separators to a screen reader, never buttons.
        for (const char *name : {"cmdDivider1", "cmdDivider2", "cmdDivider3"}) {
            auto *divider = child<QWidget>(window, name);
            QVERIFY2(divider && divider->isVisible() && !qobject_cast<QAbstractButton *>(divider), name);
            QCOMPARE(QAccessible::queryAccessibleInterface(divider)->role(), QAccessible::Separator);
        }

        QTest::mouseClick(child<FlatButton>(window, "cmdHelp"), Qt::LeftButton);
        child<QAction>(window, "mnuHelpTopics")->trigger();
        child<QAction>(window, "mnuSystemTrayHelp")->trigger();
        QCOMPARE(data.desktop().documentsOpened.size(), 3);
        QVERIFY(data.desktop().documentsOpened.first().endsWith(QStringLiteral("Help File/index.html")));
        child<QAction>(window, "mnuExit")->trigger();
        QVERIFY(!window.isVisible());
    }

    // Box and tray submenu list links by name; each entry runs its own link; failures are reported.
    void quickLinks()
    {
        TestData data;
        addQuickLink(data, QStringLiteral("editor"), QStringLiteral("/bin/first"));
        const auto calc = addQuickLink(data, QStringLiteral("Calculator"), QStringLiteral("/usr/bin/calc"));
        const auto second = addQuickLink(data, QStringLiteral("editor"), QStringLiteral("/bin/second"));
        frmMain window(data.db());
        window.load();
        auto *box = child<QComboBox>(window, "cmbQuickLinks");
        QVERIFY2(box, "cmbQuickLinks");
        QCOMPARE(box->count(), 6); // the two commands, the dash line, then the links by name
        QCOMPARE(box->itemText(3) + u'|' + box->itemText(4) + u'|' + box->itemText(5), QStringLiteral("Calculator|editor|editor"));
        QCOMPARE(box->currentIndex(), 0);
        auto *sys = child<QMenu>(window, "mnuSysQuickLinks");
        QCOMPARE(entries(sys->actions()), QStringLiteral("[ ]|Calculator|editor|editor"));

        Q_EMIT box->activated(2); // choosing the dash line or the first entry does nothing
        Q_EMIT box->activated(0);
        box->setCurrentIndex(5);
        Q_EMIT box->activated(5);
        QCOMPARE(box->currentIndex(), 0);
        child<QAction>(window, "mnuSysQuickLinksList2")->trigger();
        QCOMPARE(data.desktop().programsStarted, (QStringList{QStringLiteral("/bin/second"), QStringLiteral("/bin/first")}));

        store::RecordSet links(data.db(), names::QuickLinks); // the tray submenu follows a reload
        QVERIFY(links.moveToRecord(calc) && links.deleteCurrent().ok);
        window.reloadQuickLinks();
        QCOMPARE(entries(sys->actions()), QStringLiteral("[ ]|editor|editor"));

        data.desktop().setStartProgramResult(false);
        Q_EMIT box->activated(3);
        QVERIFY(links.moveToRecord(second) && links.deleteCurrent().ok); // gone behind the box's back
        Q_EMIT box->activated(4);
        QCOMPARE(data.desktop().messageTexts(),
                 (QStringList{QStringLiteral("'/bin/first' is not a valid path.  The program cannot be run."),
                              QStringLiteral("There was an error trying to run 'editor'.")}));
        QCOMPARE(box->currentIndex(), 0);
    }

    // Preferences tell the window (the icon itself is the tray's test); the icon goes with the window.
    void traySettingChanged()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        QVERIFY(setTrayOption(data, QStringLiteral("True")));
        window.settingsChanged();
        QVERIFY(data.desktop().isTrayIconShown());
        window.close();
        QVERIFY2(!data.desktop().isTrayIconShown(), "the icon goes with the window");
    }

    // However the program ends, unsaved typing in an open window gets one question.
    void exitAsksAboutUnsavedTyping_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("unsaved");
        QTest::addColumn<bool>("answerYes");
        for (const char *how : {"close box", "mnuExit", "mPopExit"}) {
            QTest::addRow("%s, nothing typed", how) << how << false << false;
            QTest::addRow("%s, typed, answered No", how) << how << true << false;
            QTest::addRow("%s, typed, answered Yes", how) << how << true << true;
        }
    }
    void exitAsksAboutUnsavedTyping()
    {
        QFETCH(QString, how);
        QFETCH(bool, unsaved);
        QFETCH(bool, answerYes);
        struct Typing : QWidget, UnsavedChanges {
            bool typed = false;
            bool hasUnsavedChanges() const override { return typed; }
        };
        TestData data;
        frmMain window(data.db());
        window.load();
        Typing other;
        other.typed = unsaved;
        other.show();
        data.desktop().queueAnswer(answerYes ? Desktop::Answer::Yes : Desktop::Answer::No);
        if (how == QLatin1String("close box"))
            window.close();
        else
            child<QAction>(window, qPrintable(how))->trigger();
        QCOMPARE(data.desktop().messageTexts(),
                 unsaved ? QStringList{QStringLiteral("Some windows have changes that are not saved.  Exit anyway?")}
                         : QStringList{});
        QCOMPARE(window.isVisible(), unsaved && !answerYes);
    }

    void showAgendaTaskMovesTheCalendar()
    {
        TestData data(QDate(2003, 3, 5));
        const store::RecordId id = addTask(data, QDate(2004, 7, 9), QStringLiteral("Trip"), QStringLiteral("10:00 AM"),
                                           QStringLiteral("11:00 AM"));
        frmMain window(data.db());
        Grid *grid = loaded(window);
        // Of two tasks with one start the grid shows the later; the earlier is not shown, not gone.
        const store::RecordId later = addTask(data, QDate(2004, 7, 9), QStringLiteral("Ferry"),
                                              QStringLiteral("10:00 AM"), QStringLiteral("11:00 AM"));
        QCOMPARE(window.showAgendaTask(id), Navigation::Shown::NotShown);
        QCOMPARE(window.showAgendaTask(later), Navigation::Shown::Selected);
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblAgendaTitle"))->text(),
                 QStringLiteral("Tasks For: July 9, 2004"));
        QCOMPARE(grid->row(), rowOf(grid, QStringLiteral("10:00 AM")));
        QVERIFY(child<QAction>(window, "mnuEditAgendaTask")->isEnabled());
        QVERIFY(window.showAgendaTask(later + 1) == Navigation::Shown::Gone && window.showToDoItem(id) == Navigation::Shown::Gone);
        window.showDay(QDate(2003, 4, 30));
        QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblAgendaTitle"))->text(),
                 QStringLiteral("Tasks For: April 30, 2003"));
    }
};

BREVANE_TEST(MainFrameTests)
#include "tst_mainframe.moc"
