#include "controls/grid.h"

#include "controls/twips.h"
#include "core/logging.h"

#include <QApplication>
#include <QCache>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QFontMetricsF>
#include <QPointer>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QStaticText>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace brevane {

namespace {

constexpr int kRowPadding = 4;

// Draws the fixed column like the header and never as selected, so that a
// selected row visibly starts at the first data column.
class GridDelegate final : public QStyledItemDelegate
{
public:
    GridDelegate(const Grid *grid, QObject *parent)
        : QStyledItemDelegate(parent)
        , m_grid(grid)
    {
    }
    Q_DISABLE_COPY_MOVE(GridDelegate)

    // The style's own item painting lays each text out three times (to size,
    // to elide and to draw); a grid cell is one line without icon or check,
    // so one laid-out text serves all three, and it is kept: the time labels,
    // categories and priorities come back on every paint, and so does every
    // text when rows are repainted. Text wider than its cell goes the
    // style's way, which elides it.
    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        const QWidget *widget = opt.widget;
        const QStyle *style = widget ? widget->style() : QApplication::style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        const QRect textRect = opt.rect.adjusted(margin, 0, -margin, 0);
        const QStaticText *text = nullptr;
        if (!opt.text.isEmpty()) {
            const auto plain = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::Alternate;
            text = (opt.features & ~plain) || opt.text.contains(QChar::LineSeparator) ? nullptr
                                                                                       : laidOut(opt.text, opt.font);
            if (!text || text->size().width() > textRect.width()) {
                QStyledItemDelegate::paint(painter, option, index);
                return;
            }
        }
        painter->save();
        painter->setClipRect(opt.rect);
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);
        if (text) {
            QPalette::ColorGroup group = opt.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
            if (group == QPalette::Normal && !(opt.state & QStyle::State_Active))
                group = QPalette::Inactive;
            painter->setPen(opt.palette.color(group, opt.state & QStyle::State_Selected ? QPalette::HighlightedText
                                                                                          : QPalette::Text));
            painter->setFont(opt.font);
            const QRect placed =
                QStyle::alignedRect(opt.direction, opt.displayAlignment, text->size().toSize(), textRect);
            painter->drawStaticText(placed.topLeft(), *text);
            // Laid-out text leaves its decorations to the painter.
            if (opt.font.strikeOut()) {
                const QFontMetricsF metrics(opt.font);
                const qreal y = placed.top() + metrics.ascent() - metrics.strikeOutPos();
                painter->setPen(QPen(painter->pen().color(), metrics.lineWidth()));
                painter->drawLine(QLineF(placed.left(), y, placed.left() + text->size().width(), y));
            }
        }
        if (opt.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(opt);
            focus.rect = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &opt, widget);
            focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
            focus.backgroundColor = opt.palette.color(opt.state & QStyle::State_Enabled ? QPalette::Normal
                                                                                        : QPalette::Disabled,
                                                      opt.state & QStyle::State_Selected ? QPalette::Highlight
                                                                                         : QPalette::Window);
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
        painter->restore();
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.column() >= m_grid->fixedCols()) {
            return;
        }
        option->state &= ~(QStyle::State_Selected | QStyle::State_HasFocus);
        if (!index.data(Qt::BackgroundRole).isValid()) {
            option->backgroundBrush = option->palette.button();
        }
        if (!index.data(Qt::ForegroundRole).isValid()) {
            option->palette.setBrush(QPalette::Text, option->palette.buttonText());
        }
    }

private:
    struct TextKey {
        QString text;
        QFont font;
        friend bool operator==(const TextKey &, const TextKey &) = default;
        friend size_t qHash(const TextKey &key, size_t seed = 0) { return qHashMulti(seed, key.text, key.font); }
    };
    // Enough for every text a few screens of rows show.
    static constexpr int kKeptTexts = 1024;

    const QStaticText *laidOut(const QString &text, const QFont &font) const
    {
        TextKey key{text, font};
        if (QStaticText *kept = m_texts.object(key))
            return kept;
        auto *laid = new QStaticText(text);
        laid->setTextFormat(Qt::PlainText);
        QTextOption layout;
        layout.setWrapMode(QTextOption::NoWrap);
        laid->setTextOption(layout);
        laid->prepare(QTransform(), font);
        m_texts.insert(std::move(key), laid);
        return laid;
    }

    const Grid *m_grid;
    mutable QCache<TextKey, QStaticText> m_texts{kKeptTexts};
};

