#include "controls/grid.h"
#include "testmain.h"

#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>

using namespace brevane;

namespace {

// A grid laid out like the agenda: fixed time column, hidden marker column.
void makeAgendaLike(Grid &grid, int dataRows = 50)
{
    grid.setFixedCols(1);
    grid.setFormatString(QStringLiteral("Time||Task|Category"));
    grid.setRows(dataRows + 1);
    grid.setColWidth(0, 1200);
    grid.setColWidth(1, 0);
    grid.setColWidth(2, 3000);
    grid.setColWidth(3, 1500);
}

std::unique_ptr<Grid> shownGrid(int dataRows = 50)
{
    auto grid = std::make_unique<Grid>();
    grid->resize(500, 400);
    makeAgendaLike(*grid, dataRows);
    grid->show();
    return QTest::qWaitForWindowExposed(grid.get()) ? std::move(grid) : nullptr;
}

QModelIndex tableCurrent(const Grid &grid)
{
    return grid.table()->currentIndex();
}

QModelIndex tableIndex(const Grid &grid, int row, int col)
{
    return grid.table()->model()->index(row - 1, col);
}

// The table's selected cells as "row:col ..." in table coordinates.
QString selectedCells(const Grid &grid)
{
    QStringList cells;
    for (const QModelIndex &index : grid.table()->selectionModel()->selectedIndexes())
        cells << QStringLiteral("%1:%2").arg(index.row()).arg(index.column());
    cells.sort();
    return cells.join(u' ');
}

} // namespace

