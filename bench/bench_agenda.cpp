// Day clicks, month changes and start-up on the three-year data sets: what a
// click costs must follow what the agenda shows, not how many tasks the file
// holds. "agenda" runs 1,000, 100,000 and 1,000,000 tasks (the last file takes
// a while to make); "startup" times the main window's first paint.

#include "bench.h"

#include "app/frmmain.h"
#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "scripteddesktop.h"
#include "store/agendarepository.h"
#include "store/database.h"

#include <QAction>
#include <QApplication>
#include <QPaintEvent>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

using namespace brevane;

// Inside the three years, in a month of the usual share of tasks.
const QDate kToday(2026, 6, 15);
constexpr int kClicks = 101;
constexpr int kMonthSteps = 41;
constexpr int kStepsPerTurn = 10;
constexpr int kStarts = 11;

FlatButton *cellOfDay(const frmMain &window, int day)
{
    for (int i = 0; i < 42; ++i) {
        auto *cell = window.findChild<FlatButton *>(QStringLiteral("cmdDay%1").arg(i));
        if (cell->text() == QString::number(day))
            return cell;
    }
    return nullptr;
}

// Notes that a widget was painted.
class PaintWatch final : public QObject
{
public:
    using QObject::QObject;
    Q_DISABLE_COPY_MOVE(PaintWatch)
    bool painted = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// A small file whose clicked days are as full as those of the million-task
// file: 48 tasks, one on every half hour, on each day of June 2026, and
// nothing else. Against it a day click shows what the file's size costs,
// apart from what a full day costs to draw.
store::Database *fullDaysFile()
{
    static QTemporaryDir dir;
    static std::shared_ptr<store::Database> db;
    if (db)
        return db.get();
    QString error;
    db = store::Database::open(dir.filePath(QStringLiteral("full-days.sqlite")), &error);
    QList<store::AgendaTask> tasks;
    for (int day = 1; day <= 30; ++day) {
        for (int slot = 0; slot < 48; ++slot) {
            store::AgendaTask task;
            task.day = day;
            task.month = kToday.month();
            task.year = kToday.year();
            task.start = QTime(slot / 2, slot % 2 * 30);
            task.end = task.start.addSecs(30 * 60);
            task.text = QStringLiteral("Project review %1").arg(day * 48 + slot);
            task.category = QStringLiteral("Business");
            tasks << task;
        }
    }
    if (!db || !store::AgendaRepository(*db).addAll(tasks)) {
        std::fprintf(stderr, "no file of full days: %s\n", qPrintable(error));
        db.reset();
    }
    return db.get();
}

// A main window on one of the files, with the times measured on it.
struct Subject {
    QByteArray of;
    std::unique_ptr<frmMain> window;
    std::vector<double> before;
    std::vector<double> click;
    std::vector<double> month;
    std::vector<double> texts;
};

double msOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> times)
{
    if (times.empty())
        return 0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The least a day click can cost for what it shows: the texts of the shown
// day's grid, laid out beforehand and drawn by a bare painter into an image
// the size of the grid, without cells, backgrounds or lines.
double textsAloneMs(const frmMain &window)
{
    const auto *grid = window.findChild<const Grid *>(QStringLiteral("Agenda"));
    const QFont font = grid->table()->font();
    std::vector<std::pair<QPoint, QStaticText>> texts;
    for (int row = 1; row < grid->rows(); ++row) {
        for (int col = 0; col < grid->cols(); ++col) {
            const QString text = grid->textMatrix(row, col);
            if (text.isEmpty() || grid->colWidth(col) == 0)
                continue;
            QStaticText laid(text);
            laid.setTextFormat(Qt::PlainText);
            laid.prepare(QTransform(), font);
            texts.emplace_back(grid->cellRect(row, col).topLeft(), std::move(laid));
        }
    }
    QImage image(grid->table()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    return msOf([&] {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setFont(font);
        for (const auto &[at, text] : texts)
            painter.drawStaticText(at, text);
    });
}

} // namespace

// One window per file, measured in turns: each round clicks a day in every
// window, so that a busy moment of the machine falls on every size alike and
// the ratios between them hold.
BREVANE_BENCH(agenda)
{
    ScriptedDesktop desktop;
    desktop.setToday(kToday);
    setDesktop(&desktop);
    std::vector<Subject> subjects;
    const auto open = [&subjects](store::Database *db, const QByteArray &of) {
        if (!db)
            return;
        auto window = std::make_unique<frmMain>(*db);
        window->load();
        window->resize(1280, 800);
        subjects.push_back({of, std::move(window), {}, {}, {}, {}});
    };
    open(bench::threeYearFile(1'000, 0), ", 1,000 tasks");
    open(fullDaysFile(), ", 1,440 tasks, 48 on each clicked day");
    open(bench::threeYearFile(100'000, 0), ", 100,000 tasks");
    open(bench::threeYearFile(1'000'000, 0), ", 1,000,000 tasks");
    QApplication::processEvents();

    // Turns of a few steps each: one window at a time keeps what a window
    // alone keeps in the processor's caches.
    const auto inTurns = [&subjects](int steps, const std::function<void(Subject &, int)> &step) {
        for (int first = 0; first < steps; first += kStepsPerTurn) {
            for (Subject &subject : subjects) {
                for (int i = first; i < std::min(steps, first + kStepsPerTurn); ++i)
                    step(subject, i);
            }
        }
    };
    inTurns(kClicks, [](Subject &subject, int i) {
        subject.before.push_back(msOf([&] { cellOfDay(*subject.window, i % 30 + 1)->click(); }));
        if (i % kStepsPerTurn == kStepsPerTurn - 1)
            QApplication::processEvents();
    });
    QApplication::processEvents();
    inTurns(kClicks, [](Subject &subject, int i) {
        subject.click.push_back(msOf([&] {
            cellOfDay(*subject.window, i % 30 + 1)->click();
            QApplication::processEvents();
        }));
    });
    inTurns(kClicks, [](Subject &subject, int i) {
        cellOfDay(*subject.window, i % 30 + 1)->click();
        subject.texts.push_back(textsAloneMs(*subject.window));
    });
    inTurns(kMonthSteps, [](Subject &subject, int i) {
        const char *step = i % 4 < 2 ? "mnuNextMonth" : "mnuLastMonth";
        auto *action = subject.window->findChild<QAction *>(QLatin1String(step));
        subject.month.push_back(msOf([&] {
            action->trigger();
            QApplication::processEvents();
        }));
    });
    for (const Subject &subject : subjects) {
        bench::report(("day click, before the paint" + subject.of).constData(), median(subject.before));
        bench::report(("day click, calendar and agenda redrawn" + subject.of).constData(), median(subject.click));
        bench::report(("  the day's texts alone, drawn by a bare painter" + subject.of).constData(),
                      median(subject.texts));
        bench::report(("month change, calendar and agenda redrawn" + subject.of).constData(), median(subject.month));
    }
    if (subjects.size() == 4) {
        const double base = median(subjects[0].click);
        const double full = median(subjects[1].click);
        for (size_t i = 2; i < subjects.size(); ++i) {
            const double click = median(subjects[i].click);
            std::printf("  day click%s is %.2fx its time at 1,000 and %.2fx its time on days as full\n",
                        subjects[i].of.constData(), click / base, click / full);
        }
    }
    subjects.clear();
    setDesktop(nullptr);
}

// From the end of the splash to the main window drawn: construct, load and
// process events until the window has painted, with the reminder check that
// follows the first paint.
BREVANE_BENCH(startup)
{
    ScriptedDesktop desktop;
    desktop.setToday(kToday);
    // The reminders due on the day are answered at once.
    desktop.onModal([](QDialog *) { return 0; });
    setDesktop(&desktop);
    for (const auto &[tasks, items] : {std::pair{100'000, 100'000}, {1'000'000, 100'000}}) {
        store::Database *db = bench::threeYearFile(tasks, items);
        if (!db)
            continue;
        const double ms = bench::medianMs(kStarts, [db](int) {
            frmMain window(*db);
            PaintWatch watch;
            window.installEventFilter(&watch);
            window.load();
            for (int spins = 0; !watch.painted && spins < 100; ++spins)
                QApplication::processEvents();
            window.removeEventFilter(&watch);
        });
        bench::report(QByteArray("start, splash end to main window drawn, " + QByteArray::number(tasks) + " tasks + "
                                 + QByteArray::number(items) + " to-dos")
                          .constData(),
                      ms);
    }
    setDesktop(nullptr);
}