QColor roleColor(const QTableWidgetItem *item, int role)
{
    if (!item) {
        return {};
    }
    const QVariant value = item->data(role);
    switch (value.typeId()) {
    case QMetaType::QBrush:
        return value.value<QBrush>().color();
    case QMetaType::QColor:
        return value.value<QColor>();
    default:
        return {};
    }
}

bool isMouseEvent(const QEvent *event)
{
    if (!event) {
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return true;
    default:
        return false;
    }
}

} // namespace

// The table that draws the grid and turns the user's input into the grid's
// signals. The grid's own current cell stays authoritative: moves the user
// makes are copied into it, moves the program makes are pushed into the table
// without coming back.
class GridTable final : public QTableWidget
{
public:
    explicit GridTable(Grid *grid);
    Q_DISABLE_COPY_MOVE(GridTable)

    // The grid is going away: stop reporting to it.
    void detach() { m_grid = nullptr; }

    [[nodiscard]] QTableWidgetItem *cellItem(int row, int col) const;
    // Creates the item on first use; nullptr outside the grid.
    QTableWidgetItem *cellItemForWrite(int row, int col);
    void ensureHeaderItems();

    void showGridCurrent();
    void showSelection(int row1, int col1, int row2, int col2);
    void scrollToRow(int row, int preferredCol);
    void keyboardSearch(const QString & /*search*/) override {}

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    [[nodiscard]] QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                                       const QEvent *event) const override;

private:
    [[nodiscard]] int gridRowAt(const QPoint &viewportPos) const;
    [[nodiscard]] bool currentMatchesGrid() const;
    void updateRowHeight();
    void syncAccessibleName();

    Grid *m_grid;
    bool m_leftPressed = false;   // a left press in the viewport waits for its release (click)
    bool m_basePressed = false;   // the table's own press handling ran for it
};

