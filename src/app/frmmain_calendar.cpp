// The main window's month calendar: 42 day cells under the weekday names,
// the month and year drop-downs, the month-step buttons and the Navigate
// commands, and the placement of the calendar and agenda column.

#include "app/frmmain.h"

#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "controls/twips.h"
#include "core/organizer.h"
#include "platform/desktop.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSignalBlocker>

#include <functional>

namespace brevane {

namespace {

constexpr int kCellCount = 42;
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2100;

// Design sizes, in twips.
constexpr double kAgendaTitleHeight = 300;
constexpr double kMonthTitleHeight = 360;
constexpr double kWeekdayHeight = 255;
constexpr double kSelectorsHeight = 400;
constexpr double kCalendarButtonHeight = 375;
// Below this a day cell can no longer be read or hit (16 pixels at 96 dpi).
constexpr double kMinCellHeight = 240;

const QColor kWhite{255, 255, 255};
const QColor kBlue{0, 0, 255};
const QColor kBlack{0, 0, 0};
const QColor kLightCyan{192, 255, 255};
const QColor kLightGreen{192, 255, 192};

// Reports a right-button release over a widget's own area (not over one of
// its children, which report for themselves).
class RightReleaseFilter final : public QObject
{
public:
    RightReleaseFilter(std::function<void(const QPoint &)> onRelease, QObject *parent)
        : QObject(parent)
        , m_onRelease(std::move(onRelease))
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

QLabel *makeLabel(QWidget *parent, const QString &name, const QString &caption)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

void frmMain::buildCalendar()
{
    m_lblAgendaTitle = makeLabel(m_client, QStringLiteral("lblAgendaTitle"), QString());
    QFont bold = m_lblAgendaTitle->font();
    bold.setBold(true);
    m_lblAgendaTitle->setFont(bold);
    // Where the layout expects it on its first run: below the toolbar.
    twips::setGeometry(m_lblAgendaTitle, 0, 60 + twips::height(m_fraToolbar) + 120, 6000, kAgendaTitleHeight);

    m_fraCalendar = new QFrame(m_client);
    m_fraCalendar->setObjectName(QStringLiteral("fraCalendar"));
    twips::setGeometry(m_fraCalendar, 6000, 1155, 7000, 4500);

    m_lblMonthTitle = makeLabel(m_fraCalendar, QStringLiteral("lblMonthTitle"), QString());
    m_lblMonthTitle->setAlignment(Qt::AlignCenter);
    QFont titleFont = m_lblMonthTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    m_lblMonthTitle->setFont(titleFont);
    twips::setGeometry(m_lblMonthTitle, 60, 60, 3000, kMonthTitleHeight);

    m_fraSelectors = new QFrame(m_fraCalendar);
    m_fraSelectors->setObjectName(QStringLiteral("fraSelectors"));
    m_lblMonthComboTitle = makeLabel(m_fraSelectors, QStringLiteral("lblMonthComboTitle"), QStringLiteral("Month:"));
    m_cmbMonth = new QComboBox(m_fraSelectors);
    m_cmbMonth->setObjectName(QStringLiteral("cmbMonth"));
    m_cmbMonth->setAccessibleName(QStringLiteral("Month:"));
    m_cmbMonth->addItems(monthNames());
    m_lblMonthComboTitle->setBuddy(m_cmbMonth);
    m_lblYearComboTitle = makeLabel(m_fraSelectors, QStringLiteral("lblYearComboTitle"), QStringLiteral("Year:"));
    m_cmbYear = new QComboBox(m_fraSelectors);
    m_cmbYear->setObjectName(QStringLiteral("cmbYear"));
    m_cmbYear->setAccessibleName(QStringLiteral("Year:"));
    for (int year = kFirstYear; year <= kLastYear; ++year)
        m_cmbYear->addItem(QString::number(year));
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

    const QStringList weekdays{QStringLiteral("Sun"), QStringLiteral("Mon"), QStringLiteral("Tue"),
                               QStringLiteral("Wed"), QStringLiteral("Thu"), QStringLiteral("Fri"),
                               QStringLiteral("Sat")};
    for (int i = 0; i < weekdays.size(); ++i) {
        QLabel *label = makeLabel(m_fraCalendar, QStringLiteral("lblDay%1").arg(i), weekdays.at(i));
        label->setAlignment(Qt::AlignCenter);
        twips::setGeometry(label, 60 + i * 900, 480, 840, kWeekdayHeight);
        m_lblDay.append(label);
    }
    m_cmdDay.reserve(kCellCount);
    for (int i = 0; i < kCellCount; ++i) {
        auto *cell = new FlatButton(QString(), m_fraCalendar);
        cell->setObjectName(QStringLiteral("cmdDay%1").arg(i));
        cell->setBackColor(kWhite);
        cell->setForeColor(kBlack);
        cell->setHighlightColor(kWhite);
        cell->setShadowColor(kWhite);
        twips::setGeometry(cell, 60 + (i % 7) * 900, 795 + (i / 7) * 460, 840, 400);
        connect(cell, &QPushButton::clicked, this, [this, i] { cmdDay_Click(i); });
        connect(cell, &FlatButton::rightReleased, this, &frmMain::popUpNavigateMenu);
        m_cmdDay.append(cell);
    }

    auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, m_fraCalendar);
        button->setObjectName(name);
        twips::setGeometry(button, 60, 3700, 1260, kCalendarButtonHeight);
        enableButton(button, true);
        return button;
    };
    m_cmdLastMonth = makeButton(QStringLiteral("cmdLastMonth"), QStringLiteral("Last Month"));
    m_cmdNextMonth = makeButton(QStringLiteral("cmdNextMonth"), QStringLiteral("Next Month"));
    m_cmdToday = makeButton(QStringLiteral("cmdToday"), QStringLiteral("Today"));

