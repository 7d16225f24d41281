#include "todo/todoview.h"

#include "controls/flatbutton.h"
#include "controls/grid.h"
#include "controls/twips.h"
#include "core/organizer.h"
#include "platform/desktop.h"
#include "store/database.h"
#include "todo/logging.h"
#include "todo_editor/frmaddtodo.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QStyle>
#include <QTableWidget>

#include <algorithm>
#include <functional>
#include <utility>

Q_LOGGING_CATEGORY(lcToDo, "brevane.todo", QtWarningMsg)

namespace brevane {

namespace {

const QString kToDoFormat = QStringLiteral("To-Do List|Priority");
// Items are read by identity this many rows at a time.
constexpr int kPageRows = 64;
// Design height of the three buttons under the list, in twips.
constexpr double kButtonHeight = 375;

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

ToDoView::ToDoView(store::Database &db, QWidget *client)
    : QObject(client), m_db(db)
{
    m_grid = new Grid(client);
    m_grid->setObjectName(QStringLiteral("ToDo"));
    m_grid->setAccessibleName(tr("To-Do List"));
    m_grid->setFormatString(kToDoFormat);
    // A row is written when it is first shown or read, so that a long list
    // costs what the screen shows.
    m_grid->setRowFiller([this](int row) { drawRow(row); });

    // Measures the Priority column; it shares the grid's font.
    m_lblPriorityWidth = new QLabel(QStringLiteral("Priority"), client);
    m_lblPriorityWidth->setObjectName(QStringLiteral("lblPriorityWidth"));
    m_lblPriorityWidth->setFont(m_grid->font());
    m_lblPriorityWidth->hide();

    auto makeButton = [client](const QString &name, const QString &caption) {
        auto *button = new FlatButton(caption, client);
        button->setObjectName(name);
        twips::setGeometry(button, 0, 0, 1800, kButtonHeight);
        return button;
    };
    m_cmdAdd = makeButton(QStringLiteral("cmdAddToDoTask"), tr("New To-Do Item"));
    m_cmdEdit = makeButton(QStringLiteral("cmdEditToDoTask"), tr("Edit To-Do Item"));
    m_cmdDelete = makeButton(QStringLiteral("cmdDeleteToDoTask"), tr("Delete To-Do Item"));
    // Edit and Delete act on the grid's selection, which lasts only while the
    // grid has the focus: a click on them must not take the focus away first.
    m_cmdEdit->setFocusPolicy(Qt::TabFocus);
    m_cmdDelete->setFocusPolicy(Qt::TabFocus);
    m_cmdAdd->enableWithEdges(true, kEdgeGrey);

    buildCommands();
    connect(m_cmdAdd, &QPushButton::clicked, this, &ToDoView::addItem);
    connect(m_cmdEdit, &QPushButton::clicked, this, &ToDoView::editItem);
    connect(m_cmdDelete, &QPushButton::clicked, this, &ToDoView::deleteItem);

    connect(m_grid, &Grid::clicked, this, &ToDoView::clicked);
    connect(m_grid, &Grid::doubleClicked, this, &ToDoView::doubleClicked);
    connect(m_grid, &Grid::keyPressed, this, &ToDoView::keyPressed);
    connect(m_grid, &Grid::keyDown, this, [this](int key) {
        if (key == Qt::Key_Delete)
            deleteItem();
    });
    connect(m_grid, &Grid::mouseDown, this, &ToDoView::mousePressed);
    connect(m_grid, &Grid::mouseUp, this, [this](Qt::MouseButton button, const QPoint &globalPos) {
        if (button == Qt::RightButton && m_contextMenu)
            desktop().popupMenu(m_contextMenu, globalPos);
    });
    connect(m_grid, &Grid::keyboardMoved, this, &ToDoView::keyboardMoved);
    connect(m_grid, &Grid::menuKeyPressed, this, [this](const QPoint &globalPos) {
        keyboardMoved();
        if (m_contextMenu)
            desktop().popupMenu(m_contextMenu, globalPos);
    });
    connect(m_grid, &Grid::lostFocus, this, [this] { setSelectionCommandsEnabled(false); });
    // The grid reports double clicks on its items only; one on the header
    // starts a new item.
    new DoubleClickWatcher(m_grid->table()->horizontalHeader()->viewport(), this, [this] {
        Q_EMIT focusLeaves();
        addItem();
    });
}

ToDoView::~ToDoView()
{
    // The grid outlives this object by a moment; what it signals while being
    // torn down must not reach it, nor may it ask for rows.
    disconnect(m_grid, nullptr, this, nullptr);
    m_grid->setRowFiller({});
}

void ToDoView::buildCommands()
{
    const auto action = [this](const char *name, const QString &caption) {
        auto *created = new QAction(caption, this);
        created->setObjectName(QLatin1String(name));
        return created;
    };
    m_new = action("mnuNewToDoItem", tr("New Item"));
    m_fileNew = action("mnuFileNewToDoItem", tr("To-Do Item"));
    m_edit = action("mnuEditToDoItem", tr("Edit Item"));
    m_delete = action("mnuDeleteToDoTask", tr("Delete Item"));
    m_markAsDone = action("mnuMarkAsDone", tr("Mark as Done/Not Done"));
    m_priorityMenu = new QMenu(tr("Priority"), m_grid);
    m_priorityMenu->setObjectName(QStringLiteral("mnuPriority"));
    m_priorityMenu->menuAction()->setObjectName(QStringLiteral("mnuPriorityAction"));
    for (int code = 1; code <= 3; ++code) {
        QAction *entry = m_priorityMenu->addAction(priorityNames().at(code - 1));
        entry->setObjectName(QStringLiteral("mnuSetPriority%1").arg(code));
        connect(entry, &QAction::triggered, this, [this, code] { setPriority(code); });
    }
    connect(m_new, &QAction::triggered, this, &ToDoView::addItem);
    connect(m_fileNew, &QAction::triggered, this, &ToDoView::addItem);
    connect(m_edit, &QAction::triggered, this, &ToDoView::editItem);
    connect(m_delete, &QAction::triggered, this, &ToDoView::deleteItem);
    connect(m_markAsDone, &QAction::triggered, this, &ToDoView::toggleDone);
    setSelectionCommandsEnabled(false);
}

QWidget *ToDoView::window() const
{
    return m_grid->window();
}

void ToDoView::sizeColumns()
{
    const QFontMetricsF metrics(m_lblPriorityWidth->font());
    const double priorityWidth =
        1.5 * twips::fromPixels(m_grid, qRound(metrics.horizontalAdvance(m_lblPriorityWidth->text())));
    // 1.2 lines of text leave room for the vertical scroll bar; where the
    // style draws a wider one (with the grid's frame), its width is left.
    const double lineHeight = twips::fromPixels(m_grid, qRound(QFontMetricsF(m_grid->font()).height()));
    const int scrollBar = m_grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_grid)
                          + 2 * m_grid->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_grid) + 2;
    const double room = std::max(1.2 * lineHeight, twips::fromPixels(m_grid, scrollBar));
    const double itemWidth = m_grid->widthTwips() - priorityWidth - room;
    m_grid->setColWidth(1, priorityWidth);
    // Never 0, which would hide the column.
    m_grid->setColWidth(0, std::max(itemWidth, twips::fromPixels(m_grid, 1)));
}