GridTable::GridTable(Grid *grid)
    : QTableWidget(grid)
    , m_grid(grid)
{
    setEditTriggers(NoEditTriggers);
    setSelectionBehavior(SelectRows);
    setSelectionMode(SingleSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setSortingEnabled(false);
    setCornerButtonEnabled(false);
    // Right-button presses and releases must reach the grid's mouse signals;
    // the windows show their own pop-up menus on them.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setItemDelegate(new GridDelegate(grid, this));

    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    QHeaderView *header = horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setContextMenuPolicy(Qt::PreventContextMenu);
    header->viewport()->installEventFilter(this);
    grid->installEventFilter(this);

    updateRowHeight();
}

QTableWidgetItem *GridTable::cellItem(int row, int col) const
{
    if (row < 0 || col < 0 || col >= columnCount() || row > rowCount()) {
        return nullptr;
    }
    return row == 0 ? horizontalHeaderItem(col) : item(row - 1, col);
}

QTableWidgetItem *GridTable::cellItemForWrite(int row, int col)
{
    if (row < 0 || col < 0 || col >= columnCount() || row > rowCount()) {
        return nullptr;
    }
    if (QTableWidgetItem *existing = cellItem(row, col)) {
        return existing;
    }
    auto *created = new QTableWidgetItem;
    if (row == 0) {
        setHorizontalHeaderItem(col, created);
    } else {
        setItem(row - 1, col, created);
    }
    return created;
}

// A column without a header item shows its number; the grid's header shows
// text or nothing.
void GridTable::ensureHeaderItems()
{
    for (int col = 0; col < columnCount(); ++col) {
        if (!horizontalHeaderItem(col)) {
            setHorizontalHeaderItem(col, new QTableWidgetItem);
        }
    }
}

void GridTable::showGridCurrent()
{
    if (!m_grid) {
        return;
    }
    const QScopedValueRollback syncing(m_grid->m_syncing, true);
    // Moves made by the program do not scroll; selecting a row does.
    const bool autoScroll = hasAutoScroll();
    setAutoScroll(false);
    const QModelIndex target = m_grid->m_row >= 1 ? model()->index(m_grid->m_row - 1, m_grid->m_col)
                                                  : QModelIndex();
    if (target.isValid()) {
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    } else {
        selectionModel()->clearCurrentIndex();
    }
    setAutoScroll(autoScroll);
}

void GridTable::showSelection(int row1, int col1, int row2, int col2)
{
    row1 = std::max(row1, 1);
    row2 = std::min(row2, rowCount());
    col1 = std::max(col1, 0);
    col2 = std::min(col2, columnCount() - 1);
    if (row1 > row2 || col1 > col2) {
        selectionModel()->clearSelection();
        return;
    }
    const QItemSelection range(model()->index(row1 - 1, col1), model()->index(row2 - 1, col2));
    selectionModel()->select(range, QItemSelectionModel::ClearAndSelect);
}

void GridTable::scrollToRow(int row, int preferredCol)
{
    if (row < 1 || row > rowCount() || columnCount() == 0) {
        return;
    }
    // A hidden column cannot be scrolled to; any shown column brings the row in.
    int col = -1;
    for (int c = std::max(preferredCol, 0); c < columnCount() && col < 0; ++c) {
        if (!isColumnHidden(c)) {
            col = c;
        }
    }
    for (int c = 0; c < columnCount() && col < 0; ++c) {
        if (!isColumnHidden(c)) {
            col = c;
        }
    }
    if (col >= 0) {
        scrollTo(model()->index(row - 1, col), EnsureVisible);
    }
}

int GridTable::gridRowAt(const QPoint &viewportPos) const
{
    const int tableRow = rowAt(viewportPos.y());
    return tableRow < 0 ? -1 : tableRow + 1;
}

bool GridTable::currentMatchesGrid() const
{
    const QModelIndex current = currentIndex();
    if (m_grid->m_row < 1) {
        return !current.isValid();
    }
    return current.isValid() && current.row() == m_grid->m_row - 1 && current.column() == m_grid->m_col;
}

void GridTable::updateRowHeight()
{
    const int height = fontMetrics().height() + kRowPadding;
    verticalHeader()->setMinimumSectionSize(std::min(height, verticalHeader()->minimumSectionSize()));
    verticalHeader()->setDefaultSectionSize(height);
}

void GridTable::syncAccessibleName()
{
    if (m_grid && !m_grid->accessibleName().isEmpty() && accessibleName() != m_grid->accessibleName()) {
        setAccessibleName(m_grid->accessibleName());
    }
}

QItemSelectionModel::SelectionFlags GridTable::selectionCommand(const QModelIndex &index, const QEvent *event) const
{
    // The mouse only moves the current cell; the grid draws the selection
    // that goes with it (a row from the first data column).
    if (isMouseEvent(event)) {
        return QItemSelectionModel::NoUpdate;
    }
    return QTableWidget::selectionCommand(index, event);
}

void GridTable::paintEvent(QPaintEvent *event)
{
    if (m_grid && m_grid->m_fill && rowCount() > 0) {
        // The rows about to be drawn are written first; the model stays quiet
        // about it, as this paint shows them anyway.
        const int first = rowAt(0);
        const int last = rowAt(viewport()->height() - 1);
        if (first >= 0) {
            const QSignalBlocker quiet(model());
            m_grid->ensureRows(first + 1, (last < 0 ? rowCount() - 1 : last) + 1);
        }
    }
    QTableWidget::paintEvent(event);
}

void GridTable::mousePressEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    m_basePressed = false;
    if (event->button() == Qt::LeftButton) {
        m_leftPressed = true;
        // Only the left button moves the current cell, and only onto a cell;
        // the windows select the row under a right click themselves.
        if (indexAt(pos).isValid()) {
            m_basePressed = true;
            QTableWidget::mousePressEvent(event);
        }
    }
    event->accept();
    if (m_grid) {
        m_grid->m_mouseRow = gridRowAt(pos);
        Q_EMIT m_grid->mouseDown(event->button(), event->globalPosition().toPoint());
    }
}