    connect(m_cmdLastMonth, &QPushButton::clicked, this, &frmMain::cmdLastMonth_Click);
    connect(m_cmdNextMonth, &QPushButton::clicked, this, &frmMain::cmdNextMonth_Click);
    connect(m_cmdToday, &QPushButton::clicked, this, &frmMain::cmdToday_Click);
    connect(m_cmdToday2, &QPushButton::clicked, this, &frmMain::cmdToday_Click);
    connect(m_cmbMonth, &QComboBox::currentIndexChanged, this, &frmMain::cmbMonth_Click);
    connect(m_cmbYear, &QComboBox::currentIndexChanged, this, &frmMain::cmbYear_Click);

    auto *filter = new RightReleaseFilter([this](const QPoint &pos) { popUpNavigateMenu(pos); }, this);
    filter->watch(m_fraCalendar);
    filter->watch(m_lblMonthTitle);
    filter->watch(m_lblMonthComboTitle);
    filter->watch(m_lblYearComboTitle);
    for (QLabel *label : std::as_const(m_lblDay))
        filter->watch(label);

    m_mnuNavigate = findChild<QMenu *>(QStringLiteral("mnuNavigate"));
    const std::pair<const char *, void (frmMain::*)()> commands[] = {
        {"mnuLastMonth", &frmMain::cmdLastMonth_Click}, {"mnuNextMonth", &frmMain::cmdNextMonth_Click},
        {"mnuLastYear", &frmMain::mnuLastYear_Click},   {"mnuNextYear", &frmMain::mnuNextYear_Click},
        {"mnuToday", &frmMain::cmdToday_Click}};
    for (const auto &[name, command] : commands) {
        QAction *action = findChild<QAction *>(QLatin1String(name));
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, command);
    }
}

void frmMain::popUpNavigateMenu(const QPoint &globalPos)
{
    desktop().popupMenu(m_mnuNavigate, globalPos);
}

