#include "agenda/agendaview.h"

#include "agenda/logging.h"
#include "agenda_editor/frmaddagenda.h"
#include "controls/grid.h"
#include "controls/twips.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/database.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>

#include <array>
#include <cmath>

Q_LOGGING_CATEGORY(lcAgenda, "brevane.agenda", QtWarningMsg)

namespace brevane {

namespace {

constexpr int kSlotRows = 50;
constexpr int kTaskMarkCol = 1;
constexpr int kTaskCol = 2;
constexpr int kCategoryCol = 3;

const QString kAgendaFormat = QStringLiteral("Time||Task|Category");
const QColor kSelection{192, 255, 192};
const QColor kBlack{0, 0, 0};

// The grid row of a time on the half-hour grid: row 1 is "Midnight", row 2
// "12:00 AM", and "Noon" stands between "11:30 AM" and "12:00 PM". 0 for a
// time that is no slot.
int slotRow(const QTime &time)
{
    if (!time.isValid() || time.minute() % 30 != 0)
        return 0;
    return 2 + time.hour() * 2 + time.minute() / 30 + (time.hour() >= 12 ? 1 : 0);
}

// A span is shaded in the button-face colour. Styles that draw buttons
// nearly as light as the grid's cells get a slightly darker shade, so that a
// span stays visible.
QColor spanShade(const QPalette &palette)
{
    const QColor face = palette.color(QPalette::Button);
    const int contrast = std::abs(face.lightness() - palette.color(QPalette::Base).lightness());
    return contrast >= 24 ? face : face.darker(112);
}

// How many half-hour rows a task from start to end shades: at least its
// start row; hours count modulo 12, so that "12" is the first hour of its
// half-day, and morning into afternoon adds the "Noon" row.
int spanRows(const QTime &start, const QTime &end)
{
    const int startHour = start.hour() % 12;
    const int endHour = end.hour() % 12;
    const bool sameHalf = (start.hour() < 12) == (end.hour() < 12);
    const int hours = sameHalf ? endHour - startHour : 12 - startHour + endHour;
    const int minutes = end.minute() - start.minute() + (sameHalf ? 0 : 30);
    return !end.isValid() || (hours == 0 && minutes == 0) ? 1 : minutes / 30 + hours * 2;
}

} // namespace

AgendaView::AgendaView(store::Database &db, QWidget *client)
    : QObject(client), m_db(db), m_reads(std::make_unique<store::AgendaRepository>(db))
{
    m_title = new QLabel(client);
    m_title->setObjectName(QStringLiteral("lblAgendaTitle"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);

    m_grid = new Grid(client);
    m_grid->setObjectName(QStringLiteral("Agenda"));
    m_grid->setAccessibleName(tr("Agenda"));
    m_grid->setFormatString(kAgendaFormat);
    m_grid->setRows(kSlotRows + 1);
    m_grid->setFixedCols(1);
    const QStringList &labels = slotLabels();
    for (int row = 1; row <= kSlotRows; ++row)
        m_grid->setTextMatrix(row, 0, labels.at(row - 1));
    m_grid->setBackColorSel(kSelection);
    twips::setGeometry(m_grid, 0, 1155, 6000, 6000);
    m_rows.resize(kSlotRows + 1);

    // The column widths follow the grid's font, measured like this.
    auto measure = [this, client](const QString &name, const QString &caption) {
        auto *label = new QLabel(caption, client);
        label->setObjectName(name);
        label->setFont(m_grid->table()->font());
        label->adjustSize();
        label->hide();
        return label;
    };
    m_lblTimeWidth = measure(QStringLiteral("lblTimeWidth"), QStringLiteral("Midnight"));
    m_lblCategoryWidth = measure(QStringLiteral("lblCategoryWidth"), QStringLiteral("Anniversary"));

    connect(m_grid, &Grid::doubleClicked, this, &AgendaView::doubleClicked);
    connect(m_grid, &Grid::keyPressed, this, [this](QChar ch) {
        if (ch == u'\r')
            doubleClicked();
    });
    connect(m_grid, &Grid::keyDown, this, [this](int key) {
        if (key == Qt::Key_Delete)
            deleteTask();
    });
    connect(m_grid, &Grid::mouseDown, this, &AgendaView::mousePressed);
    connect(m_grid, &Grid::mouseUp, this, &AgendaView::mouseReleased);
    connect(m_grid, &Grid::keyboardMoved, this, &AgendaView::followSelection);
    connect(m_grid, &Grid::menuKeyPressed, this, [this](const QPoint &pos) {
        followSelection();
        popUpMenu(pos);
    });
    connect(m_grid, &Grid::lostFocus, this, [this] { setSelectionCommandsEnabled(false); });

    buildCommands();
}

AgendaView::~AgendaView()
{
    // The grid outlives this object by a moment; what it signals while being
    // torn down must not reach it.
    disconnect(m_grid, nullptr, this, nullptr);
}

void AgendaView::buildCommands()
{
    m_new = new QAction(tr("New Task"), this);
    m_new->setObjectName(QStringLiteral("mnuNewAgendaTask"));
    m_fileNew = new QAction(tr("Agenda Task"), this);
    m_fileNew->setObjectName(QStringLiteral("mnuFileNewAgendaTask"));
    m_edit = new QAction(tr("Edit Task"), this);
    m_edit->setObjectName(QStringLiteral("mnuEditAgendaTask"));
    m_delete = new QAction(tr("Delete Task"), this);
    m_delete->setObjectName(QStringLiteral("mnuDeleteAgendaTask"));
    connect(m_new, &QAction::triggered, this, &AgendaView::addTask);
    connect(m_fileNew, &QAction::triggered, this, &AgendaView::addTask);
    connect(m_edit, &QAction::triggered, this, &AgendaView::editTask);
    connect(m_delete, &QAction::triggered, this, &AgendaView::deleteTask);

    m_reminderMenu = new QMenu(tr("Reminder"), m_grid);
    m_reminderMenu->setObjectName(QStringLiteral("mnuReminder"));
    m_reminderMenu->menuAction()->setObjectName(QStringLiteral("mnuReminderAction"));
    for (int n = 0; n <= 7; ++n) {
        const QString caption = n == 0 ? tr("None") : n == 1 ? tr("1 Day") : tr("%1 Days").arg(n);
        QAction *entry = m_reminderMenu->addAction(caption);
        entry->setObjectName(QStringLiteral("mnuSetReminder%1").arg(n));
        connect(entry, &QAction::triggered, this, [this, n] { setReminder(n); });
    }
    setSelectionCommandsEnabled(false);
}

QWidget *AgendaView::window() const
{
    return m_grid->window();
}

void AgendaView::setSelectionCommandsEnabled(bool enable)
{
    m_edit->setEnabled(enable);
    m_delete->setEnabled(enable);
    m_reminderMenu->menuAction()->setEnabled(enable);
}

void AgendaView::followSelection()
{
    setSelectionCommandsEnabled(recordAt(m_grid->row()) != store::kNoRecord);
}

std::optional<store::AgendaTask> AgendaView::taskAt(int row) const
{
    return m_rows.value(row);
}

store::RecordId AgendaView::recordAt(int row) const
{
    const std::optional<store::AgendaTask> task = taskAt(row);
    return task ? task->id : store::kNoRecord;
}

void AgendaView::sizeColumns()
{
    const double timeWidth = std::round(twips::width(m_lblTimeWidth) * 1.2);
    const double categoryWidth = std::round(twips::width(m_lblCategoryWidth) * 1.2);
    const double taskWidth =
        std::round(m_grid->widthTwips() - timeWidth - categoryWidth - twips::height(m_lblTimeWidth) * 1.2);
    m_grid->setColWidth(0, timeWidth);
    m_grid->setColWidth(kTaskMarkCol, 0);
    m_grid->setColWidth(kCategoryCol, categoryWidth);
    // Too narrow a grid keeps the task column as it was rather than hide it.
    if (twips::toPixels(m_grid, taskWidth) > 0)
        m_grid->setColWidth(kTaskCol, taskWidth);
}

void AgendaView::showDay(const QDate &day)
{
    if (day.isValid())
        m_wanted = day;
    load(day);
}

void AgendaView::reload()
{
    // After a failed read the grid still shows an older day than the
    // calendar; the calendar's day is the one to read, so that the marks
    // reported belong to the month the calendar shows.
    load(m_wanted.isValid() ? m_wanted : m_day);
}

void AgendaView::load(const QDate &day)
{
    if (!day.isValid())
        return;
    QElapsedTimer timer;
    timer.start();
    // Only what is shown is read: the tasks the grid draws on this day, and
    // the days of the month that have tasks, both through the day index. The
    // cost follows the day, not the month.
    const store::AgendaRepository &agenda = *m_reads;
    const store::ReadResult<store::AgendaDay> read = agenda.dayShown(day.year(), day.month(), day.day());
    const store::ReadResult<QSet<int>> days =
        read.ok() ? agenda.taskDays(day.year(), day.month()) : store::ReadResult<QSet<int>>::failed(read.error);
    if (!days.ok()) {
        // The grid, its title and the day a new task gets stay as they were.
        qCWarning(lcAgenda) << "agenda not read:" << days.error;
        desktop().message(window(),
                          tr("The agenda could not be read from \"%1\", so it still shows what it showed before.\n\n%2")
                              .arg(m_db.path(), days.error),
                          Desktop::Icon::Exclamation);
        return;
    }
    m_day = day;
    m_title->setText(tr("Tasks For: %1 %2, %3").arg(monthName(day.month())).arg(day.day()).arg(day.year()));
    draw(*read.value);
    Q_EMIT taskDaysChanged(*days.value);
    qCDebug(lcAgenda) << "agenda of" << day << "drawn from" << read.value->shown.size() << "tasks in"
                      << timer.elapsed() << "ms";
}

void AgendaView::draw(const store::AgendaDay &shown)
{
    // Every task of the day shades its span, hidden ones too; on each start
    // row stands the last task (in table order) with that start.
    std::array<bool, kSlotRows + 1> shaded{};
    for (const auto &[start, end] : shown.spans) {
        const int row = slotRow(start);
        if (row == 0)
            continue;
        for (int r = row; r < row + spanRows(start, end) && r <= kSlotRows; ++r)
            shaded[r] = true;
    }
    m_rows.clear();
    m_rows.resize(kSlotRows + 1);
    int lastRow = 0;
    for (const store::AgendaTask &task : shown.shown) {
        // A start time that is no slot has no row to stand on.
        const int row = slotRow(task.start);
        if (row == 0)
            continue;
        m_rows[row] = task;
        lastRow = row;
    }

    // Each cell is written once and only what differs from the day before
    // changes; the header, the columns and the scroll bar stay as they are,
    // so that another day repaints the cells alone, once.
    QWidget *cells = m_grid->table()->viewport();
    cells->setUpdatesEnabled(false);
    const QColor shade = spanShade(m_grid->table()->palette());
    for (int row = 1; row <= kSlotRows; ++row) {
        const std::optional<store::AgendaTask> &task = m_rows.at(row);
        m_grid->setTextMatrix(row, kTaskMarkCol, task ? QStringLiteral(".") : QString());
        m_grid->setTextMatrix(row, kTaskCol, task ? task->shownText : QString());
        m_grid->setTextMatrix(row, kCategoryCol, task ? task->category : QString());
        // The shade alone would keep a task's time from screen readers.
        const QString taken = shaded[row] ? tr("within a task's time") : QString();
        for (int col = kTaskMarkCol; col <= kCategoryCol; ++col) {
            m_grid->setCellBackColorAt(row, col, shaded[row] ? shade : QColor());
            m_grid->setCellForeColorAt(row, col, shaded[row] ? kBlack : QColor());
            m_grid->setCellDescriptionAt(row, col, taken);
        }
    }
    m_grid->setRow(kSlotRows);
    m_grid->setCol(0);
    setSelectionCommandsEnabled(false);
    if (lastRow > 0)
        m_grid->setRow(lastRow);
    m_grid->setCol(kTaskMarkCol);
    cells->setUpdatesEnabled(true);
}

bool AgendaView::selectTask(store::RecordId id)
{
    for (int row = 1; row <= kSlotRows; ++row) {
        if (recordAt(row) == id) {
            m_grid->setFocus();
            m_grid->selectRow(row, kTaskMarkCol);
            setSelectionCommandsEnabled(true);
            return true;
        }
    }
    return false;
}

store::ReadResult<QDate> AgendaView::dayOfTask(store::RecordId id) const
{
    const store::ReadResult<store::AgendaTask> read = store::AgendaRepository(m_db).byId(id);
    if (!read.ok()) {
        // Not to be taken for a task that is gone.
        qCWarning(lcAgenda) << "agenda task not read:" << read.error;
        desktop().message(window(), tr("The agenda could not be read from \"%1\".\n\n%2").arg(m_db.path(), read.error),
                          Desktop::Icon::Exclamation);
        return store::ReadResult<QDate>::failed(read.error);
    }
    if (!read.value)
        return {};
    return {read.value->date(), {}};
}

void AgendaView::focusGrid()
{
    m_grid->setFocus();
    m_grid->setCol(kTaskMarkCol);
}

frmAddAgenda *AgendaView::newEditor()
{
    auto *editor = new frmAddAgenda(m_db, window());
    editor->setAttribute(Qt::WA_DeleteOnClose);
    connect(editor, &frmAddAgenda::saved, this, &AgendaView::reload);
    connect(editor, &frmAddAgenda::unloaded, this, [this] { m_grid->setCol(kTaskMarkCol); });
    m_editors.removeAll(nullptr);
    m_editors.append(editor);
    return editor;
}

void AgendaView::addTask()
{
    frmAddAgenda *editor = newEditor();
    // "9:30 AM": hour before the colon, two minute digits after it, AM/PM
    // after the blank. "Midnight" and "Noon" carry no time: the editor keeps
    // its own.
    const QString label = m_grid->textMatrix(m_grid->row(), 0);
    const qsizetype colon = label.indexOf(u':');
    const qsizetype blank = label.indexOf(u' ');
    if (colon > 0 && blank > colon)
        editor->presetStartTime(label.left(colon), label.mid(colon + 1, 2), label.mid(blank + 1, 2));
    editor->presetDate(m_day.day(), m_day.month() - 1, m_day.year());
    editor->show();
    editor->activateWindow();
}

void AgendaView::editTask()
{
    const store::RecordId id = recordAt(m_grid->row());
    m_grid->setCol(kTaskMarkCol);
    if (id == store::kNoRecord) {
        desktop().message(window(), tr("Please Select A Record To Edit"), Desktop::Icon::Exclamation);
        return;
    }
    for (const QPointer<frmAddAgenda> &open : std::as_const(m_editors)) {
        if (open && open->isEditMode() && open->recordId() == id && open->isVisible()) {
            open->raise();
            open->activateWindow();
            return;
        }
    }
    frmAddAgenda *editor = newEditor();
    if (!editor->editRecord(id, {m_day.day(), m_day.month(), m_day.year()})) {
        // Gone from the file since the agenda was drawn.
        editor->close();
        reload();
        return;
    }
    editor->show();
    editor->activateWindow();
}

void AgendaView::deleteTask()
{
    const std::optional<store::AgendaTask> task = taskAt(m_grid->row());
    if (!task) {
        desktop().message(window(), tr("Please Select A Record To Delete"), Desktop::Icon::Exclamation);
        m_grid->setCol(kTaskMarkCol);
        return;
    }
    const Desktop::Answer answer = desktop().message(window(), tr("Delete '%1' From Agenda?").arg(task->shownText),
                                                     Desktop::Icon::Question, Desktop::Buttons::YesNo);
    if (answer != Desktop::Answer::Yes) {
        m_grid->setCol(kTaskMarkCol);
        return;
    }
    // Exactly the task on the selected row, never another of the same day
    // that shares its time and text.
    if (const store::WriteResult result = store::AgendaRepository(m_db).remove(task->id); !result) {
        desktop().message(window(), tr("The task could not be deleted: %1").arg(result.error),
                          Desktop::Icon::Exclamation);
    }
    reload();
}

void AgendaView::setReminder(int leadDays)
{
    const std::optional<store::AgendaTask> task = taskAt(m_grid->row());
    m_grid->setCol(kTaskMarkCol);
    if (!task)
        return;
    // Read afresh: the reminder falls before the day the task has in the file.
    store::AgendaRepository repository(m_db);
    const store::ReadResult<store::AgendaTask> read = repository.byId(task->id);
    if (read.ok() && !read.value)
        return;
    store::AgendaTask changed = read.value.value_or(*task);
    store::AgendaRepository::setReminderLead(changed, leadDays);
    const store::WriteResult result =
        read.ok() ? repository.update(changed, store::AgendaField::Reminder) : store::WriteResult{false, read.error};
    if (!result) {
        desktop().message(window(), tr("The reminder of \"%1\" was not saved.\n\n%2").arg(task->shownText, result.error),
                          Desktop::Icon::Exclamation);
    }
}

void AgendaView::doubleClicked()
{
    m_grid->setCol(kTaskCol);
    if (recordAt(m_grid->row()) == store::kNoRecord)
        addTask();
    else
        editTask();
}

void AgendaView::mousePressed()
{
    m_grid->setFocus(Qt::MouseFocusReason);
    if (m_grid->mouseRow() >= 1)
        m_grid->selectRow(m_grid->mouseRow(), kTaskMarkCol);
    // Judged on the row just selected: only a task's start row carries the
    // task, whichever of its cells was pressed.
    followSelection();
}

void AgendaView::mouseReleased(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button != Qt::RightButton)
        return;
    followSelection();
    if (m_grid->mouseRow() == 0) {
        setSelectionCommandsEnabled(false);
        m_grid->setCol(kTaskMarkCol);
    }
    popUpMenu(globalPos);
}

void AgendaView::popUpMenu(const QPoint &globalPos)
{
    if (m_contextMenu)
        desktop().popupMenu(m_contextMenu, globalPos);
}

} // namespace brevane
