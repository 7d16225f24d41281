#pragma once

// Shared agenda set-up: tasks written straight to the file, and the calendar and agenda controls.

#include "agenda/agendaview.h"
#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "store/names.h"
#include "testsupport.h"

#include <QHeaderView>
#include <QRegularExpression>
#include <QTableWidget>

namespace brevane::testing {

// A task as the editor stores it (times as "9:30 AM"; the end-time note unless `note` is false).
inline store::RecordId addTask(TestData &data, const QDate &date, const QString &text, const QString &start,
                               const QString &end, const QString &category = {}, bool note = true)
{
    namespace ag = store::names::agenda;
    const QRegularExpression separators(QStringLiteral("[: ]"));
    const QStringList from = start.split(separators);
    const QStringList to = end.split(separators);
    return data.insert(store::names::Agenda,
                       {{ag::Task, note ? text + QStringLiteral(" (to ") + end + u')' : text},
                        {ag::Category, category},
                        {ag::StartHour, from.value(0)}, {ag::StartMinute, from.value(1)}, {ag::StartAmPm, from.value(2)},
                        {ag::EndHour, to.value(0)}, {ag::EndMinute, to.value(1)}, {ag::EndAmPm, to.value(2)},
                        {ag::Day, QString::number(date.day())}, {ag::Month, QString::number(date.month())},
                        {ag::Year, QString::number(date.year())}});
}

inline FlatButton *dayCell(const QObject &window, int index)
{
    return window.findChild<FlatButton *>(QStringLiteral("cmdDay%1").arg(index));
}

// The cell showing a day number, or nullptr.
inline FlatButton *cellOfDay(const QObject &window, int day)
{
    for (int i = 0; i < 42; ++i) {
        if (dayCell(window, i)->text() == QString::number(day))
            return dayCell(window, i);
    }
    return nullptr;
}

inline AgendaView *agendaView(const QObject &window)
{
    return window.findChild<AgendaView *>();
}

inline Grid *agendaGrid(const QObject &window)
{
    return window.findChild<Grid *>(QStringLiteral("Agenda"));
}

// Loads the window and hands back its agenda grid.
template <typename Window>
inline Grid *loaded(Window &window)
{
    window.load();
    return agendaGrid(window);
}

// The grid row of a slot label ("9:00 AM"), 0 when there is none.
inline int rowOf(const Grid *grid, const QString &label)
{
    for (int row = 1; row < grid->rows(); ++row) {
        if (grid->textMatrix(row, 0) == label)
            return row;
    }
    return 0;
}

// Mouse actions on a grid cell, scrolled into view first as a user would.
inline QPoint showCell(Grid *grid, int row, int col)
{
    if (row > 0)
        grid->table()->scrollTo(grid->table()->model()->index(row - 1, col));
    return grid->cellRect(row, col).center();
}

inline QWidget *cellSurface(Grid *grid, int row)
{
    return row == 0 ? grid->table()->horizontalHeader()->viewport() : grid->table()->viewport();
}

} // namespace brevane::testing
