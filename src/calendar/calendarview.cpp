#include "calendar/calendarview.h"

#include "calendar/logging.h"
#include "controls/flatbutton.h"
#include "controls/twips.h"
#include "core/organizer.h"
#include "platform/desktop.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

#include <functional>
#include <utility>

Q_LOGGING_CATEGORY(lcCalendar, "brevane.calendar", QtWarningMsg)

namespace brevane {

namespace {

constexpr int kCellCount = 42;

// Design sizes, in twips.
constexpr double kMonthTitleHeight = 360;
constexpr double kWeekdayHeight = 255;
constexpr double kSelectorsHeight = 400;
constexpr double kButtonHeight = 375;
// Below this a day cell can no longer be read or hit (16 pixels at 96 dpi).
constexpr double kMinCellHeight = 240;

const QColor kWhite{255, 255, 255};
const QColor kBlue{0, 0, 255};
const QColor kBlack{0, 0, 0};
const QColor kRed{255, 0, 0};
const QColor kLightCyan{192, 255, 255};
const QColor kLightGreen{192, 255, 192};

// Reports a right-button release over a widget's own area (not over one of
// its children, which report for themselves).
class RightReleaseFilter final : public QObject
{
public:
    RightReleaseFilter(std::function<void(const QPoint &)> onRelease, QObject *parent)
        : QObject(parent), m_onRelease(std::move(onRelease))
    {
    }
    Q_DISABLE_COPY_MOVE(RightReleaseFilter)

