#include "agendafixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

using namespace brevane;
using namespace brevane::testing;

namespace {

const QColor kWhite{255, 255, 255};
const QColor kBlue{0, 0, 255};
const QColor kBlack{0, 0, 0};
const QColor kRed{255, 0, 0};
const QColor kLightCyan{192, 255, 255};
const QColor kLightGreen{192, 255, 192};

QString title(const frmMain &window, const char *name)
{
    return window.findChild<QLabel *>(QLatin1String(name))->text();
}

// Shows a month the way a user picks it: year, then month.
void pickMonth(frmMain &window, int month, int year)
{
    window.findChild<QComboBox *>(QStringLiteral("cmbYear"))->setCurrentText(QString::number(year));
    window.findChild<QComboBox *>(QStringLiteral("cmbMonth"))->setCurrentIndex(month - 1);
}

// Runs a calendar command by the name of its button or menu entry.
void run(frmMain &window, const QString &command)
{
    if (auto *button = window.findChild<FlatButton *>(command))
        QTest::mouseClick(button, Qt::LeftButton);
    else
        window.findChild<QAction *>(command)->trigger();
}

QList<int> cellsWithBack(const frmMain &window, const QColor &color)
{
    QList<int> cells;
    for (int i = 0; i < 42; ++i) {
        if (dayCell(window, i)->backColor() == color)
            cells << i;
    }
    return cells;
}

} // namespace

class CalendarTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void monthGeometry_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("firstCell");
        QTest::addColumn<int>("days");
        QTest::newRow("June 2003 starts on Sunday") << 2003 << 6 << 0 << 30;
        QTest::newRow("March 2003 starts on Saturday") << 2003 << 3 << 6 << 31;
        QTest::newRow("February 1900") << 1900 << 2 << 4 << 28;
        QTest::newRow("February 2000") << 2000 << 2 << 2 << 29;
        QTest::newRow("February 2004") << 2004 << 2 << 0 << 29;
        QTest::newRow("February 2100") << 2100 << 2 << 1 << 28;
    }
    void monthGeometry()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, firstCell);
        QFETCH(int, days);
        TestData data(QDate(2003, 3, 5));
        frmMain window(data.db());
        window.load();
        pickMonth(window, month, year);

        for (int i = 0; i < 42; ++i) {
            const FlatButton *cell = dayCell(window, i);
            const int day = i - firstCell + 1;
            const bool isDay = day >= 1 && day <= days;
            QCOMPARE(cell->text(), isDay ? QString::number(day) : QString());
            QCOMPARE(cell->highlightColor(), isDay ? kBlue : kWhite);
            QCOMPARE(cell->shadowColor(), isDay ? kBlue : kWhite);
            if (!isDay)
                QCOMPARE(cell->backColor(), kWhite);
        }
        QCOMPARE(title(window, "lblMonthTitle"), QLocale(QLocale::English).monthName(month) + u' ' + QString::number(year));
        QCOMPARE(window.shownMonthIndex, month - 1);
        QCOMPARE(window.shownYear, year);
    }

    void stepping_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("expectedMonth");
        QTest::addColumn<int>("expectedYear");
        QTest::newRow("next month into a new year") << 12 << 2003 << "cmdNextMonth" << 1 << 2004;
        QTest::newRow("last month into the old year") << 1 << 2004 << "cmdLastMonth" << 12 << 2003;
        QTest::newRow("menu next month") << 6 << 2003 << "mnuNextMonth" << 7 << 2003;
        QTest::newRow("menu last month") << 6 << 2003 << "mnuLastMonth" << 5 << 2003;
        QTest::newRow("last year") << 3 << 2004 << "mnuLastYear" << 3 << 2003;
        QTest::newRow("next year") << 2 << 2003 << "mnuNextYear" << 2 << 2004;
        QTest::newRow("last month at the first month") << 1 << 1900 << "cmdLastMonth" << 1 << 1900;
        QTest::newRow("next month at the last month") << 12 << 2100 << "mnuNextMonth" << 12 << 2100;
        QTest::newRow("last year at 1900") << 5 << 1900 << "mnuLastYear" << 5 << 1900;
        QTest::newRow("next year at 2100") << 5 << 2100 << "mnuNextYear" << 5 << 2100;
    }
    void stepping()
    {
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(QString, command);
        QFETCH(int, expectedMonth);
        QFETCH(int, expectedYear);
        TestData data(QDate(2003, 3, 5));
        frmMain window(data.db());
        window.load();
        QTest::mouseClick(cellOfDay(window, 12), Qt::LeftButton);
        pickMonth(window, month, year);

        run(window, command);
        const QString monthName = QLocale(QLocale::English).monthName(expectedMonth);
        QCOMPARE(title(window, "lblMonthTitle"), monthName + u' ' + QString::number(expectedYear));
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("cmbMonth"))->currentText(), monthName);
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("cmbYear"))->currentText(), QString::number(expectedYear));
        QCOMPARE(window.shownMonthIndex, expectedMonth - 1);
        QCOMPARE(window.shownYear, expectedYear);
        // The selected day survives every step.
        QCOMPARE(window.selectedDay, 12);
        QCOMPARE(cellOfDay(window, 12)->backColor(), kLightCyan);
        QCOMPARE(title(window, "lblAgendaTitle"),
                 QStringLiteral("Tasks For: %1 12, %2").arg(monthName).arg(expectedYear));
    }

    void selectedDayMissingFromShorterMonth()
    {
        TestData data(QDate(2003, 3, 5));
        addTask(data, QDate(2003, 4, 30), QStringLiteral("Last of April"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        QTest::mouseClick(cellOfDay(window, 31), Qt::LeftButton);
        run(window, QStringLiteral("cmdNextMonth"));

        QVERIFY(cellsWithBack(window, kLightCyan).isEmpty());
        QCOMPARE(title(window, "lblAgendaTitle"), QStringLiteral("Tasks For: April 31, 2003"));
        const Grid *grid = agendaGrid(window);
        for (int row = 1; row < grid->rows(); ++row)
            QVERIFY(grid->textMatrix(row, 2).isEmpty());

        QTest::mouseClick(cellOfDay(window, 30), Qt::LeftButton);
        QCOMPARE(window.selectedDay, 30);
        QCOMPARE(cellsWithBack(window, kLightCyan), QList<int>{cellOfDay(window, 30)->objectName().mid(6).toInt()});
        QCOMPARE(grid->textMatrix(rowOf(grid, QStringLiteral("9:00 AM")), 2), QStringLiteral("Last of April (to 9:00 AM)"));
    }

    void todayIsLightGreenOnlyInItsMonth()
    {
        TestData data(QDate(2003, 3, 5));
        frmMain window(data.db());
        window.load();
        // Today wins over the selection colour.
        QCOMPARE(cellOfDay(window, 5)->backColor(), kLightGreen);
        QVERIFY(cellsWithBack(window, kLightCyan).isEmpty());

        QTest::mouseClick(cellOfDay(window, 10), Qt::LeftButton);
        QTest::mouseClick(dayCell(window, 0), Qt::LeftButton); // blank: March 2003 starts on Saturday
        QCOMPARE(window.selectedDay, 10);
        QCOMPARE(cellOfDay(window, 5)->backColor(), kLightGreen);
        QCOMPARE(cellOfDay(window, 10)->backColor(), kLightCyan);

        run(window, QStringLiteral("cmdNextMonth"));
        QVERIFY(cellsWithBack(window, kLightGreen).isEmpty());
        pickMonth(window, 3, 2004);
        QVERIFY(cellsWithBack(window, kLightGreen).isEmpty());

        for (const char *command : {"cmdToday", "cmdToday2", "mnuToday"}) {
            run(window, QStringLiteral("cmdNextMonth"));
            run(window, QLatin1String(command));
            QCOMPARE(window.selectedDay, 5);
            QCOMPARE(title(window, "lblMonthTitle"), QStringLiteral("March 2003"));
            QCOMPARE(cellOfDay(window, 5)->backColor(), kLightGreen);
        }
    }

    void taskDaysAreRed()
    {
        TestData data(QDate(2003, 3, 5));
        addTask(data, QDate(2003, 6, 1), QStringLiteral("First"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        addTask(data, QDate(2003, 6, 15), QStringLiteral("Mid"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        addTask(data, QDate(2004, 6, 20), QStringLiteral("Next year"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        addTask(data, QDate(2003, 7, 21), QStringLiteral("Next month"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        pickMonth(window, 6, 2003);
        QList<int> red;
        for (int i = 0; i < 42; ++i) {
            if (dayCell(window, i)->foreColor() == kRed)
                red << i;
            else
                QCOMPARE(dayCell(window, i)->foreColor(), kBlack);
        }
        QCOMPARE(red, (QList<int>{0, 14})); // June 2003 starts on Sunday
    }

    void layout_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1280x800") << QSize(1280, 800);
        QTest::newRow("smallest") << QSize(1, 1);
    }
    void layout()
    {
        QFETCH(QSize, size);
        TestData data;
        frmMain window(data.db());
        window.load();
        window.resize(size);
        QApplication::processEvents();
        const Grid *grid = agendaGrid(window);
        const auto *frame = window.findChild<QWidget *>(QStringLiteral("fraCalendar"));
        QCOMPARE(grid->x() + grid->width(), frame->x());
        QCOMPARE(grid->y(), frame->y());
        QVERIFY(grid->width() > 0 && grid->height() > 0 && frame->width() > 0 && frame->height() > 0);
        for (int i = 0; i < 42; ++i) {
            const FlatButton *cell = dayCell(window, i);
            const QWidget *weekday = window.findChild<QWidget *>(QStringLiteral("lblDay%1").arg(i % 7));
            QCOMPARE(cell->width(), weekday->width());
            QCOMPARE(cell->x(), weekday->x());
            QCOMPARE(cell->y(), dayCell(window, i - i % 7)->y());
            QVERIFY(cell->height() >= 16);
        }
        // Nothing hides the task column, however narrow the window.
        QVERIFY(grid->colWidth(2) > 0);
        const auto *today = window.findChild<QWidget *>(QStringLiteral("cmdToday"));
        QCOMPARE(today->y(), dayCell(window, 41)->y() + dayCell(window, 41)->height() + 4);
    }

    void navigateMenuPopsUp_data()
    {
        QTest::addColumn<QString>("control");
        QTest::newRow("day cell") << "cmdDay10";
        QTest::newRow("blank cell") << "cmdDay41";
        QTest::newRow("weekday") << "lblDay3";
        QTest::newRow("month title") << "lblMonthTitle";
        QTest::newRow("month label") << "lblMonthComboTitle";
        QTest::newRow("year label") << "lblYearComboTitle";
        QTest::newRow("frame") << "fraCalendar";
    }
    void navigateMenuPopsUp()
    {
        QFETCH(QString, control);
        TestData data;
        frmMain window(data.db());
        window.load();
        auto *widget = window.findChild<QWidget *>(control);
        QVERIFY2(widget, qPrintable(control));
        QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(1, 1));
        QVERIFY(data.desktop().menusPopped.isEmpty());
        QTest::mouseRelease(widget, Qt::RightButton, {}, QPoint(1, 1));
        QCOMPARE(data.desktop().menusPopped.size(), 1);
        QCOMPARE(data.desktop().menusPopped.first()->objectName(), QStringLiteral("mnuNavigate"));
        for (QAction *action : data.desktop().menusPopped.first()->actions())
            QVERIFY(action->isSeparator() || action->isEnabled());
    }
};

BREVANE_TEST(CalendarTests)
#include "tst_calendar.moc"
