// The to-do list of the main window: the grid under the calendar, its three
// buttons, the "To-Do List" menu (also the grid's pop-up) and the editor.

#include "app/frmmain.h"

#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "controls/twips.h"
#include "core/logging.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/names.h"
#include "store/recordset.h"
#include "todo_editor/frmaddtodo.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>
#include <functional>

namespace brevane {

namespace names = store::names;

namespace {

const QString kToDoFormat = QStringLiteral("To-Do List|Priority");
const QString kDone = QStringLiteral("Yes");
const QString kNotDone = QStringLiteral("No");
// Design height of the three buttons under the list, in twips.
constexpr double kToDoButtonHeight = 375;

// Tells the user when a change did not reach the file.
void reportToDoWrite(QWidget *parent, const store::WriteResult &result, const QString &what)
{
    if (!result) {
        desktop().message(parent, QStringLiteral("The to-do item could not be %1: %2").arg(what, result.error),
                          Desktop::Icon::Critical);
    }
}

// Calls back on a double click with the left button in the watched widget.
class DoubleClickWatcher final : public QObject
{
public:
    DoubleClickWatcher(QWidget *watched, QObject *receiver, std::function<void()> onDoubleClick)
        : QObject(watched), m_receiver(receiver), m_onDoubleClick(std::move(onDoubleClick))
    {
        watched->installEventFilter(this);
    }
    Q_DISABLE_COPY_MOVE(DoubleClickWatcher)

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_receiver && event->type() == QEvent::MouseButtonDblClick
            && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
            // After the grid has handled the press that comes with it.
            QMetaObject::invokeMethod(m_receiver, m_onDoubleClick, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPointer<QObject> m_receiver;
    std::function<void()> m_onDoubleClick;
};

} // namespace

void frmMain::setupToDoList()
{
    m_toDo = new Grid(m_client);
    m_toDo->setObjectName(QStringLiteral("ToDo"));
    m_toDo->setAccessibleName(QStringLiteral("To-Do List"));
    m_toDo->setFormatString(kToDoFormat);

    // Measures the Priority column; it shares the grid's font.
    m_lblPriorityWidth = new QLabel(QStringLiteral("Priority"), m_client);
    m_lblPriorityWidth->setObjectName(QStringLiteral("lblPriorityWidth"));
    m_lblPriorityWidth->setFont(m_toDo->font());
    m_lblPriorityWidth->hide();

    auto makeButton = [this](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, m_client);
        button->setObjectName(name);
        twips::setGeometry(button, 0, 0, 1800, kToDoButtonHeight);
        return button;
    };
    m_cmdAddToDoTask = makeButton(QStringLiteral("cmdAddToDoTask"), QStringLiteral("New To-Do Item"));
    m_cmdEditToDoTask = makeButton(QStringLiteral("cmdEditToDoTask"), QStringLiteral("Edit To-Do Item"));
    m_cmdDeleteToDoTask = makeButton(QStringLiteral("cmdDeleteToDoTask"), QStringLiteral("Delete To-Do Item"));
    // Edit and Delete act on the grid's selection, which lasts only while the
    // grid has the focus: a click on them must not take the focus away first.
    m_cmdEditToDoTask->setFocusPolicy(Qt::TabFocus);
    m_cmdDeleteToDoTask->setFocusPolicy(Qt::TabFocus);
    enableButton(m_cmdAddToDoTask, true);

    m_mnuToDo = findChild<QMenu *>(QStringLiteral("mnuToDo"));
    m_mnuEditToDoItem = findChild<QAction *>(QStringLiteral("mnuEditToDoItem"));
    m_mnuDeleteToDoTask = findChild<QAction *>(QStringLiteral("mnuDeleteToDoTask"));
    m_mnuPriority = findChild<QMenu *>(QStringLiteral("mnuPriority"))->menuAction();
    m_mnuMarkAsDone = findChild<QAction *>(QStringLiteral("mnuMarkAsDone"));
    enableToDoSelection(false);