void GridTable::mouseReleaseEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const bool left = event->button() == Qt::LeftButton;
    if (left && std::exchange(m_basePressed, false)) {
        QTableWidget::mouseReleaseEvent(event);
    }
    const bool click = left && std::exchange(m_leftPressed, false) && viewport()->rect().contains(pos);
    event->accept();
    if (!m_grid) {
        return;
    }
    const QPointer<GridTable> self(this);
    m_grid->m_mouseRow = gridRowAt(pos);
    Q_EMIT m_grid->mouseUp(event->button(), event->globalPosition().toPoint());
    if (click && self && m_grid) {
        Q_EMIT m_grid->clicked();
    }
}

void GridTable::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    // The second press of a double click with another button, or on another
    // row than the first press, counts as a plain press.
    const bool sameRow = !index.isValid() || index.row() == currentIndex().row();
    if (event->button() != Qt::LeftButton || !sameRow) {
        mousePressEvent(event);
        return;
    }
    event->accept();
    if (m_grid) {
        m_grid->m_mouseRow = gridRowAt(pos);
        Q_EMIT m_grid->doubleClicked();
    }
}

void GridTable::keyPressEvent(QKeyEvent *event)
{
    if (!m_grid) {
        QTableWidget::keyPressEvent(event);
        return;
    }
    const QPointer<GridTable> self(this);
    Q_EMIT m_grid->keyDown(event->key());
    if (!self || !m_grid) {
        return;
    }
    // Enter belongs to the window (it edits or adds); it must neither move
    // the current cell nor reach a dialog's default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT m_grid->keyPressed(QChar(u'\r'));
        return;
    }
    // The keyboard's way to the pop-up menu, at the current row.
    if (event->key() == Qt::Key_Menu || (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        event->accept();
        const int row = std::max(m_grid->m_row, 1);
        const QRect cell = row < m_grid->rows() ? m_grid->cellRect(row, m_grid->m_col) : QRect();
        Q_EMIT m_grid->menuKeyPressed(viewport()->mapToGlobal(cell.isValid() ? cell.center() : QPoint(0, 0)));
        return;
    }
    const QString typed = event->text();
    if (!typed.isEmpty()) {
        Q_EMIT m_grid->keyPressed(typed.at(0));
        if (!self || !m_grid) {
            return;
        }
    }
    const int rowBefore = m_grid->m_row;
    QTableWidget::keyPressEvent(event);
    if (self && m_grid && m_grid->m_row != rowBefore) {
        Q_EMIT m_grid->keyboardMoved();
    }
}

QModelIndex GridTable::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    if (!m_grid || !current.isValid() || !isColumnHidden(current.column())) {
        return QTableWidget::moveCursor(action, modifiers);
    }
    // A row made current on a hidden column (the agenda's task mark) must
    // still move with the keys: move from the first shown column, and stay
    // on the hidden one for moves between rows.
    int shown = -1;
    for (int c = 0; c < columnCount() && shown < 0; ++c) {
        if (!isColumnHidden(c)) {
            shown = c;
        }
    }
    if (shown < 0) {
        return {};
    }
    QModelIndex moved;
    {
        const QScopedValueRollback syncing(m_grid->m_syncing, true);
        selectionModel()->setCurrentIndex(model()->index(current.row(), shown), QItemSelectionModel::NoUpdate);
        moved = QTableWidget::moveCursor(action, modifiers);
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
    const bool betweenRows = action == MoveUp || action == MoveDown || action == MovePageUp
                             || action == MovePageDown || action == MoveHome || action == MoveEnd;
    return moved.isValid() && betweenRows ? model()->index(moved.row(), current.column()) : moved;
}

void GridTable::focusInEvent(QFocusEvent *event)
{
    syncAccessibleName();
    if (!m_grid) {
        QTableWidget::focusInEvent(event);
        return;
    }
    {
        // The table puts its first cell current when it gets the focus
        // without one; the grid's current cell (possibly the header) stays.
        const QScopedValueRollback syncing(m_grid->m_syncing, true);
        QTableWidget::focusInEvent(event);
    }
    if (!currentMatchesGrid()) {
        showGridCurrent();
        m_grid->applySelection();
    }
}

