#pragma once

#include <QDate>
#include <QFrame>
#include <QList>
#include <QSet>

class QAction;
class QComboBox;
class QLabel;
class QMenu;

namespace brevane {

class FlatButton;

// The month calendar: 42 day cells under the weekday names, the month and
// year drop-downs, the month-step buttons and the Navigate commands. It owns
// the calendar state (the selected day and the shown month and year) and
// tells the window when it has shown another day.
class CalendarView : public QFrame
{
    Q_OBJECT

public:
    explicit CalendarView(QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(CalendarView)

    static constexpr int kFirstYear = 1900;
    static constexpr int kLastYear = 2100;

    [[nodiscard]] int selectedDay() const { return m_day; }
    // 1..12.
    [[nodiscard]] int shownMonth() const { return m_month; }
    [[nodiscard]] int shownYear() const { return m_year; }
    [[nodiscard]] QDate selectedDate() const { return QDate(m_year, m_month, m_day); }

    // Shows the month of this day with the day selected, and emits dayShown.
    void showDate(const QDate &date);
    // Marks the days of the shown month that have tasks.
    void setTaskDays(const QSet<int> &days);

    // "Navigate": Last Month, Next Month, Last Year, Next Year, Today. The
    // window puts it into its menu bar; a right click on the calendar pops it up.
    [[nodiscard]] QMenu *navigateMenu() const { return m_mnuNavigate; }
    [[nodiscard]] QAction *todayAction() const { return m_today; }

    // Places the controls inside the frame after the window sized it.
    void arrange();
    // The smallest frame height at which six rows of day cells stay usable.
    [[nodiscard]] double minimumHeightTwips() const;

Q_SIGNALS:
    // The calendar shows another day (or the same day again): the agenda
    // follows it.
    void dayShown(const QDate &day);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void buildControls();
    void buildCommands();
    // Redraws the shown month, keeping the selected day inside it.
    void redraw();
    void describeCells();
    void selectCell(int index);
    void monthPicked();
    void yearPicked();
    void stepMonth(int step);
    void stepYear(int step);
    void goToday();
    void popUpNavigateMenu(const QPoint &globalPos);

    int m_day = 1;
    int m_month = 1;
    int m_year = 2000;
    // Which cell shows day 1 of the shown month.
    int m_firstCell = 0;
    QSet<int> m_taskDays;
    // The month (its first day) whose task days m_taskDays holds.
    QDate m_marksMonth;
    // The month (its first day) the cells show.
    QDate m_drawnMonth;
    bool m_filling = false;

    QLabel *m_lblMonthTitle = nullptr;
    QFrame *m_fraSelectors = nullptr;
    QLabel *m_lblMonthComboTitle = nullptr;
    QLabel *m_lblYearComboTitle = nullptr;
    QComboBox *m_cmbMonth = nullptr;
    QComboBox *m_cmbYear = nullptr;
    QList<QLabel *> m_lblDay;
    QList<FlatButton *> m_cmdDay;
    FlatButton *m_cmdLastMonth = nullptr;
    FlatButton *m_cmdNextMonth = nullptr;
    FlatButton *m_cmdToday = nullptr;
    QMenu *m_mnuNavigate = nullptr;
    QAction *m_today = nullptr;
};

} // namespace brevane