bool ToDoView::reload()
{
    QElapsedTimer timer;
    timer.start();
    // Only the identities, in list order: the items themselves are read a
    // page at a time as their rows are shown.
    const store::ReadResult<QList<store::RecordId>> read = store::ToDoRepository(m_db).ids();
    if (!read.ok()) {
        qCWarning(lcToDo) << "to-do list not read:" << read.error;
        desktop().message(
            window(),
            tr("The to-do list could not be read from \"%1\", so it still shows what it showed before.\n\n%2")
                .arg(m_db.path(), read.error),
            Desktop::Icon::Exclamation);
        return false;
    }
    m_ids = *read.value;
    m_cache.clear();

    // The rows themselves are written by drawRow() as they are shown.
    m_grid->setUpdatesEnabled(false);
    m_grid->clear();
    m_grid->setFormatString(kToDoFormat);
    sizeColumns();
    const int count = int(m_ids.size());
    m_grid->setRows(count + 1);
    m_grid->setUpdatesEnabled(true);
    selectFirst();
    qCDebug(lcToDo) << "to-do list of" << count << "items built in" << timer.elapsed() << "ms";
    return true;
}

void ToDoView::drawRow(int row)
{
    const store::ToDoItem item = itemAt(row).value_or(store::ToDoItem{});
    m_grid->setTextMatrix(row, 0, item.text);
    m_grid->setTextMatrix(row, 1, priorityName(QString::number(item.priority)));
    // Struck-through text alone would keep "done" from screen readers.
    const QString done = item.done ? tr("done") : QString();
    for (int col = 0; col <= 1; ++col) {
        m_grid->setCellStrikeThroughAt(row, col, item.done);
        m_grid->setCellDescriptionAt(row, col, done);
    }
}