void GridTable::focusOutEvent(QFocusEvent *event)
{
    QTableWidget::focusOutEvent(event);
    // Opening a pop-up menu, or going to the menu bar with the keyboard, is
    // not leaving the grid: the menus act on the grid's selection.
    if (m_grid && event->reason() != Qt::PopupFocusReason && event->reason() != Qt::MenuBarFocusReason) {
        Q_EMIT m_grid->lostFocus();
    }
}

void GridTable::changeEvent(QEvent *event)
{
    QTableWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        updateRowHeight();
    }
}

bool GridTable::eventFilter(QObject *watched, QEvent *event)
{
    if (m_grid && watched == m_grid && event->type() == QEvent::Show) {
        syncAccessibleName();
    } else if (m_grid && watched == horizontalHeader()->viewport()) {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseButtonDblClick) {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            m_grid->m_mouseRow = 0;
            const QPoint global = mouse->globalPosition().toPoint();
            if (type == QEvent::MouseButtonRelease) {
                Q_EMIT m_grid->mouseUp(mouse->button(), global);
            } else {
                Q_EMIT m_grid->mouseDown(mouse->button(), global);
            }
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------

Grid::Grid(QWidget *parent)
    : QWidget(parent)
    , m_table(new GridTable(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_table);
    setFocusProxy(m_table);

    connect(m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current) {
                if (current.isValid()) {
                    syncCurrentFromTable(current.row(), current.column());
                }
            });
}

Grid::~Grid()
{
    // The table outlives this object by a moment (children go last); nothing
    // it does while going away may reach the half-destroyed grid or the
    // window that listens to it.
    m_syncing = true;
    blockSignals(true);
    disconnect(m_table->selectionModel(), nullptr, this, nullptr);
    m_table->detach();
}

QTableWidget *Grid::table() const
{
    return m_table;
}

void Grid::clear()
{
    const QScopedValueRollback syncing(m_syncing, true);
    m_table->clear();
    m_filled.assign(m_filled.size(), false);
    m_table->ensureHeaderItems();
    m_table->showGridCurrent();
    applySelection();
}

void Grid::setFormatString(const QString &format)
{
    const QStringList headers = format.split(u'|');
    const QScopedValueRollback syncing(m_syncing, true);
    m_table->setColumnCount(static_cast<int>(headers.size()));
    m_table->ensureHeaderItems();
    for (int col = 0; col < headers.size(); ++col) {
        m_table->horizontalHeaderItem(col)->setText(headers.at(col));
    }
    const int last = cols() - 1;
    m_col = std::clamp(m_col, 0, std::max(last, 0));
    m_colSel = std::clamp(m_colSel, 0, std::max(last, 0));
    m_table->showGridCurrent();
    applySelection();
}

int Grid::rows() const
{
    return m_table->rowCount() + 1;
}

void Grid::setRows(int rows)
{
    if (rows < 1) {
        qCDebug(lcControls) << "grid row count" << rows << "ignored: the header row stays";
        return;
    }
    const QScopedValueRollback syncing(m_syncing, true);
    m_table->setRowCount(rows - 1);
    m_filled.assign(m_fill ? static_cast<size_t>(rows) : 0, false);
    m_row = std::min(m_row, rows - 1);
    m_rowSel = std::min(m_rowSel, rows - 1);
    m_table->showGridCurrent();
    applySelection();
}

void Grid::removeRow(int row)
{
    if (row < 1 || row >= rows())
        return;
    const QScopedValueRollback syncing(m_syncing, true);
    m_table->removeRow(row - 1);
    if (static_cast<size_t>(row) < m_filled.size())
        m_filled.erase(m_filled.begin() + row);
    m_row = std::min(m_row, rows() - 1);
    m_rowSel = std::min(m_rowSel, rows() - 1);
    m_table->showGridCurrent();
    applySelection();
}

void Grid::setRowFiller(std::function<void(int row)> fill)
{
    m_fill = std::move(fill);
    m_filled.assign(m_fill ? static_cast<size_t>(rows()) : 0, false);
}

void Grid::refillRow(int row)
{
    if (!m_fill || row < 1 || row >= rows())
        return;
    m_filled[static_cast<size_t>(row)] = true;
    m_fill(row);
}

void Grid::ensureRow(int row) const
{
    if (!m_fill || row < 1 || static_cast<size_t>(row) >= m_filled.size() || m_filled[static_cast<size_t>(row)])
        return;
    // Marked first: the filler writes through the grid's own setters.
    m_filled[static_cast<size_t>(row)] = true;
    m_fill(row);
}

void Grid::ensureRows(int first, int last) const
{
    for (int row = first; row <= last; ++row)
        ensureRow(row);
}

int Grid::cols() const
{
    return m_table->columnCount();
}

void Grid::setFixedCols(int count)
{
    m_fixedCols = std::max(count, 0);
    m_table->viewport()->update();
}

double Grid::colWidth(int col) const
{
    if (col < 0 || col >= cols() || m_table->isColumnHidden(col)) {
        return 0.0;
    }
    return twips::fromPixels(this, m_table->columnWidth(col));
}

void Grid::setColWidth(int col, double twips)
{
    if (col < 0 || col >= cols()) {
        qCDebug(lcControls) << "grid column" << col << "out of range for its width";
        return;
    }
    const int pixels = twips::toPixels(this, twips);
    if (pixels <= 0) {
        m_table->setColumnHidden(col, true);
        return;
    }
    m_table->setColumnHidden(col, false);
    m_table->setColumnWidth(col, pixels);
}

void Grid::setRow(int row)
{
    if (row < 0 || row >= rows()) {
        qCDebug(lcControls) << "grid row" << row << "out of range";
        return;
    }
    m_row = row;
    m_rowSel = row;
    m_colSel = m_col;
    m_table->showGridCurrent();
    applySelection();
}

void Grid::setCol(int col)
{
    if (col < 0 || col >= cols()) {
        qCDebug(lcControls) << "grid column" << col << "out of range";
        return;
    }
    m_col = col;
    m_colSel = col;
    m_rowSel = m_row;
    m_table->showGridCurrent();
    applySelection();
}

QString Grid::textMatrix(int row, int col) const
{
    ensureRow(row);
    const QTableWidgetItem *item = m_table->cellItem(row, col);
    return item ? item->text() : QString();
}

void Grid::setTextMatrix(int row, int col, const QString &text)
{
    QTableWidgetItem *item = text.isEmpty() ? m_table->cellItem(row, col) : m_table->cellItemForWrite(row, col);
    if (item) {
        item->setText(text);
    }
}

void Grid::setRowSel(int row)
{
    if (row < 0 || row >= rows()) {
        return;
    }
    m_rowSel = row;
    applySelection();
}

void Grid::setColSel(int col)
{
    if (col < 0 || col >= cols()) {
        return;
    }
    m_colSel = col;
    applySelection();
}

void Grid::selectRow(int row, int firstCol)
{
    if (row < 0 || row >= rows() || firstCol < 0 || firstCol >= cols()) {
        qCDebug(lcControls) << "grid row selection" << row << firstCol << "out of range";
        return;
    }
    m_row = row;
    m_col = firstCol;
    m_rowSel = row;
    m_colSel = cols() - 1;
    m_table->showGridCurrent();
    applySelection();
    m_table->scrollToRow(row, firstCol);
}

QColor Grid::cellBackColor() const
{
    return cellBackColorAt(m_row, m_col);
}

void Grid::setCellBackColor(const QColor &color)
{
    setCellBackColorAt(m_row, m_col, color);
}

QColor Grid::cellForeColor() const
{
    return cellForeColorAt(m_row, m_col);
}

void Grid::setCellForeColor(const QColor &color)
{
    setCellForeColorAt(m_row, m_col, color);
}

bool Grid::cellFontStrikeThrough() const
{
    return cellStrikeThroughAt(m_row, m_col);
}

void Grid::setCellFontStrikeThrough(bool on)
{
    setCellStrikeThroughAt(m_row, m_col, on);
}

QColor Grid::cellBackColorAt(int row, int col) const
{
    ensureRow(row);
    return roleColor(m_table->cellItem(row, col), Qt::BackgroundRole);
}

void Grid::setCellRole(int row, int col, int role, const QVariant &value)
{
    // Clearing a role never creates the cell's item.
    if (QTableWidgetItem *item = value.isValid() ? m_table->cellItemForWrite(row, col) : m_table->cellItem(row, col)) {
        item->setData(role, value);
    }
}

void Grid::setCellBackColorAt(int row, int col, const QColor &color)
{
    setCellRole(row, col, Qt::BackgroundRole, color.isValid() ? QVariant(QBrush(color)) : QVariant());
}

QColor Grid::cellForeColorAt(int row, int col) const
{
    ensureRow(row);
    return roleColor(m_table->cellItem(row, col), Qt::ForegroundRole);
}

void Grid::setCellForeColorAt(int row, int col, const QColor &color)
{
    setCellRole(row, col, Qt::ForegroundRole, color.isValid() ? QVariant(QBrush(color)) : QVariant());
}

bool Grid::cellStrikeThroughAt(int row, int col) const
{
    ensureRow(row);
    const QTableWidgetItem *item = m_table->cellItem(row, col);
    if (!item) {
        return false;
    }
    const QVariant font = item->data(Qt::FontRole);
    return font.isValid() && font.value<QFont>().strikeOut();
}

void Grid::setCellStrikeThroughAt(int row, int col, bool on)
{
    // A font that sets nothing but the strike-out, so that the cell keeps
    // following the grid's own font.
    QFont struck;
    struck.setStrikeOut(true);
    setCellRole(row, col, Qt::FontRole, on ? QVariant(struck) : QVariant());
}

QString Grid::cellDescriptionAt(int row, int col) const
{
    ensureRow(row);
    const QTableWidgetItem *item = m_table->cellItem(row, col);
    return item ? item->data(Qt::AccessibleDescriptionRole).toString() : QString();
}

void Grid::setCellDescriptionAt(int row, int col, const QString &description)
{
    setCellRole(row, col, Qt::AccessibleDescriptionRole, description.isEmpty() ? QVariant() : QVariant(description));
}

void Grid::setBackColorSel(const QColor &color)
{
    m_backColorSel = color;
    if (!color.isValid()) {
        m_table->setPalette(QPalette());
        return;
    }
    QPalette palette = m_table->palette();
    palette.setColor(QPalette::Highlight, color);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    m_table->setPalette(palette);
}

double Grid::widthTwips() const
{
    return twips::fromPixels(this, width());
}

QRect Grid::cellRect(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols()) {
        return {};
    }
    if (row == 0) {
        const QHeaderView *header = m_table->horizontalHeader();
        return {header->sectionViewportPosition(col), 0, header->sectionSize(col), header->height()};
    }
    return m_table->visualRect(m_table->model()->index(row - 1, col));
}

void Grid::syncCurrentFromTable(int tableRow, int tableCol)
{
    if (m_syncing) {
        return;
    }
    m_row = tableRow + 1;
    // The fixed column is not the user's to select: the row is taken from
    // its first data column.
    const int firstDataCol = m_fixedCols < cols() ? m_fixedCols : 0;
    m_col = std::max(tableCol, firstDataCol);
    m_rowSel = m_row;
    m_colSel = cols() - 1;
    if (m_col != tableCol) {
        m_table->showGridCurrent();
    }
    m_table->showSelection(m_row, firstDataCol, m_row, m_colSel);
}

void Grid::applySelection()
{
    if (m_row < 1) {
        m_table->selectionModel()->clearSelection();
        return;
    }
    m_table->showSelection(std::min(m_row, m_rowSel), std::min(m_col, m_colSel), std::max(m_row, m_rowSel),
                           std::max(m_col, m_colSel));
}

} // namespace brevane