    for (const char *name : {"mnuNewToDoItem", "mnuFileNewToDoItem"}) {
        QAction *add = findChild<QAction *>(QLatin1String(name));
        add->setEnabled(true);
        connect(add, &QAction::triggered, this, &frmMain::openToDoEditorForAdd);
    }
    connect(m_cmdAddToDoTask, &QPushButton::clicked, this, &frmMain::openToDoEditorForAdd);
    connect(m_cmdEditToDoTask, &QPushButton::clicked, this, &frmMain::editToDoTask);
    connect(m_mnuEditToDoItem, &QAction::triggered, this, &frmMain::editToDoTask);
    connect(m_cmdDeleteToDoTask, &QPushButton::clicked, this, &frmMain::deleteToDoTask);
    connect(m_mnuDeleteToDoTask, &QAction::triggered, this, &frmMain::deleteToDoTask);
    for (int code = 1; code <= 3; ++code) {
        connect(findChild<QAction *>(QStringLiteral("mnuSetPriority%1").arg(code)), &QAction::triggered, this,
                [this, code] { setToDoPriority(code); });
    }
    connect(m_mnuMarkAsDone, &QAction::triggered, this, &frmMain::markToDoAsDone);

    connect(m_toDo, &Grid::clicked, this, [this] { ToDo_Click(); });
    connect(m_toDo, &Grid::doubleClicked, this, [this] { ToDo_DblClick(); });
    connect(m_toDo, &Grid::keyPressed, this, [this](QChar key) { ToDo_KeyPress(key); });
    connect(m_toDo, &Grid::keyDown, this, [this](int key) { ToDo_KeyDown(key); });
    connect(m_toDo, &Grid::mouseDown, this,
            [this](Qt::MouseButton button, const QPoint &pos) { ToDo_MouseDown(button, pos); });
    connect(m_toDo, &Grid::mouseUp, this,
            [this](Qt::MouseButton button, const QPoint &pos) { ToDo_MouseUp(button, pos); });
    connect(m_toDo, &Grid::lostFocus, this, [this] { enableToDoSelection(false); });
    // The grid reports double clicks on its items only; one on the header
    // starts a new item.
    new DoubleClickWatcher(m_toDo->table()->horizontalHeader()->viewport(), this, [this] {
        focusAgendaGrid();
        openToDoEditorForAdd();
    });
}

void frmMain::layoutToDoList(double left, double top, double width, double agendaHeight)
{
    // A size the window is too small for keeps the previous one.
    const double height = agendaHeight * 0.4 - twips::height(m_cmdAddToDoTask) - 120;
    twips::setLeft(m_toDo, left);
    twips::setTop(m_toDo, top);
    twips::setWidthIfRoom(m_toDo, width);
    twips::setHeightIfRoom(m_toDo, height);

    const double buttonTop = twips::top(m_toDo) + twips::height(m_toDo) + 60;
    const double buttonWidth = (twips::width(m_toDo) - 240) / 3;
    double buttonLeft = twips::left(m_toDo) + 60;
    for (FlatButton *button : {m_cmdAddToDoTask, m_cmdEditToDoTask, m_cmdDeleteToDoTask}) {
        twips::setTop(button, buttonTop);
        twips::setLeft(button, buttonLeft);
        twips::setWidthIfRoom(button, buttonWidth);
        buttonLeft += twips::width(button) + 60;
    }
    // The columns follow the grid's width as the window is resized.
    setToDoColumnWidths();
}

void frmMain::setToDoColumnWidths()
{
    const QFontMetricsF metrics(m_lblPriorityWidth->font());
    const double priorityWidth =
        1.5 * twips::fromPixels(m_toDo, qRound(metrics.horizontalAdvance(m_lblPriorityWidth->text())));
    // 1.2 lines of text leave room for the vertical scroll bar; where the
    // style draws a wider one (with the grid's frame), its width is left.
    const double lineHeight = twips::fromPixels(m_toDo, qRound(QFontMetricsF(m_toDo->font()).height()));
    const int scrollBar = m_toDo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_toDo)
                          + 2 * m_toDo->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_toDo) + 2;
    const double room = std::max(1.2 * lineHeight, twips::fromPixels(m_toDo, scrollBar));
    const double itemWidth = m_toDo->widthTwips() - priorityWidth - room;
    m_toDo->setColWidth(1, priorityWidth);
    // Never 0, which would hide the column.
    m_toDo->setColWidth(0, std::max(itemWidth, twips::fromPixels(m_toDo, 1)));
}