void ToDoView::selectFirst()
{
    setSelectionCommandsEnabled(false);
    if (!m_ids.isEmpty())
        m_grid->selectRow(1, 0);
    else
        Q_EMIT focusLeaves();
}

void ToDoView::changeRow(int row, const store::ToDoItem &item, store::ToDoFields fields)
{
    // Only the row changed is redrawn, once the file holds the change. After
    // a failed write (the item may be gone) the list shows the file again.
    const store::WriteResult result = store::ToDoRepository(m_db).update(item, fields);
    reportWrite(result, tr("saved"));
    if (!result) {
        reload();
        return;
    }
    m_cache.insert(item.id, item);
    m_grid->refillRow(row);
}

void ToDoView::reportFailedRead(const QString &error) const
{
    qCWarning(lcToDo) << "to-do items not read:" << error;
    // Rows are read while being painted: the message waits for the paint to end.
    if (std::exchange(m_readFailureReported, true))
        return;
    QMetaObject::invokeMethod(
        const_cast<ToDoView *>(this),
        [this, error] {
            m_readFailureReported = false;
            desktop().message(window(), tr("The to-do list could not be read from \"%1\".\n\n%2").arg(m_db.path(), error),
                              Desktop::Icon::Exclamation);
        },
        Qt::QueuedConnection);
}

int ToDoView::selectedRow() const
{
    const int row = m_grid->row();
    return row >= 1 && row <= m_ids.size() ? row : 0;
}

std::optional<store::ToDoItem> ToDoView::itemAt(int row) const
{
    if (row < 1 || row > m_ids.size())
        return std::nullopt;
    const store::RecordId id = m_ids.at(row - 1);
    if (const auto cached = m_cache.constFind(id); cached != m_cache.cend())
        return *cached;
    // The page of rows around this one, read by identity.
    const int first = (row - 1) / kPageRows * kPageRows;
    const store::ReadResult<QList<store::ToDoItem>> read =
        store::ToDoRepository(m_db).byIds(m_ids.mid(first, kPageRows));
    if (!read.ok()) {
        reportFailedRead(read.error);
        return std::nullopt;
    }
    for (const store::ToDoItem &item : *read.value)
        m_cache.insert(item.id, item);
    // An item deleted elsewhere since the list was read has no page entry.
    return m_cache.value(id, store::ToDoItem{id, {}, {}, false, 0});
}

bool ToDoView::selectItem(store::RecordId id)
{
    for (int row = 1; row <= m_ids.size(); ++row) {
        if (m_ids.at(row - 1) == id) {
            m_grid->setFocus();
            m_grid->selectRow(row, 0);
            updateMarkAsDoneCaption(row);
            setSelectionCommandsEnabled(true);
            return true;
        }
    }
    return false;
}

void ToDoView::setSelectionCommandsEnabled(bool enable)
{
    m_cmdEdit->enableWithEdges(enable, kEdgeGrey);
    m_cmdDelete->enableWithEdges(enable, kEdgeGrey);
    m_edit->setEnabled(enable);
    m_delete->setEnabled(enable);
    m_priorityMenu->menuAction()->setEnabled(enable);
    m_markAsDone->setEnabled(enable);
}

frmAddToDo *ToDoView::editor()
{
    if (!m_editor) {
        m_editor = new frmAddToDo(m_db, window());
        connect(m_editor, &frmAddToDo::saved, this, &ToDoView::itemSaved);
        connect(m_editor, &frmAddToDo::closed, this, &ToDoView::editorClosed);
    }
    return m_editor;
}

void ToDoView::itemSaved(store::RecordId id)
{
    m_cache.remove(id);
    const qsizetype at = m_ids.indexOf(id);
    if (at >= 0) {
        m_grid->refillRow(int(at) + 1);
    } else if (m_ids.isEmpty() || id > m_ids.constLast()) {
        // The list is in the order items were added: a new item comes last.
        m_ids.append(id);
        m_grid->setRows(int(m_ids.size()) + 1);
    } else {
        reload();
        return;
    }
    selectFirst();
}

void ToDoView::addItem()
{
    editor()->openForAdd();
}

void ToDoView::editorClosed()
{
    m_editor = nullptr;
    if (const int row = selectedRow())
        m_grid->selectRow(row, 0);
    else
        m_grid->setCol(0);
}