class GridTests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shape()
    {
        Grid grid;
        // A previous, wider layout must not leave columns or headers behind.
        grid.setFormatString(QStringLiteral("a|b|c|d|e"));
        makeAgendaLike(grid);
        QCOMPARE(grid.cols(), 4);
        const QStringList headers{"Time", "", "Task", "Category"};
        for (int col = 0; col < 4; ++col) {
            QCOMPARE(grid.textMatrix(0, col), headers.at(col));
            // An empty header shows nothing, not the column's number.
            QCOMPARE(grid.table()->model()->headerData(col, Qt::Horizontal).toString(), headers.at(col));
        }
        QVERIFY(grid.table()->isColumnHidden(1));
        QCOMPARE(grid.colWidth(1), 0.0);
        grid.setTextMatrix(3, 1, QStringLiteral("."));
        grid.setTextMatrix(3, 2, QStringLiteral("Dentist"));
        grid.setColWidth(1, 300); // shown again with its texts
        QVERIFY(!grid.table()->isColumnHidden(1));
        QCOMPARE(grid.textMatrix(3, 1), QStringLiteral("."));

        grid.selectRow(40, 1);
        grid.setRows(5);
        QCOMPARE(grid.textMatrix(3, 2), QStringLiteral("Dentist"));
        QCOMPARE(QList<int>({grid.rows(), grid.row(), grid.rowSel()}), QList<int>({5, 4, 4}));
        grid.setRows(0); // refused: the header row stays
        QCOMPARE(grid.rows(), 5);
        grid.setRows(1);
        QCOMPARE(grid.row(), 0);
        QVERIFY(grid.table()->selectionModel()->selectedIndexes().isEmpty());
        grid.setRows(5);
        QVERIFY(grid.textMatrix(3, 2).isEmpty());
    }

    void selectRowSetsExtent()
    {
        Grid grid;
        makeAgendaLike(grid);
        grid.setTextMatrix(5, 1, QStringLiteral("."));
        grid.selectRow(5, 1); // the hidden column can be current
        QCOMPARE(grid.text(), QStringLiteral("."));
        QCOMPARE(tableCurrent(grid), tableIndex(grid, 5, 1));
        QCOMPARE(QPoint(grid.rowSel(), grid.colSel()), QPoint(5, 3));
        QCOMPARE(selectedCells(grid), QStringLiteral("4:1 4:2 4:3"));

        grid.setRow(51); // out-of-range positions are refused and change nothing
        grid.setCol(4);
        grid.selectRow(-1, 1);
        QCOMPARE(QPoint(grid.row(), grid.col()), QPoint(5, 1));

        grid.setRow(0); // the header row can be current; the table then shows nothing current or selected
        grid.setCol(2);
        QCOMPARE(grid.text(), QStringLiteral("Task"));
        QVERIFY(!tableCurrent(grid).isValid() && selectedCells(grid).isEmpty());
    }

    void drawsSelectionFixedColumnAndCellColours()
    {
        auto grid = shownGrid();
        QVERIFY(grid);
        const QColor lightGreen(192, 255, 192);
        const QColor shade(200, 200, 200);
        grid->setBackColorSel(lightGreen);
        grid->setCellBackColorAt(6, 2, shade);
        grid->selectRow(3, 1);
        const QImage image = grid->table()->viewport()->grab().toImage();
        const auto pixelIn = [&](int row, int col) {
            const QRect cell = grid->cellRect(row, col);
            return image.pixelColor(cell.left() + 2, cell.top() + 2);
        };
        QCOMPARE(pixelIn(3, 2), lightGreen);
        // The fixed column looks like the header, selected row or not.
        QCOMPARE(pixelIn(3, 0), grid->table()->palette().color(QPalette::Button));
        QCOMPARE(pixelIn(6, 2), shade);
    }

    void selectingARowBringsItIntoView()
    {
        auto grid = shownGrid();
        QVERIFY(grid);
        const QRect visible = grid->table()->viewport()->rect();
        QVERIFY(!visible.intersects(grid->cellRect(48, 2)));
        grid->selectRow(48, 1); // column 1 is hidden; the row still comes into view
        QVERIFY(visible.contains(grid->cellRect(48, 2)));
    }

    void leftClick_data()
    {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("expectedCol");
        QTest::newRow("task cell") << 2 << 2;
        QTest::newRow("fixed column selects from the first data column") << 0 << 1;
    }
    void leftClick()
    {
        QFETCH(int, col);
        QFETCH(int, expectedCol);
        auto grid = shownGrid();
        QVERIFY(grid);
        QSignalSpy clicked(grid.get(), &Grid::clicked);
        QSignalSpy down(grid.get(), &Grid::mouseDown);
        grid->selectRow(1, 1); // moves made by the program report nothing
        QCOMPARE(clicked.count() + down.count(), 0);

        QPoint atClick;
        connect(grid.get(), &Grid::clicked, grid.get(), [&] { atClick = {grid->row(), grid->col()}; });
        const QPoint pos = grid->cellRect(4, col).center();
        QTest::mouseClick(grid->table()->viewport(), Qt::LeftButton, {}, pos);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(atClick, QPoint(4, expectedCol));
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.first().first().value<Qt::MouseButton>(), Qt::LeftButton);
        QCOMPARE(grid->mouseRow(), 4);
        QCOMPARE(selectedCells(*grid), QStringLiteral("3:1 3:2 3:3"));
    }

    void rightPressLeavesCurrentCell_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("dataRows");
        QTest::newRow("over a cell") << 7 << 50;
        QTest::newRow("below the last row") << -1 << 3;
    }
    void rightPressLeavesCurrentCell()
    {
        QFETCH(int, row);
        QFETCH(int, dataRows);
        auto grid = shownGrid(dataRows);
        QVERIFY(grid);
        grid->selectRow(2, 1);
        QWidget *target = row == 0 ? grid->table()->horizontalHeader()->viewport() : grid->table()->viewport();
        const QPoint pos = row < 0 ? QPoint(50, target->height() - 5) : grid->cellRect(row, 2).center();
        QList<int> mouseRows;
        connect(grid.get(), &Grid::mouseDown, grid.get(), [&] { mouseRows.append(grid->mouseRow()); });
        connect(grid.get(), &Grid::mouseUp, grid.get(), [&] { mouseRows.append(grid->mouseRow()); });
        QSignalSpy down(grid.get(), &Grid::mouseDown);
        QSignalSpy clicked(grid.get(), &Grid::clicked);

        QTest::mousePress(target, Qt::RightButton, {}, pos);
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.first().at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(down.first().at(1).toPoint(), target->mapToGlobal(pos));
        QCOMPARE(tableCurrent(*grid), tableIndex(*grid, 2, 1));
        QTest::mouseRelease(target, Qt::RightButton, {}, pos);
        QCOMPARE(mouseRows, (QList<int>{row, row}));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(2, 1));
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expectedChar"); // -1: no key press reported
        QTest::newRow("return") << int(Qt::Key_Return) << QStringLiteral("\r") << 13;
        QTest::newRow("letter") << int(Qt::Key_S) << QStringLiteral("s") << int('s');
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, expectedChar);
        Grid grid;
        makeAgendaLike(grid);
        // A row whose text starts with the typed letter: typing does not jump there.
        grid.setTextMatrix(30, 2, QStringLiteral("swim"));
        grid.selectRow(5, 2);
        QSignalSpy keyDown(&grid, &Grid::keyDown);
        QSignalSpy keyPressed(&grid, &Grid::keyPressed);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QApplication::sendEvent(grid.table(), &press);
        QCOMPARE(keyDown.count(), 1);
        QCOMPARE(keyDown.first().first().toInt(), key);
        QCOMPARE(keyPressed.isEmpty() ? -1 : int(keyPressed.first().first().value<QChar>().unicode()), expectedChar);
        if (expectedChar == 13) // handled here, not passed on to a dialog's default button
            QVERIFY(press.isAccepted());
        QCOMPARE(grid.row(), 5);
    }

    void focus()
    {
        QWidget window;
        auto *layout = new QVBoxLayout(&window);
        auto *grid = new Grid;
        auto *other = new QLineEdit;
        layout->addWidget(grid);
        layout->addWidget(other);
        makeAgendaLike(*grid);
        grid->selectRow(0, 1);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));

        QSignalSpy lost(grid, &Grid::lostFocus);
        grid->setFocus();
        QTRY_VERIFY(grid->table()->hasFocus());
        QCOMPARE(grid->row(), 0); // taking the focus does not make a data row current behind the window's back
        QVERIFY(!tableCurrent(*grid).isValid());

        QMenu menu; // neither a pop-up menu over the grid nor going to the menu bar takes the focus away
        menu.addAction(QStringLiteral("Edit Task"));
        menu.popup(grid->mapToGlobal(QPoint(20, 20)));
        QTRY_VERIFY(menu.isVisible());
        menu.close();
        QFocusEvent toMenuBar(QEvent::FocusOut, Qt::MenuBarFocusReason);
        QCoreApplication::sendEvent(grid->table(), &toMenuBar);
        QCOMPARE(lost.count(), 0);

        other->setFocus();
        QTRY_COMPARE(lost.count(), 1);
    }
};

BREVANE_TEST(GridTests)

#include "tst_grid.moc"