void frmMain::loadToDoList()
{
    QElapsedTimer timer;
    timer.start();
    // Filled with updates off: one repaint for the whole list.
    m_toDo->setUpdatesEnabled(false);
    m_toDo->clear();
    m_toDo->setFormatString(kToDoFormat);
    setToDoColumnWidths();

    if (!m_dtaToDo)
        m_dtaToDo = std::make_unique<store::RecordSet>(m_db, names::ToDoQuery);
    else
        (void)m_dtaToDo->requery();
    const int count = m_dtaToDo->recordCount();
    m_toDo->setRows(count + 1);
    m_toDoRecords.clear();
    m_toDoRecords.reserve(count);
    int row = 1;
    for (m_dtaToDo->moveFirst(); !m_dtaToDo->eof() && row <= count; m_dtaToDo->moveNext(), ++row) {
        m_toDo->setTextMatrix(row, 0, m_dtaToDo->field(names::todo::Task));
        m_toDo->setTextMatrix(row, 1, priorityName(m_dtaToDo->field(names::todo::Priority)));
        if (m_dtaToDo->field(names::todo::Done) == kDone) {
            m_toDo->setCellStrikeThroughAt(row, 0, true);
            m_toDo->setCellStrikeThroughAt(row, 1, true);
        }
        m_toDoRecords.append(m_dtaToDo->recordId());
    }
    m_toDo->setUpdatesEnabled(true);

    enableToDoSelection(false);
    if (count > 0)
        m_toDo->selectRow(1, 0);
    else
        focusAgendaGrid();
    qCDebug(lcApp) << "to-do list of" << count << "items built in" << timer.elapsed() << "ms";
}

int frmMain::selectedToDoRow() const
{
    const int row = m_toDo->row();
    return row >= 1 && row <= m_toDoRecords.size() ? row : 0;
}

bool frmMain::findToDoItem(const QString &text, const QString &code)
{
    if (!m_dtaToDo)
        return false;
    for (m_dtaToDo->moveFirst(); !m_dtaToDo->eof(); m_dtaToDo->moveNext()) {
        if (m_dtaToDo->field(names::todo::Task) == text && m_dtaToDo->field(names::todo::Priority) == code)
            return true;
    }
    return false;
}

void frmMain::enableToDoSelection(bool enable)
{
    enableButton(m_cmdEditToDoTask, enable);
    enableButton(m_cmdDeleteToDoTask, enable);
    m_mnuEditToDoItem->setEnabled(enable);
    m_mnuDeleteToDoTask->setEnabled(enable);
    m_mnuPriority->setEnabled(enable);
    m_mnuMarkAsDone->setEnabled(enable);
}

void frmMain::focusAgendaGrid()
{
    m_agenda->setFocus();
    m_agenda->setCol(1);
}

frmAddToDo *frmMain::toDoEditor()
{
    if (!m_frmAddToDo) {
        m_frmAddToDo = new frmAddToDo(m_db, this);
        connect(m_frmAddToDo, &frmAddToDo::saved, this, [this] { loadToDoList(); });
        connect(m_frmAddToDo, &frmAddToDo::closed, this, [this] { toDoEditorClosed(); });
    }
    return m_frmAddToDo;
}

void frmMain::openToDoEditorForAdd()
{
    toDoEditor()->openForAdd();
}

void frmMain::toDoEditorClosed()
{
    m_frmAddToDo = nullptr;
    const int row = selectedToDoRow();
    if (row > 0)
        m_toDo->selectRow(row, 0);
    else
        m_toDo->setCol(0);
}

