#pragma once

#include "store/agendarepository.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>

#include <memory>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace brevane {

class Grid;
class frmAddAgenda;
namespace store {
class Database;
}

// The agenda of the selected day: the title, the half-hour grid and the
// commands that add, edit and delete tasks and set a task's reminder. Its
// widgets live in the window's client area, where the window places them.
class AgendaView : public QObject
{
    Q_OBJECT

public:
    AgendaView(store::Database &db, QWidget *client);
    ~AgendaView() override;
    Q_DISABLE_COPY_MOVE(AgendaView)

    [[nodiscard]] Grid *grid() const { return m_grid; }
    [[nodiscard]] QLabel *title() const { return m_title; }
    [[nodiscard]] QDate day() const { return m_day; }

    // Shows the agenda of this day: reads the day's shown tasks and the
    // month's task days from the file and reports the latter. A failed read is reported and the grid
    // keeps what it showed.
    void showDay(const QDate &day);
    // Reads the shown day again (the day last asked for, when that read failed).
    void reload();
    // Selects the row of a task of the shown day; false when it has none.
    bool selectTask(store::RecordId id);
    // The day of a task in the file: none when it is gone, an invalid date
    // when its stored date is none; a failed read is reported.
    [[nodiscard]] store::ReadResult<QDate> dayOfTask(store::RecordId id) const;
    // Moves the keyboard to the grid (the to-do list hands it over).
    void focusGrid();

    // The task standing on a grid row, none for an empty row.
    [[nodiscard]] std::optional<store::AgendaTask> taskAt(int row) const;
    [[nodiscard]] store::RecordId recordAt(int row) const;

    // Commands.
    void addTask();
    void editTask();
    void deleteTask();
    // The selected task's reminder lead, 0 (none) to 7 days.
    void setReminder(int leadDays);

    // The window's menus hold these; the Agenda menu is also the grid's pop-up.
    [[nodiscard]] QAction *newTaskAction() const { return m_new; }
    [[nodiscard]] QAction *fileNewTaskAction() const { return m_fileNew; }
    [[nodiscard]] QAction *editTaskAction() const { return m_edit; }
    [[nodiscard]] QAction *deleteTaskAction() const { return m_delete; }
    [[nodiscard]] QMenu *reminderMenu() const { return m_reminderMenu; }
    void setContextMenu(QMenu *menu) { m_contextMenu = menu; }

    // Places the columns after the window sized the grid.
    void sizeColumns();

Q_SIGNALS:
    // The days of the shown month that have tasks (after each read).
    void taskDaysChanged(const QSet<int> &days);

private:
    void buildCommands();
    void load(const QDate &day);
    void draw(const store::AgendaDay &shown);
    void setSelectionCommandsEnabled(bool enable);
    void followSelection();
    void doubleClicked();
    void mousePressed();
    void mouseReleased(Qt::MouseButton button, const QPoint &globalPos);
    void popUpMenu(const QPoint &globalPos);
    frmAddAgenda *newEditor();
    [[nodiscard]] QWidget *window() const;

    store::Database &m_db;
    // The reads of every click, its statements kept prepared.
    std::unique_ptr<store::AgendaRepository> m_reads;
    QDate m_day;
    // The day last asked for; m_day differs while it could not be read.
    QDate m_wanted;
    // The task on each grid row, by row.
    QList<std::optional<store::AgendaTask>> m_rows;
    QList<QPointer<frmAddAgenda>> m_editors;

    QLabel *m_title = nullptr;
    Grid *m_grid = nullptr;
    QLabel *m_lblTimeWidth = nullptr;
    QLabel *m_lblCategoryWidth = nullptr;
    QMenu *m_contextMenu = nullptr;
    QAction *m_new = nullptr;
    QAction *m_fileNew = nullptr;
    QAction *m_edit = nullptr;
    QAction *m_delete = nullptr;
    QMenu *m_reminderMenu = nullptr;
};

} // namespace brevane