    void watch(QWidget *widget)
    {
        widget->setContextMenuPolicy(Qt::PreventContextMenu);
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const auto *widget = static_cast<QWidget *>(watched);
        if (mouse->button() != Qt::RightButton || widget->childAt(mouse->position().toPoint()))
            return false;
        m_onRelease(mouse->globalPosition().toPoint());
        return true;
    }

private:
    std::function<void(const QPoint &)> m_onRelease;
};

// Colour setters repaint the cell; a day click changes two cells of 42, so
// only a colour that differs is set.
void setColors(FlatButton *cell, const QColor &fore, const QColor &back, const QColor &edge)
{
    if (cell->foreColor() != fore)
        cell->setForeColor(fore);
    if (cell->backColor() != back)
        cell->setBackColor(back);
    if (cell->highlightColor() != edge)
        cell->setHighlightColor(edge);
    if (cell->shadowColor() != edge)
        cell->setShadowColor(edge);
}

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

CalendarView::CalendarView(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("fraCalendar"));
    twips::setGeometry(this, 6000, 1155, 7000, 4500);
    buildControls();
    buildCommands();
}

void CalendarView::buildControls()
{
    m_lblMonthTitle = makeLabel(this, QStringLiteral("lblMonthTitle"), QString());
    m_lblMonthTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_lblMonthTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    m_lblMonthTitle->setFont(titleFont);
    twips::setGeometry(m_lblMonthTitle, 60, 60, 3000, kMonthTitleHeight);

    m_fraSelectors = new QFrame(this);
    m_fraSelectors->setObjectName(QStringLiteral("fraSelectors"));
    m_lblMonthComboTitle = makeLabel(m_fraSelectors, QStringLiteral("lblMonthComboTitle"), tr("Month:"));
    m_cmbMonth = new QComboBox(m_fraSelectors);
    m_cmbMonth->setObjectName(QStringLiteral("cmbMonth"));
    m_cmbMonth->setAccessibleName(tr("Month:"));
    for (int month = 1; month <= 12; ++month)
        m_cmbMonth->addItem(monthName(month), month);
    m_lblMonthComboTitle->setBuddy(m_cmbMonth);
    m_lblYearComboTitle = makeLabel(m_fraSelectors, QStringLiteral("lblYearComboTitle"), tr("Year:"));
    m_cmbYear = new QComboBox(m_fraSelectors);
    m_cmbYear->setObjectName(QStringLiteral("cmbYear"));
    m_cmbYear->setAccessibleName(tr("Year:"));
    for (int year = kFirstYear; year <= kLastYear; ++year)
        m_cmbYear->addItem(QString::number(year), year);
    m_lblYearComboTitle->setBuddy(m_cmbYear);
    auto *selectors = new QHBoxLayout(m_fraSelectors);
    selectors->setContentsMargins(0, 0, 0, 0);
    selectors->setSpacing(4);
    selectors->addWidget(m_lblMonthComboTitle);
    selectors->addWidget(m_cmbMonth);
    selectors->addSpacing(6);
    selectors->addWidget(m_lblYearComboTitle);
    selectors->addWidget(m_cmbYear);
    // The frame keeps its design width; the layout places it by that width.
    m_fraSelectors->resize(selectors->sizeHint().width(), twips::toPixels(m_fraSelectors, kSelectorsHeight));
    m_fraSelectors->move(twips::toPixels(m_fraSelectors, 3060), twips::toPixels(m_fraSelectors, 60));

    const QStringList weekdays{tr("Sun"), tr("Mon"), tr("Tue"), tr("Wed"), tr("Thu"), tr("Fri"), tr("Sat")};
    for (int i = 0; i < weekdays.size(); ++i) {
        QLabel *label = makeLabel(this, QStringLiteral("lblDay%1").arg(i), weekdays.at(i));
        label->setAlignment(Qt::AlignCenter);
        twips::setGeometry(label, 60 + i * 900, 480, 840, kWeekdayHeight);
        m_lblDay.append(label);
    }
    m_cmdDay.reserve(kCellCount);
    for (int i = 0; i < kCellCount; ++i) {
        auto *cell = new FlatButton(QString(), this);
        cell->setObjectName(QStringLiteral("cmdDay%1").arg(i));
        cell->setBackColor(kWhite);
        cell->setForeColor(kBlack);
        cell->setHighlightColor(kWhite);
        cell->setShadowColor(kWhite);
        twips::setGeometry(cell, 60 + (i % 7) * 900, 795 + (i / 7) * 460, 840, 400);
        connect(cell, &QPushButton::clicked, this, [this, i] { selectCell(i); });
        connect(cell, &FlatButton::rightReleased, this, &CalendarView::popUpNavigateMenu);
        m_cmdDay.append(cell);
    }

    auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, this);
        button->setObjectName(name);
        twips::setGeometry(button, 60, 3700, 1260, kButtonHeight);
        button->enableWithEdges(true, kEdgeGrey);
        return button;
    };
    m_cmdLastMonth = makeButton(QStringLiteral("cmdLastMonth"), tr("Last Month"));
    m_cmdNextMonth = makeButton(QStringLiteral("cmdNextMonth"), tr("Next Month"));
    m_cmdToday = makeButton(QStringLiteral("cmdToday"), tr("Today"));

    connect(m_cmdLastMonth, &QPushButton::clicked, this, [this] { stepMonth(-1); });
    connect(m_cmdNextMonth, &QPushButton::clicked, this, [this] { stepMonth(1); });
    connect(m_cmdToday, &QPushButton::clicked, this, &CalendarView::goToday);
    connect(m_cmbMonth, &QComboBox::currentIndexChanged, this, &CalendarView::monthPicked);
    connect(m_cmbYear, &QComboBox::currentIndexChanged, this, &CalendarView::yearPicked);

    auto *filter = new RightReleaseFilter([this](const QPoint &pos) { popUpNavigateMenu(pos); }, this);
    filter->watch(this);
    filter->watch(m_lblMonthTitle);
    filter->watch(m_lblMonthComboTitle);
    filter->watch(m_lblYearComboTitle);
    for (QLabel *label : std::as_const(m_lblDay))
        filter->watch(label);
}

void CalendarView::buildCommands()
{
    m_mnuNavigate = new QMenu(tr("&Navigate"), this);
    m_mnuNavigate->setObjectName(QStringLiteral("mnuNavigate"));
    m_mnuNavigate->menuAction()->setObjectName(QStringLiteral("mnuNavigateAction"));
    const auto add = [this](const char *name, const QString &caption, const std::function<void()> &command) {
        QAction *action = m_mnuNavigate->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, command);
        return action;
    };
    add("mnuLastMonth", tr("Last Month"), [this] { stepMonth(-1); });
    add("mnuNextMonth", tr("Next Month"), [this] { stepMonth(1); });
    m_mnuNavigate->addSeparator()->setObjectName(QStringLiteral("mnuDash5"));
    add("mnuLastYear", tr("Last Year"), [this] { stepYear(-1); });
    add("mnuNextYear", tr("Next Year"), [this] { stepYear(1); });
    m_mnuNavigate->addSeparator()->setObjectName(QStringLiteral("mnuDash6"));
    m_today = add("mnuToday", tr("Today"), [this] { goToday(); });
}

