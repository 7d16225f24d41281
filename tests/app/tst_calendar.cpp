#include "agendafixture.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMenu>

using namespace brevane;
using namespace brevane::testing;

namespace {

const QColor kWhite{255, 255, 255};
const QColor kBlue{0, 0, 255};
const QColor kLightCyan{192, 255, 255};
const QColor kLightGreen{192, 255, 192};

QString title(const frmMain &window, const char *name)
{
    return window.findChild<QLabel *>(QLatin1String(name))->text();
}

QString shown(const QDate &date, const char *format)
{
    return QLocale(QLocale::English).toString(date, QLatin1String(format));
}

// Shows a month the way a user picks it: year, then month.
void pickMonth(frmMain &window, const QDate &month)
{
    window.findChild<QComboBox *>(QStringLiteral("cmbYear"))->setCurrentText(QString::number(month.year()));
    window.findChild<QComboBox *>(QStringLiteral("cmbMonth"))->setCurrentIndex(month.month() - 1);
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
        QTest::addColumn<QDate>("month");
        QTest::addColumn<int>("firstCell");
        QTest::addColumn<int>("days");
        QTest::newRow("June 2003 starts on Sunday") << QDate(2003, 6, 1) << 0 << 30;
        QTest::newRow("March 2003 starts on Saturday") << QDate(2003, 3, 1) << 6 << 31;
        QTest::newRow("February 1900") << QDate(1900, 2, 1) << 4 << 28;
        QTest::newRow("February 2000") << QDate(2000, 2, 1) << 2 << 29;
        QTest::newRow("February 2004") << QDate(2004, 2, 1) << 0 << 29;
        QTest::newRow("February 2100") << QDate(2100, 2, 1) << 1 << 28;
    }
    void monthGeometry()
    {
        QFETCH(QDate, month);
        QFETCH(int, firstCell);
        QFETCH(int, days);
        TestData data;
        frmMain window(data.db());
        window.load();
        pickMonth(window, month);
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
        QCOMPARE(title(window, "lblMonthTitle"), shown(month, "MMMM yyyy"));
    }

