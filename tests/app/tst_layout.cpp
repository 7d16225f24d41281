#include "agendafixture.h"
#include "app/frmmain.h"

#include <QFontMetrics>

using namespace brevane;
using namespace brevane::testing;

namespace {

QRect inClient(const frmMain &window, const QWidget *widget)
{
    return QRect(widget->mapTo(window.centralWidget(), QPoint(0, 0)), widget->size());
}

template <typename T = QWidget>
T *named(const frmMain &window, const QString &name)
{
    return window.findChild<T *>(name);
}

} // namespace

// Where the main window puts its controls, at any size.
class LayoutTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void invariantsAtEverySize_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
        QTest::newRow("narrow and tall") << QSize(700, 1000);
        QTest::newRow("tiny") << QSize(120, 90);
    }
    void invariantsAtEverySize()
    {
        QFETCH(QSize, size);
        TestData data(QDate(2024, 3, 15));
        frmMain window(data.db());
        window.load();
        window.resize(size);
        QCoreApplication::processEvents();

        // The agenda and the calendar column meet without gap or overlap.
        const QRect agenda = inClient(window, agendaGrid(window));
        const QRect calendar = inClient(window, named(window, QStringLiteral("fraCalendar")));
        QVERIFY2(qAbs(agenda.right() + 1 - calendar.left()) <= 1,
                 qPrintable(QStringLiteral("agenda ends at %1, calendar starts at %2").arg(agenda.right() + 1).arg(calendar.left())));
        QCOMPARE(calendar.top(), agenda.top());
        QVERIFY(agendaGrid(window)->colWidth(2) > 0);

        // Every day cell stays usable and inside the calendar.
        for (int i = 0; i < 42; ++i) {
            const FlatButton *cell = dayCell(window, i);
            QVERIFY2(cell->height() >= 16, qPrintable(QStringLiteral("cell %1 is %2 px high").arg(i).arg(cell->height())));
            QVERIFY2(cell->geometry().bottom() < calendar.height(), "cells stay inside the calendar frame");
        }

        // The to-do list sits under the calendar, its buttons under it, all inside the window.
        const QRect todo = inClient(window, named(window, QStringLiteral("ToDo")));
        QVERIFY(todo.top() > calendar.bottom());
        for (const char *name : {"cmdAddToDoTask", "cmdEditToDoTask", "cmdDeleteToDoTask"}) {
            const QRect button = inClient(window, named(window, QLatin1String(name)));
            QVERIFY(button.top() > todo.bottom());
            QVERIFY2(button.bottom() < window.centralWidget()->height(), name);
        }

        // Nothing is squeezed to nothing, and captions fit.
        for (const char *name : {"fraQuickLinks", "Agenda", "lblAgendaTitle", "lblMonthTitle", "cmdLastMonth",
                                 "cmdToday", "cmdNextMonth", "ToDo"}) {
            const QWidget *widget = named(window, QLatin1String(name));
            QVERIFY2(widget->width() > 0 && widget->height() > 0, name);
        }
        for (const char *name : {"cmdContacts", "cmdNotes", "cmdQuickLinks", "cmdSearch", "cmdHelp"}) {
            const auto *button = named<FlatButton>(window, QLatin1String(name));
            QVERIFY2(button->width() >= button->fontMetrics().horizontalAdvance(button->text()), name);
        }
        QVERIFY(inClient(window, named(window, QStringLiteral("fraToolbar"))).right() < window.centralWidget()->width());
    }
};

BREVANE_TEST(LayoutTests)
#include "tst_layout.moc"