void CalendarView::popUpNavigateMenu(const QPoint &globalPos)
{
    desktop().popupMenu(m_mnuNavigate, globalPos);
}

void CalendarView::showDate(const QDate &date)
{
    if (!date.isValid())
        return;
    m_day = date.day();
    m_month = date.month();
    m_year = date.year();
    redraw();
}

void CalendarView::redraw()
{
    // A day the shown month lacks (the 31st, then April) becomes its last day,
    // so that the agenda and a new task always stand on a day that is shown.
    const QDate first(m_year, m_month, 1);
    const int days = first.daysInMonth();
    m_day = std::clamp(m_day, 1, days);

    m_filling = true;
    m_cmbMonth->setCurrentIndex(m_month - 1);
    m_cmbYear->setCurrentIndex(m_cmbYear->findData(m_year));
    m_filling = false;

    // Weeks start on Sunday. Within the month the red marks stay until the
    // agenda reports the task days again, so that a day click repaints only
    // the cells it changes; another month starts without marks.
    m_firstCell = first.dayOfWeek() % 7;
    const QDate today = desktop().today();
    if (m_marksMonth != first)
        m_taskDays.clear();
    for (int i = 0; i < kCellCount; ++i) {
        FlatButton *cell = m_cmdDay.at(i);
        const int day = i - m_firstCell + 1;
        const bool isDay = day >= 1 && day <= days;
        cell->setText(isDay ? QString::number(day) : QString());
        // Today is green, the selected day cyan; task days keep their red.
        const bool isToday = isDay && QDate(m_year, m_month, day) == today;
        const QColor back = isToday ? kLightGreen : isDay && day == m_day ? kLightCyan : kWhite;
        setColors(cell, isDay && m_taskDays.contains(day) ? kRed : kBlack, back, isDay ? kBlue : kWhite);
        // A blank cell is no day: nothing for the keyboard to stop on or a
        // screen reader to announce. The frame paints its white square.
        cell->setVisible(isDay);
    }
    m_lblMonthTitle->setText(monthName(m_month) + u' ' + QString::number(m_year));

    describeCells();
    // The frame paints the squares of blank cells: only another month moves them.
    if (std::exchange(m_drawnMonth, first) != first)
        update();
    qCDebug(lcCalendar) << "showing" << selectedDate();
    Q_EMIT dayShown(selectedDate());
}

void CalendarView::setTaskDays(const QSet<int> &days)
{
    m_taskDays = days;
    m_marksMonth = QDate(m_year, m_month, 1);
    const int count = m_marksMonth.daysInMonth();
    for (int i = 0; i < kCellCount; ++i) {
        const int day = i - m_firstCell + 1;
        const QColor fore = day >= 1 && day <= count && days.contains(day) ? kRed : kBlack;
        if (m_cmdDay.at(i)->foreColor() != fore)
            m_cmdDay.at(i)->setForeColor(fore);
    }
    describeCells();
}

void CalendarView::describeCells()
{
    // What the colours show, for those who cannot see them.
    const QDate today = desktop().today();
    const int days = QDate(m_year, m_month, 1).daysInMonth();
    for (int day = 1; day <= days; ++day) {
        const QDate date(m_year, m_month, day);
        QStringList parts{QLocale(QLocale::English).dayName(date.dayOfWeek()),
                          tr("%1 %2, %3").arg(monthName(m_month)).arg(day).arg(m_year)};
        if (date == today)
            parts << tr("today");
        if (day == m_day)
            parts << tr("selected");
        if (m_taskDays.contains(day))
            parts << tr("has tasks");
        m_cmdDay.at(m_firstCell + day - 1)->setAccessibleDescription(parts.join(QStringLiteral(", ")));
    }
}

void CalendarView::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    for (const FlatButton *cell : std::as_const(m_cmdDay)) {
        if (cell->isHidden())
            painter.fillRect(cell->geometry(), kWhite);
    }
}

void CalendarView::selectCell(int index)
{
    const int day = index - m_firstCell + 1;
    if (day < 1 || day > QDate(m_year, m_month, 1).daysInMonth())
        return;
    m_day = day;
    redraw();
}