    void stepping_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QDate>("to");
        QTest::newRow("next month into a new year") << QDate(2003, 12, 12) << "cmdNextMonth" << QDate(2004, 1, 12);
        QTest::newRow("last month into the old year") << QDate(2004, 1, 12) << "cmdLastMonth" << QDate(2003, 12, 12);
        QTest::newRow("last year") << QDate(2004, 3, 12) << "mnuLastYear" << QDate(2003, 3, 12);
        QTest::newRow("next year") << QDate(2003, 2, 12) << "mnuNextYear" << QDate(2004, 2, 12);
        QTest::newRow("last month at the first month") << QDate(1900, 1, 12) << "mnuLastMonth" << QDate(1900, 1, 12);
        QTest::newRow("next month at the last month") << QDate(2100, 12, 12) << "mnuNextMonth" << QDate(2100, 12, 12);
        QTest::newRow("last year at 1900") << QDate(1900, 5, 12) << "mnuLastYear" << QDate(1900, 5, 12);
        QTest::newRow("next year at 2100") << QDate(2100, 5, 12) << "mnuNextYear" << QDate(2100, 5, 12);
    }
    void stepping()
    {
        QFETCH(QDate, from);
        QFETCH(QString, command);
        QFETCH(QDate, to);
        TestData data;
        frmMain window(data.db());
        window.load();
        QTest::mouseClick(cellOfDay(window, 12), Qt::LeftButton);
        pickMonth(window, from);
        run(window, command);
        QCOMPARE(title(window, "lblMonthTitle"), shown(to, "MMMM yyyy"));
        QCOMPARE(window.findChild<QComboBox *>(QStringLiteral("cmbMonth"))->currentText() + u' '
                     + window.findChild<QComboBox *>(QStringLiteral("cmbYear"))->currentText(),
                 shown(to, "MMMM yyyy"));
        // The selected day survives every step.
        QCOMPARE(cellOfDay(window, 12)->backColor(), kLightCyan);
        QCOMPARE(title(window, "lblAgendaTitle"), QStringLiteral("Tasks For: ") + shown(to, "MMMM d, yyyy"));
    }

    void selectedDayMissingFromShorterMonth()
    {
        TestData data;
        addTask(data, QDate(2003, 4, 30), QStringLiteral("Last of April"), QStringLiteral("9:00 AM"), QStringLiteral("9:00 AM"));
        frmMain window(data.db());
        window.load();
        QTest::mouseClick(cellOfDay(window, 31), Qt::LeftButton);
        run(window, QStringLiteral("cmdNextMonth"));
        QVERIFY(cellsWithBack(window, kLightCyan).isEmpty());
        QCOMPARE(title(window, "lblAgendaTitle"), QStringLiteral("Tasks For: April 31, 2003"));
        QCOMPARE(cellOfDay(window, 30)->foreColor(), QColor(255, 0, 0));
        const Grid *grid = agendaGrid(window);
        for (int row = 1; row < grid->rows(); ++row)
            QVERIFY(grid->textMatrix(row, 2).isEmpty());
        QTest::mouseClick(cellOfDay(window, 30), Qt::LeftButton);
        QCOMPARE(cellsWithBack(window, kLightCyan), QList<int>{cellOfDay(window, 30)->objectName().mid(6).toInt()});
        QCOMPARE(grid->textMatrix(rowOf(grid, QStringLiteral("9:00 AM")), 2), QStringLiteral("Last of April (to 9:00 AM)"));
    }

    void todayIsLightGreenOnlyInItsMonth()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        // Today wins over the selection colour.
        QCOMPARE(cellOfDay(window, 5)->backColor(), kLightGreen);
        QVERIFY(cellsWithBack(window, kLightCyan).isEmpty());

        QTest::mouseClick(cellOfDay(window, 10), Qt::LeftButton);
        QTest::mouseClick(dayCell(window, 0), Qt::LeftButton); // blank: March 2003 starts on Saturday
        QCOMPARE(cellOfDay(window, 5)->backColor(), kLightGreen);
        QCOMPARE(cellOfDay(window, 10)->backColor(), kLightCyan);
        run(window, QStringLiteral("cmdNextMonth"));
        QVERIFY(cellsWithBack(window, kLightGreen).isEmpty());
        pickMonth(window, QDate(2004, 3, 1));
        QVERIFY(cellsWithBack(window, kLightGreen).isEmpty());

        for (const char *command : {"cmdToday", "cmdToday2", "mnuToday"}) {
            run(window, QStringLiteral("cmdNextMonth"));
            run(window, QLatin1String(command));
            QCOMPARE(title(window, "lblAgendaTitle"), QStringLiteral("Tasks For: March 5, 2003"));
            QCOMPARE(cellOfDay(window, 5)->backColor(), kLightGreen);
        }
    }

    void navigateMenuPopsUp()
    {
        TestData data;
        frmMain window(data.db());
        window.load();
        for (const char *name : {"cmdDay10", "lblDay3", "lblMonthTitle", "lblMonthComboTitle", "lblYearComboTitle", "fraCalendar"}) {
            auto *widget = window.findChild<QWidget *>(QLatin1String(name));
            QVERIFY2(widget, name);
            data.desktop().menusPopped.clear();
            QTest::mouseRelease(widget, Qt::LeftButton, {}, QPoint(1, 1));
            QTest::mouseRelease(widget, Qt::RightButton, {}, QPoint(1, 1));
            // The right button's release only.
            QVERIFY2(data.desktop().menusPopped.size() == 1
                         && data.desktop().menusPopped.first()->objectName() == QLatin1String("mnuNavigate"), name);
        }
        for (QAction *action : data.desktop().menusPopped.first()->actions())
            QVERIFY(action->isSeparator() || action->isEnabled());
    }
};

BREVANE_TEST(CalendarTests)
#include "tst_calendar.moc"
