#include "calendar/calendarview.h"
#include "controls/flatbutton.h"
#include "testsupport.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>

using namespace brevane;
using testing::TestData;

namespace {

const QColor kRed{255, 0, 0};
const QColor kLightCyan{192, 255, 255};
const QColor kLightGreen{192, 255, 192};

FlatButton *dayCell(const CalendarView &view, int index)
{
    return view.findChild<FlatButton *>(QStringLiteral("cmdDay%1").arg(index));
}

// The cell showing a day number, or nullptr.
FlatButton *cellOfDay(const CalendarView &view, int day)
{
    for (int i = 0; i < 42; ++i) {
        if (dayCell(view, i)->text() == QString::number(day))
            return dayCell(view, i);
    }
    return nullptr;
}

QString shown(const QDate &date, const char *format)
{
    return QLocale(QLocale::English).toString(date, QLatin1String(format));
}

QString monthTitle(const CalendarView &view)
{
    return view.findChild<QLabel *>(QStringLiteral("lblMonthTitle"))->text();
}

// Shows a month the way a user picks it: year, then month.
void pickMonth(CalendarView &view, const QDate &month)
{
    view.findChild<QComboBox *>(QStringLiteral("cmbYear"))->setCurrentText(QString::number(month.year()));
    view.findChild<QComboBox *>(QStringLiteral("cmbMonth"))->setCurrentIndex(month.month() - 1);
}

// Runs a calendar command by the name of its button or menu entry.
void run(CalendarView &view, const QString &command)
{
    if (auto *button = view.findChild<FlatButton *>(command))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        view.findChild<QAction *>(command)->trigger();
}

QList<int> cellsWithBack(const CalendarView &view, const QColor &color)
{
    QList<int> cells;
    for (int i = 0; i < 42; ++i) {
        if (dayCell(view, i)->backColor() == color)
            cells << i;
    }
    return cells;
}

// A calendar on today (5 March 2003), shown as the window shows it.
struct Calendar {
    TestData data;
    CalendarView view;
    Calendar()
    {
        view.showDate(data.desktop().today());
        view.show();
    }
};

} // namespace

class CalendarTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void monthGeometry_data()
    {
        QTest::addColumn<QDate>("month");
        QTest::addColumn<int>("firstCell");
        QTest::addColumn<int>("days");
        QTest::newRow("June 2003 starts on Sunday") << QDate(2003, 6, 1) << 0 << 30;
        QTest::newRow("February 1900") << QDate(1900, 2, 1) << 4 << 28;
        QTest::newRow("February 2000") << QDate(2000, 2, 1) << 2 << 29;
    }
    void monthGeometry()
    {
        QFETCH(QDate, month);
        QFETCH(int, firstCell);
        QFETCH(int, days);
        Calendar calendar;
        pickMonth(calendar.view, month);
        for (int i = 0; i < 42; ++i) {
            const FlatButton *cell = dayCell(calendar.view, i);
            const int day = i - firstCell + 1;
            const bool isDay = day >= 1 && day <= days;
            QCOMPARE(cell->text(), isDay ? QString::number(day) : QString());
            // A blank cell is no day: neither the keyboard nor a screen reader meets it.
            QCOMPARE(cell->isVisible(), isDay);
        }
        QCOMPARE(monthTitle(calendar.view), shown(month, "MMMM yyyy"));
    }

    void stepping_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QDate>("to");
        QTest::newRow("next month into a new year") << QDate(2003, 12, 12) << "cmdNextMonth" << QDate(2004, 1, 12);
        QTest::newRow("last month into the old year") << QDate(2004, 1, 12) << "cmdLastMonth" << QDate(2003, 12, 12);
        QTest::newRow("last month at the first month") << QDate(1900, 1, 12) << "mnuLastMonth" << QDate(1900, 1, 12);
        QTest::newRow("next year at 2100") << QDate(2100, 5, 12) << "mnuNextYear" << QDate(2100, 5, 12);
        // The selected day stays within the shown month.
        QTest::newRow("31st into April") << QDate(2003, 3, 31) << "cmdNextMonth" << QDate(2003, 4, 30);
        QTest::newRow("31st back into February") << QDate(2004, 3, 31) << "cmdLastMonth" << QDate(2004, 2, 29);
        QTest::newRow("29 February into a common year") << QDate(2004, 2, 29) << "mnuNextYear" << QDate(2005, 2, 28);
    }
    void stepping()
    {
        QFETCH(QDate, from);
        QFETCH(QString, command);
        QFETCH(QDate, to);
        Calendar calendar;
        QTest::mouseClick(cellOfDay(calendar.view, from.day()), Qt::LeftButton);
        pickMonth(calendar.view, from);
        QSignalSpy shownDays(&calendar.view, &CalendarView::dayShown);
        run(calendar.view, command);
        QCOMPARE(monthTitle(calendar.view) + u'|' + calendar.view.findChild<QComboBox *>(QStringLiteral("cmbMonth"))->currentText()
                     + u' ' + calendar.view.findChild<QComboBox *>(QStringLiteral("cmbYear"))->currentText(),
                 shown(to, "MMMM yyyy|MMMM yyyy"));
        QCOMPARE(cellsWithBack(calendar.view, kLightCyan),
                 QList<int>{cellOfDay(calendar.view, to.day())->objectName().mid(6).toInt()});
        QCOMPARE(calendar.view.selectedDate(), to);
        // A step that cannot go further shows nothing new.
        QCOMPARE(shownDays.isEmpty() ? from : shownDays.first().first().toDate(), to);
    }

    void todayIsLightGreenOnlyInItsMonth()
    {
        Calendar calendar;
        CalendarView &view = calendar.view;
        QTest::mouseClick(cellOfDay(view, 10), Qt::LeftButton);
        QTest::mouseClick(dayCell(view, 0), Qt::LeftButton); // blank: March 2003 starts on Saturday
        QCOMPARE(cellsWithBack(view, kLightGreen) + cellsWithBack(view, kLightCyan), (QList<int>{10, 15}));
        pickMonth(view, QDate(2004, 3, 1));
        QVERIFY(cellsWithBack(view, kLightGreen).isEmpty());

        for (const char *command : {"cmdToday", "mnuToday"}) {
            run(view, QStringLiteral("cmdNextMonth"));
            run(view, QLatin1String(command));
            QCOMPARE(view.selectedDate(), QDate(2003, 3, 5));
            QCOMPARE(cellOfDay(view, 5)->backColor(), kLightGreen);
        }
    }

    void cellsDescribeWhatTheirColoursShow()
    {
        Calendar calendar;
        CalendarView &view = calendar.view;
        QTest::mouseClick(cellOfDay(view, 12), Qt::LeftButton);
        view.setTaskDays({5, 12});
        QCOMPARE((QList<QColor>{cellOfDay(view, 5)->foreColor(), cellOfDay(view, 6)->foreColor()}), (QList<QColor>{kRed, Qt::black}));
        const auto description = [&](int day) {
            return QAccessible::queryAccessibleInterface(cellOfDay(view, day))->text(QAccessible::Description);
        };
        QCOMPARE(description(5) + u'/' + description(12) + u'/' + description(13),
                 QStringLiteral("Wednesday, March 5, 2003, today, has tasks/Wednesday, March 12, 2003, selected, has tasks/"
                                "Thursday, March 13, 2003"));
        QVERIFY(QAccessible::queryAccessibleInterface(dayCell(view, 0))->state().invisible);
    }

    void navigateMenuPopsUp()
    {
        Calendar calendar;
        for (const char *name : {"cmdDay10", "lblDay3", "lblMonthTitle", "fraCalendar"}) {
            QWidget *widget = calendar.view.objectName() == QLatin1String(name)
                                  ? &calendar.view
                                  : calendar.view.findChild<QWidget *>(QLatin1String(name));
            QVERIFY2(widget, name);
            calendar.data.desktop().menusPopped.clear();
            QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(1, 1));
            QTest::mouseRelease(widget, Qt::RightButton, {}, QPoint(1, 1));
            QVERIFY2(calendar.data.desktop().menusPopped.size() == 1 // the right button's release only
                         && calendar.data.desktop().menusPopped.first() == calendar.view.navigateMenu(), name);
        }
    }
};

BREVANE_TEST(CalendarTests)
#include "tst_calendar.moc"