void ToDoView::editItem()
{
    const int row = selectedRow();
    if (row == 0) {
        desktop().message(window(), tr("Please Select A Task To Edit"), Desktop::Icon::Exclamation);
    } else if (editorMayTakeAnotherItem()
               && editor()->openForEdit(m_ids.at(row - 1)) == frmAddToDo::Opened::Gone) {
        // Only an item gone from the file is added afresh: after a failed
        // read an empty editor would just make a second item.
        addItem();
    }
    setSelectionCommandsEnabled(false);
}

bool ToDoView::editorMayTakeAnotherItem()
{
    // The one editor window is filled afresh for each item it edits, which
    // would throw away what the user typed in it and has not saved.
    if (!m_editor || !m_editor->hasUnsavedChanges())
        return true;
    if (desktop().message(window(), tr("The to-do item being edited has changes that are not saved.  Discard them?"),
                          Desktop::Icon::Question, Desktop::Buttons::YesNo)
        == Desktop::Answer::Yes)
        return true;
    m_editor->raise();
    m_editor->activateWindow();
    return false;
}

void ToDoView::reportWrite(const store::WriteResult &result, const QString &what)
{
    if (!result) {
        desktop().message(window(), tr("The to-do item could not be %1: %2").arg(what, result.error),
                          Desktop::Icon::Critical);
    }
}

void ToDoView::deleteItem()
{
    const int row = selectedRow();
    if (row == 0) {
        desktop().message(window(), tr("Please Select A Task To Delete"), Desktop::Icon::Exclamation);
        return;
    }
    const std::optional<store::ToDoItem> read = itemAt(row);
    if (!read)
        return;
    const store::ToDoItem item = *read;
    if (desktop().message(window(), tr("Delete '%1' From To-Do List?").arg(item.text), Desktop::Icon::Question,
                          Desktop::Buttons::YesNo)
        != Desktop::Answer::Yes)
        return;
    const store::WriteResult result = store::ToDoRepository(m_db).remove(item.id);
    reportWrite(result, tr("deleted"));
    if (!result) {
        reload();
        setSelectionCommandsEnabled(false);
        return;
    }
    m_ids.removeAt(row - 1);
    m_cache.remove(item.id);
    m_grid->removeRow(row);
    selectFirst();
}

void ToDoView::setPriority(int code)
{
    const int row = selectedRow();
    if (row == 0)
        return;
    std::optional<store::ToDoItem> read = itemAt(row);
    if (!read)
        return;
    store::ToDoItem item = *read;
    item.priority = code;
    changeRow(row, item, store::ToDoField::Priority);
    selectFirst();
}

void ToDoView::toggleDone()
{
    const int row = selectedRow();
    if (row == 0)
        return;
    std::optional<store::ToDoItem> read = itemAt(row);
    if (!read)
        return;
    store::ToDoItem item = *read;
    item.done = !item.done;
    changeRow(row, item, store::ToDoField::Done);
    selectFirst();
    m_grid->selectRow(row, 0);
}

void ToDoView::updateMarkAsDoneCaption(int row)
{
    const std::optional<store::ToDoItem> item = itemAt(row);
    m_markAsDone->setText(item && item->done ? tr("Mark as Not Done") : tr("Mark as Done"));
}

void ToDoView::clicked()
{
    if (const int row = selectedRow()) {
        updateMarkAsDoneCaption(row);
        setSelectionCommandsEnabled(true);
    } else {
        Q_EMIT focusLeaves();
    }
}

void ToDoView::keyboardMoved()
{
    if (const int row = selectedRow()) {
        updateMarkAsDoneCaption(row);
        setSelectionCommandsEnabled(true);
    }
}

void ToDoView::doubleClicked()
{
    Q_EMIT focusLeaves();
    // A double click on an item edits it; on the header or below the last
    // item it starts a new one.
    if (m_grid->mouseRow() >= 1 && selectedRow() != 0)
        editItem();
    else
        addItem();
}

void ToDoView::keyPressed(QChar key)
{
    if (key != u'\r')
        return;
    Q_EMIT focusLeaves();
    if (selectedRow() != 0)
        editItem();
    else
        addItem();
}

void ToDoView::mousePressed(Qt::MouseButton button)
{
    m_grid->setFocus();
    if (button != Qt::RightButton)
        return;
    const int row = m_grid->mouseRow();
    if (row >= 1 && row <= m_ids.size()) {
        m_grid->selectRow(row, 0);
        updateMarkAsDoneCaption(row);
        setSelectionCommandsEnabled(true);
    } else if (row == 0) {
        Q_EMIT focusLeaves();
    }
}

} // namespace brevane