void frmMain::changeCalendar(int day, int month, int year)
{
    for (FlatButton *cell : std::as_const(m_cmdDay)) {
        cell->setText(QString());
        cell->setForeColor(kBlack);
    }

    calendarReady = 0;
    m_cmbMonth->setCurrentIndex(month - 1);
    m_cmbYear->setCurrentIndex(m_cmbYear->findText(QString::number(year)));
    calendarReady = 1;

    // Weeks start on Sunday: w is 1 for Sunday .. 7 for Saturday.
    const QDate first(year, month, 1);
    const int w = first.dayOfWeek() % 7 + 1;
    const int days = first.daysInMonth();
    const QString selected = QString::number(selectedDay);
    for (int d = 1, k = w - 1; d <= days; ++d, ++k) {
        FlatButton *cell = m_cmdDay.at(k);
        cell->setText(QString::number(d));
        cell->setBackColor(cell->text() == selected ? kLightCyan : kWhite);
    }
    for (FlatButton *cell : std::as_const(m_cmdDay)) {
        const QColor edge = cell->text().isEmpty() ? kWhite : kBlue;
        if (cell->text().isEmpty())
            cell->setBackColor(kWhite);
        cell->setHighlightColor(edge);
        cell->setShadowColor(edge);
        // A blank cell is no day: nothing for the keyboard to stop on.
        cell->setFocusPolicy(cell->text().isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    }
    m_lblMonthTitle->setText(monthName(month) + u' ' + QString::number(year));

    const QDate today = desktop().today();
    if (today.month() == month && today.year() == year)
        m_cmdDay.at(today.day() + w - 2)->setBackColor(kLightGreen);

    m_lblAgendaTitle->setText(QStringLiteral("Tasks For: %1 %2, %3").arg(monthName(month)).arg(day).arg(year));

    loadAgenda();
}

void frmMain::cmdDay_Click(int index)
{
    const QString caption = m_cmdDay.value(index) ? m_cmdDay.at(index)->text() : QString();
    if (caption.isEmpty())
        return;
    selectedDay = textToNumber(caption);
    changeCalendar(selectedDay, m_cmbMonth->currentIndex() + 1, textToNumber(m_cmbYear->currentText()));
}

void frmMain::cmbMonth_Click()
{
    if (calendarReady <= 0 || m_cmbMonth->currentIndex() < 0)
        return;
    shownMonthIndex = m_cmbMonth->currentIndex();
    changeCalendar(selectedDay, shownMonthIndex + 1, shownYear);
}

void frmMain::cmbYear_Click()
{
    if (calendarReady <= 0 || m_cmbYear->currentIndex() < 0)
        return;
    shownYear = static_cast<qint16>(textToNumber(m_cmbYear->currentText()));
    changeCalendar(selectedDay, shownMonthIndex + 1, shownYear);
}

// The month steps stop at the ends of the year list, where the drop-down
// could no longer show the year.
void frmMain::cmdLastMonth_Click()
{
    if (shownMonthIndex > 0) {
        --shownMonthIndex;
    } else if (shownYear > kFirstYear) {
        shownMonthIndex = 11;
        --shownYear;
    } else {
        return;
    }
    changeCalendar(selectedDay, shownMonthIndex + 1, shownYear);
}

void frmMain::cmdNextMonth_Click()
{
    if (shownMonthIndex < 11) {
        ++shownMonthIndex;
    } else if (shownYear < kLastYear) {
        shownMonthIndex = 0;
        ++shownYear;
    } else {
        return;
    }
    changeCalendar(selectedDay, shownMonthIndex + 1, shownYear);
}

void frmMain::mnuLastYear_Click()
{
    const int index = m_cmbYear->currentIndex();
    if (index < 1)
        return;
    {
        const QSignalBlocker blocker(m_cmbYear);
        m_cmbYear->setCurrentIndex(index - 1);
    }
    cmbYear_Click();
}

void frmMain::mnuNextYear_Click()
{
    const int index = m_cmbYear->currentIndex();
    if (index < 0 || index >= m_cmbYear->count() - 1)
        return;
    {
        const QSignalBlocker blocker(m_cmbYear);
        m_cmbYear->setCurrentIndex(index + 1);
    }
    cmbYear_Click();
}

void frmMain::cmdToday_Click()
{
    const QDate today = desktop().today();
    selectedDay = today.day();
    shownMonthIndex = today.month() - 1;
    shownYear = today.year();
    changeCalendar(selectedDay, shownMonthIndex + 1, shownYear);
}

double frmMain::minimumAgendaHeight() const
{
    // The calendar frame takes 0.6 of the agenda's height and must hold six
    // rows of day cells of the smallest usable height with everything else.
    const double frame = 6 * kMinCellHeight + twips::height(m_fraSelectors) + kWeekdayHeight + 600
                         + kCalendarButtonHeight + kMonthTitleHeight;
    return frame / 0.6;
}

void frmMain::layoutCalendarAndAgenda(double W, double H)
{
    if (!m_agenda)
        return;
    // A formula that yields no room leaves the control at its previous size.
    const auto setWidth = twips::setWidthIfRoom;
    const auto setHeight = twips::setHeightIfRoom;
    using twips::height;
    using twips::left;
    using twips::top;
    using twips::width;

    // Agenda, below its title as the title stood before this run.
    twips::setTop(m_agenda, top(m_lblAgendaTitle) + height(m_lblAgendaTitle) + 120);
    twips::setLeft(m_agenda, 0);
    setHeight(m_agenda, H - top(m_agenda) - 1.4 * height(m_cmdContacts));
    setWidth(m_agenda, (W - 120) * 0.55);
    twips::setTop(m_lblAgendaTitle, top(m_fraToolbar) + height(m_fraToolbar) + 120);
    twips::setLeft(m_lblAgendaTitle, 0);
    setWidth(m_lblAgendaTitle, width(m_agenda));
    setHeight(m_lblAgendaTitle, kAgendaTitleHeight);

    // Calendar column: the frame beside the agenda, 0.6 of its height.
    setHeight(m_fraCalendar, height(m_agenda) * 0.6);
    setWidth(m_fraCalendar, (W - 120) * 0.45);
    twips::setLeft(m_fraCalendar, left(m_agenda) + width(m_agenda));
    twips::setTop(m_fraCalendar, top(m_agenda));
    const double frameWidth = width(m_fraCalendar);

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
        (height(m_fraCalendar) - height(m_fraSelectors) - height(m_lblDay.at(0)) - 600 - height(m_cmdToday)) / 6,
        kMinCellHeight);
    for (int i = 0; i < m_cmdDay.size(); ++i) {
        FlatButton *cell = m_cmdDay.at(i);
        if (i < 7) {
            setHeight(cell, cellHeight);
            twips::setTop(cell, top(m_lblDay.at(i)) + height(m_lblDay.at(i)) + 60);
        } else {
            const FlatButton *above = m_cmdDay.at(i - 7);
            setHeight(cell, height(above));
            twips::setTop(cell, top(above) + height(above) + 60);
        }
        setWidth(cell, width(m_lblDay.at(i % 7)));
        twips::setLeft(cell, i % 7 == 0 ? 60 : left(m_cmdDay.at(i - 1)) + width(m_cmdDay.at(i - 1)) + 60);
    }

    const FlatButton *lastCell = m_cmdDay.constLast();
    for (FlatButton *button : {m_cmdLastMonth, m_cmdToday, m_cmdNextMonth}) {
        setWidth(button, width(m_cmdDay.at(0)) * 1.5);
        setHeight(button, kCalendarButtonHeight);
        twips::setTop(button, top(lastCell) + height(lastCell) + 60);
    }
    twips::setLeft(m_cmdLastMonth, 60);
    twips::setLeft(m_cmdNextMonth, frameWidth - 60 - width(m_cmdNextMonth));
    twips::setLeft(m_cmdToday, frameWidth / 2 - width(m_cmdToday) / 2);

    sizeAgendaColumns();
}

} // namespace brevane