void frmMain::editToDoTask()
{
    const int row = selectedToDoRow();
    if (row == 0) {
        desktop().message(this, QStringLiteral("Please Select A Task To Edit"), Desktop::Icon::Exclamation);
    } else if (!toDoEditor()->openForEdit(m_toDoRecords.at(row - 1))) {
        openToDoEditorForAdd();
    }
    enableToDoSelection(false);
}

void frmMain::deleteToDoTask()
{
    const int row = selectedToDoRow();
    if (row == 0) {
        desktop().message(this, QStringLiteral("Please Select A Task To Delete"), Desktop::Icon::Exclamation);
        return;
    }
    const QString text = m_toDo->textMatrix(row, 0);
    if (desktop().message(this, QStringLiteral("Delete '") + text + QStringLiteral("' From To-Do List?"),
                          Desktop::Icon::Question, Desktop::Buttons::YesNo)
        != Desktop::Answer::Yes)
        return;
    if (m_dtaToDo->moveToRecord(m_toDoRecords.at(row - 1)))
        reportToDoWrite(this, m_dtaToDo->deleteCurrent(), QStringLiteral("deleted"));
    loadToDoList();
    enableToDoSelection(false);
}

void frmMain::setToDoPriority(int code)
{
    const int row = selectedToDoRow();
    if (row == 0 || !m_dtaToDo->moveToRecord(m_toDoRecords.at(row - 1)))
        return;
    m_dtaToDo->edit();
    m_dtaToDo->setField(names::todo::Priority, QString::number(code));
    reportToDoWrite(this, m_dtaToDo->update(), QStringLiteral("saved"));
    loadToDoList();
}

void frmMain::markToDoAsDone()
{
    const int row = selectedToDoRow();
    if (row == 0 || !m_dtaToDo->moveToRecord(m_toDoRecords.at(row - 1)))
        return;
    const bool done = m_dtaToDo->field(names::todo::Done) == kDone;
    m_dtaToDo->edit();
    m_dtaToDo->setField(names::todo::Done, done ? kNotDone : kDone);
    reportToDoWrite(this, m_dtaToDo->update(), QStringLiteral("saved"));
    loadToDoList();
    m_toDo->selectRow(row, 0);
}

void frmMain::updateMarkAsDoneCaption(int row)
{
    m_mnuMarkAsDone->setText(m_toDo->cellStrikeThroughAt(row, 0) ? QStringLiteral("Mark as Not Done")
                                                                 : QStringLiteral("Mark as Done"));
}

void frmMain::ToDo_Click()
{
    if (const int row = selectedToDoRow()) {
        updateMarkAsDoneCaption(row);
        enableToDoSelection(true);
    } else {
        focusAgendaGrid();
    }
}

void frmMain::ToDo_DblClick()
{
    focusAgendaGrid();
    // A double click on an item edits it; on the header or below the last
    // item it starts a new one.
    if (m_toDo->mouseRow() >= 1 && selectedToDoRow() != 0) {
        editToDoTask();
    } else {
        openToDoEditorForAdd();
    }
}

void frmMain::ToDo_KeyPress(QChar key)
{
    if (key != u'\r')
        return;
    focusAgendaGrid();
    if (selectedToDoRow() != 0)
        editToDoTask();
    else
        openToDoEditorForAdd();
}

void frmMain::ToDo_KeyDown(int key)
{
    if (key == Qt::Key_Delete)
        deleteToDoTask();
}

void frmMain::ToDo_MouseDown(Qt::MouseButton button, const QPoint & /*globalPos*/)
{
    m_toDo->setFocus();
    if (button != Qt::RightButton)
        return;
    const int row = m_toDo->mouseRow();
    if (row >= 1 && row <= m_toDoRecords.size()) {
        m_toDo->selectRow(row, 0);
        updateMarkAsDoneCaption(row);
        enableToDoSelection(true);
    } else if (row == 0) {
        focusAgendaGrid();
    }
}

void frmMain::ToDo_MouseUp(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        desktop().popupMenu(m_mnuToDo, globalPos);
}

} // namespace brevane