void CalendarView::monthPicked()
{
    if (m_filling || m_cmbMonth->currentIndex() < 0)
        return;
    m_month = m_cmbMonth->currentData().toInt();
    redraw();
}

void CalendarView::yearPicked()
{
    if (m_filling || m_cmbYear->currentIndex() < 0)
        return;
    m_year = m_cmbYear->currentData().toInt();
    redraw();
}

// The steps stop at the ends of the year list, where the drop-down could no
// longer show the year.
void CalendarView::stepMonth(int step)
{
    const QDate target = QDate(m_year, m_month, 1).addMonths(step);
    if (target.year() < kFirstYear || target.year() > kLastYear)
        return;
    m_month = target.month();
    m_year = target.year();
    redraw();
}

void CalendarView::stepYear(int step)
{
    const int index = m_cmbYear->currentIndex() + step;
    if (m_cmbYear->currentIndex() < 0 || index < 0 || index >= m_cmbYear->count())
        return;
    {
        const QSignalBlocker blocker(m_cmbYear);
        m_cmbYear->setCurrentIndex(index);
    }
    yearPicked();
}

void CalendarView::goToday()
{
    showDate(desktop().today());
}

double CalendarView::minimumHeightTwips() const
{
    return 6 * kMinCellHeight + twips::height(m_fraSelectors) + kWeekdayHeight + 600 + kButtonHeight
           + kMonthTitleHeight;
}

void CalendarView::arrange()
{
    // A formula that yields no room leaves the control at its previous size.
    const auto setWidth = twips::setWidthIfRoom;
    const auto setHeight = twips::setHeightIfRoom;
    using twips::height;
    using twips::left;
    using twips::top;
    using twips::width;
    const double frameWidth = width(this);

    twips::setTop(m_lblMonthTitle, 60);
    twips::setLeft(m_lblMonthTitle, 60);
    setHeight(m_lblMonthTitle, kMonthTitleHeight);
    setWidth(m_lblMonthTitle, frameWidth - 120 - width(m_fraSelectors));
    twips::setTop(m_fraSelectors, 60);
    twips::setLeft(m_fraSelectors, left(m_lblMonthTitle) + width(m_lblMonthTitle));

    const double weekdayTop = top(m_lblMonthTitle) + height(m_lblMonthTitle) + 60;
    for (int i = 0; i < m_lblDay.size(); ++i) {
        QLabel *label = m_lblDay.at(i);
        setHeight(label, kWeekdayHeight);
        twips::setTop(label, weekdayTop);
        setWidth(label, (frameWidth - 480) / 7);
        twips::setLeft(label, i == 0 ? 60 : left(m_lblDay.at(i - 1)) + width(m_lblDay.at(i - 1)) + 60);
    }

    const double cellHeight = std::max(
        (height(this) - height(m_fraSelectors) - height(m_lblDay.at(0)) - 600 - height(m_cmdToday)) / 6,
        kMinCellHeight);
    for (int i = 0; i < m_cmdDay.size(); ++i) {
        FlatButton *cell = m_cmdDay.at(i);
        const QWidget *above = i < 7 ? static_cast<QWidget *>(m_lblDay.at(i)) : m_cmdDay.at(i - 7);
        setHeight(cell, i < 7 ? cellHeight : height(above));
        twips::setTop(cell, top(above) + height(above) + 60);
        setWidth(cell, width(m_lblDay.at(i % 7)));
        twips::setLeft(cell, i % 7 == 0 ? 60 : left(m_cmdDay.at(i - 1)) + width(m_cmdDay.at(i - 1)) + 60);
    }

    const FlatButton *lastCell = m_cmdDay.constLast();
    for (FlatButton *button : {m_cmdLastMonth, m_cmdToday, m_cmdNextMonth}) {
        setWidth(button, width(m_cmdDay.at(0)) * 1.5);
        setHeight(button, kButtonHeight);
        twips::setTop(button, top(lastCell) + height(lastCell) + 60);
    }
    twips::setLeft(m_cmdLastMonth, 60);
    twips::setLeft(m_cmdNextMonth, frameWidth - 60 - width(m_cmdNextMonth));
    twips::setLeft(m_cmdToday, frameWidth / 2 - width(m_cmdToday) / 2);
    update();
}

} // namespace brevane
