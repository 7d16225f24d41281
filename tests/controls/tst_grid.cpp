#include "controls/grid.h"
#include "testmain.h"

#include <QElapsedTimer>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
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
    for (int row = 1; row < grid.rows(); ++row) {
        grid.setTextMatrix(row, 0, QStringLiteral("slot %1").arg(row));
    }
}

QPoint centreOf(const QRect &rect)
{
    return rect.center();
}

// What a real double click delivers: press, release, double click, release.
void doubleClickAt(QWidget *widget, const QPoint &pos)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, pos);
}

} // namespace

class GridTests : public QObject
{
    Q_OBJECT

private:
    // A shown agenda-like grid for the mouse and keyboard tests.
    std::unique_ptr<Grid> shownGrid(int dataRows = 50)
    {
        auto grid = std::make_unique<Grid>();
        grid->resize(500, 400);
        makeAgendaLike(*grid, dataRows);
        grid->show();
        if (!QTest::qWaitForWindowExposed(grid.get())) {
            return nullptr;
        }
        return grid;
    }

private Q_SLOTS:
    void rowCount_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("expectedRows");
        QTest::newRow("header only") << 1 << 1;
        QTest::newRow("n + 1") << 51 << 51;
        QTest::newRow("zero keeps the header") << 0 << 1;
        QTest::newRow("negative keeps the header") << -3 << 1;
    }

    void rowCount()
    {
        QFETCH(int, rows);
        QFETCH(int, expectedRows);
        Grid grid;
        grid.setFormatString(QStringLiteral("To-Do List|Priority"));
        grid.setRows(rows);
        QCOMPARE(grid.rows(), expectedRows);
        QCOMPARE(grid.table()->rowCount(), expectedRows - 1);
        QCOMPARE(grid.fixedRows(), 1);
        for (int row = 1; row < grid.rows(); ++row) {
            QVERIFY(grid.textMatrix(row, 0).isEmpty());
            QVERIFY(grid.textMatrix(row, 1).isEmpty());
        }
        QCOMPARE(grid.textMatrix(0, 0), QStringLiteral("To-Do List"));
    }

    void shrinkingKeepsRemainingRowsAndClampsCurrent()
    {
        Grid grid;
        makeAgendaLike(grid);
        grid.setTextMatrix(3, 2, QStringLiteral("Dentist"));
        grid.selectRow(40, 1);
        grid.setRows(5);
        QCOMPARE(grid.rows(), 5);
        QCOMPARE(grid.textMatrix(3, 2), QStringLiteral("Dentist"));
        QCOMPARE(grid.row(), 4);
        QCOMPARE(grid.rowSel(), 4);
        grid.setRows(1);
        QCOMPARE(grid.row(), 0);
        QVERIFY(grid.table()->selectionModel()->selectedIndexes().isEmpty());
        // Growing again gives empty rows, not the old texts.
        grid.setRows(5);
        QVERIFY(grid.textMatrix(3, 2).isEmpty());
    }

    void formatString_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QStringList>("headers");
        QTest::newRow("agenda") << QStringLiteral("Time||Task|Category")
                                << QStringList{"Time", "", "Task", "Category"};
        QTest::newRow("to-do") << QStringLiteral("To-Do List|Priority") << QStringList{"To-Do List", "Priority"};
        QTest::newRow("single") << QStringLiteral("Name") << QStringList{"Name"};
    }

    void formatString()
    {
        QFETCH(QString, format);
        QFETCH(QStringList, headers);
        Grid grid;
        // A previous, wider layout must not leave columns or headers behind.
        grid.setFormatString(QStringLiteral("a|b|c|d|e"));
        grid.setFormatString(format);
        QCOMPARE(grid.cols(), headers.size());
        for (int col = 0; col < headers.size(); ++col) {
            QCOMPARE(grid.textMatrix(0, col), headers.at(col));
            // An empty header shows nothing, not the column's number.
            QCOMPARE(grid.table()->model()->headerData(col, Qt::Horizontal).toString(), headers.at(col));
        }
        grid.setRow(0);
        grid.setCol(0);
        QCOMPARE(grid.text(), headers.first());
    }

    void hiddenColumnKeepsTextsAndCanBeCurrent()
    {
        Grid grid;
        makeAgendaLike(grid);
        QCOMPARE(grid.colWidth(1), 0.0);
        QVERIFY(grid.table()->isColumnHidden(1));
        grid.setTextMatrix(7, 1, QStringLiteral("."));
        grid.setRow(7);
        grid.setCol(1);
        QCOMPARE(grid.col(), 1);
        QCOMPARE(grid.text(), QStringLiteral("."));
        QCOMPARE(grid.table()->currentIndex(), grid.table()->model()->index(6, 1));
        // Given a width again, it shows again with its texts.
        grid.setColWidth(1, 300);
        QVERIFY(!grid.table()->isColumnHidden(1));
        QCOMPARE(grid.textMatrix(7, 1), QStringLiteral("."));
    }

    void columnWidthsInTwips()
    {
        Grid grid;
        if (grid.logicalDpiX() != 96) {
            QSKIP("pixel widths are checked at 96 dpi");
        }
        makeAgendaLike(grid);
        QCOMPARE(grid.table()->columnWidth(2), 200);
        QCOMPARE(grid.colWidth(2), 3000.0);
        QCOMPARE(grid.colWidth(0), 1200.0);
        grid.resize(300, 200);
        QCOMPARE(grid.widthTwips(), 4500.0);
    }

    void cellFormatting_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::newRow("data cell") << 5 << 2;
        QTest::newRow("hidden column") << 5 << 1;
        QTest::newRow("fixed column") << 12 << 0;
        QTest::newRow("header") << 0 << 3;
    }

    void cellFormatting()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        Grid grid;
        makeAgendaLike(grid);
        grid.setRow(row);
        grid.setCol(col);

        QVERIFY(!grid.cellBackColor().isValid());
        QVERIFY(!grid.cellForeColor().isValid());
        QVERIFY(!grid.cellFontStrikeThrough());

        const QColor face(240, 240, 240);
        grid.setCellBackColor(face);
        grid.setCellForeColor(Qt::red);
        grid.setCellFontStrikeThrough(true);
        QCOMPARE(grid.cellBackColor(), face);
        QCOMPARE(grid.cellForeColor(), QColor(Qt::red));
        QVERIFY(grid.cellFontStrikeThrough());
        QCOMPARE(grid.cellBackColorAt(row, col), face);
        QVERIFY(grid.cellStrikeThroughAt(row, col));
        // Formatting belongs to the one cell.
        QVERIFY(!grid.cellBackColorAt(row + 1, col).isValid());
        QVERIFY(!grid.cellStrikeThroughAt(row, col == 2 ? 3 : 2));

        grid.setCellFontStrikeThrough(false);
        QVERIFY(!grid.cellFontStrikeThrough());
        grid.setCellFontStrikeThrough(true);

        grid.clear();
        QVERIFY(!grid.cellBackColorAt(row, col).isValid());
        QVERIFY(!grid.cellForeColorAt(row, col).isValid());
        QVERIFY(!grid.cellStrikeThroughAt(row, col));
    }

    void struckThroughRowIsDrawnStruck()
    {
        Grid grid;
        grid.setFormatString(QStringLiteral("To-Do List|Priority"));
        grid.setRows(3);
        grid.setTextMatrix(2, 0, QStringLiteral("Buy milk"));
        grid.setCellStrikeThroughAt(2, 0, true);
        const QFont font = grid.table()->model()->index(1, 0).data(Qt::FontRole).value<QFont>();
        QVERIFY(font.strikeOut());
        // Only the strike-out is set: the cell keeps the grid's font family and size.
        QCOMPARE(font.resolve(grid.table()->font()).family(), grid.table()->font().family());
        QCOMPARE(font.resolve(grid.table()->font()).pointSizeF(), grid.table()->font().pointSizeF());
    }

    void clearEmptiesTextsButKeepsShapeAndCurrentCell()
    {
        Grid grid;
        makeAgendaLike(grid);
        grid.setTextMatrix(9, 2, QStringLiteral("Lunch"));
        grid.selectRow(9, 1);
        grid.clear();
        QCOMPARE(grid.rows(), 51);
        QCOMPARE(grid.cols(), 4);
        QVERIFY(grid.textMatrix(9, 2).isEmpty());
        QVERIFY(grid.textMatrix(1, 0).isEmpty());
        QVERIFY(grid.textMatrix(0, 0).isEmpty());
        QCOMPARE(grid.table()->model()->headerData(0, Qt::Horizontal).toString(), QString());
        QCOMPARE(grid.row(), 9);
        QCOMPARE(grid.col(), 1);
        QCOMPARE(grid.table()->currentIndex(), grid.table()->model()->index(8, 1));
    }

    void selectRowSetsExtent()
    {
        Grid grid;
        makeAgendaLike(grid);
        grid.selectRow(5, 1);
        QCOMPARE(grid.row(), 5);
        QCOMPARE(grid.col(), 1);
        QCOMPARE(grid.rowSel(), 5);
        QCOMPARE(grid.colSel(), 3);

        QModelIndexList selected = grid.table()->selectionModel()->selectedIndexes();
        std::sort(selected.begin(), selected.end());
        QCOMPARE(selected.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(selected.at(i).row(), 4);
            QCOMPARE(selected.at(i).column(), i + 1);
        }

        // Moving the current cell collapses the extent onto it.
        grid.setRow(6);
        QCOMPARE(grid.rowSel(), 6);
        QCOMPARE(grid.colSel(), 1);

        // An extent over several rows.
        grid.setRow(2);
        grid.setCol(2);
        grid.setRowSel(4);
        grid.setColSel(3);
        QCOMPARE(grid.table()->selectionModel()->selectedIndexes().size(), 6);

        // Out-of-range positions are refused and change nothing.
        grid.setRow(51);
        grid.setCol(4);
        grid.selectRow(-1, 1);
        QCOMPARE(grid.row(), 2);
        QCOMPARE(grid.col(), 2);
    }

    void headerRowAsCurrentRow()
    {
        Grid grid;
        grid.setFormatString(QStringLiteral("To-Do List|Priority"));
        grid.setRows(3);
        grid.selectRow(1, 0);
        grid.setRow(0);
        QCOMPARE(grid.row(), 0);
        QCOMPARE(grid.text(), QStringLiteral("To-Do List"));
        QVERIFY(!grid.table()->currentIndex().isValid());
        QVERIFY(grid.table()->selectionModel()->selectedIndexes().isEmpty());
        grid.setCol(1);
        QCOMPARE(grid.text(), QStringLiteral("Priority"));
    }

    void drawsSelectionFixedColumnAndCellColours()
    {
        auto grid = shownGrid();
        QVERIFY(grid);
        const QColor lightGreen(192, 255, 192);
        const QColor shade(200, 200, 200);
        grid->setBackColorSel(lightGreen);
        QCOMPARE(grid->backColorSel(), lightGreen);
        grid->setCellBackColorAt(6, 2, shade);
        grid->selectRow(3, 1);

        const QImage image = grid->table()->viewport()->grab().toImage();
        const auto pixelNearLeft = [&](int row, int col) {
            const QRect cell = grid->cellRect(row, col);
            return image.pixelColor(cell.left() + 2, cell.top() + 2);
        };
        QCOMPARE(pixelNearLeft(3, 2), lightGreen);
        QCOMPARE(pixelNearLeft(3, 3), lightGreen);
        // The fixed column looks like the header, selected row or not.
        QCOMPARE(pixelNearLeft(3, 0), grid->table()->palette().color(QPalette::Button));
        QCOMPARE(pixelNearLeft(6, 0), grid->table()->palette().color(QPalette::Button));
        QCOMPARE(pixelNearLeft(6, 2), shade);
    }

    void selectingARowBringsItIntoView()
    {
        auto grid = shownGrid();
        QVERIFY(grid);
        const QRect visible = grid->table()->viewport()->rect();
        QVERIFY2(!visible.intersects(grid->cellRect(48, 2)), "the grid is expected to be shorter than 48 rows");
        // Column 1 is hidden; the row still has to come into view.
        grid->selectRow(48, 1);
        QVERIFY(visible.contains(grid->cellRect(48, 2)));
    }

    void programMovesEmitNothing()
    {
        Grid grid;
        makeAgendaLike(grid);
        QSignalSpy clicked(&grid, &Grid::clicked);
        QSignalSpy down(&grid, &Grid::mouseDown);
        grid.setRow(3);
        grid.setCol(2);
        grid.selectRow(8, 1);
        grid.clear();
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(down.count(), 0);
    }

    void leftClickMovesCurrentCell_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("expectedCol");
        QTest::newRow("task cell") << 4 << 2 << 2;
        QTest::newRow("category cell") << 10 << 3 << 3;
        QTest::newRow("fixed column selects from the first data column") << 6 << 0 << 1;
    }

    void leftClickMovesCurrentCell()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(int, expectedCol);
        auto grid = shownGrid();
        QVERIFY(grid);
        grid->selectRow(1, 1);

        int rowAtClick = -1;
        int colAtClick = -1;
        connect(grid.get(), &Grid::clicked, grid.get(), [&] {
            rowAtClick = grid->row();
            colAtClick = grid->col();
        });
        QSignalSpy clicked(grid.get(), &Grid::clicked);
        QSignalSpy down(grid.get(), &Grid::mouseDown);
        QSignalSpy up(grid.get(), &Grid::mouseUp);

        QTest::mouseClick(grid->table()->viewport(), Qt::LeftButton, {}, centreOf(grid->cellRect(row, col)));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(rowAtClick, row);
        QCOMPARE(colAtClick, expectedCol);
        QCOMPARE(down.count(), 1);
        QCOMPARE(up.count(), 1);
        QCOMPARE(down.first().first().value<Qt::MouseButton>(), Qt::LeftButton);
        QCOMPARE(grid->mouseRow(), row);

        // The row shows selected from the first data column on.
        QModelIndexList selected = grid->table()->selectionModel()->selectedIndexes();
        QCOMPARE(selected.size(), 3);
        for (const QModelIndex &index : selected) {
            QCOMPARE(index.row(), row - 1);
            QVERIFY(index.column() >= 1);
        }
    }

    void doubleClick()
    {
        auto grid = shownGrid();
        QVERIFY(grid);
        QSignalSpy doubled(grid.get(), &Grid::doubleClicked);
        QSignalSpy clicked(grid.get(), &Grid::clicked);
        QSignalSpy up(grid.get(), &Grid::mouseUp);
        doubleClickAt(grid->table()->viewport(), centreOf(grid->cellRect(3, 2)));
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(up.count(), 2);
        QCOMPARE(grid->row(), 3);
        QCOMPARE(grid->col(), 2);
    }

    void doubleClickBelowTheRows()
    {
        // The to-do list without items: the double-click lands on empty space
        // and must still reach the window, with the header row current.
        auto grid = shownGrid(0);
        QVERIFY(grid);
        QSignalSpy doubled(grid.get(), &Grid::doubleClicked);
        doubleClickAt(grid->table()->viewport(), QPoint(50, 50));
        QCOMPARE(doubled.count(), 1);
        QCOMPARE(grid->row(), 0);
        QCOMPARE(grid->mouseRow(), -1);
    }

    void rightPress_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("dataRows");
        QTest::addColumn<int>("expectedMouseRow");
        QTest::newRow("over a cell") << 7 << 50 << 7;
        QTest::newRow("over the header") << 0 << 50 << 0;
        QTest::newRow("below the last row") << -1 << 3 << -1;
    }

    void rightPress()
    {
        QFETCH(int, row);
        QFETCH(int, dataRows);
        QFETCH(int, expectedMouseRow);
        auto grid = shownGrid(dataRows);
        QVERIFY(grid);
        grid->selectRow(2, 1);

        QWidget *target = row == 0 ? grid->table()->horizontalHeader()->viewport() : grid->table()->viewport();
        const QPoint pos = row < 0 ? QPoint(50, grid->table()->viewport()->height() - 5)
                                   : centreOf(grid->cellRect(row, 2));

        QList<int> mouseRows;
        connect(grid.get(), &Grid::mouseDown, grid.get(), [&] { mouseRows.append(grid->mouseRow()); });
        connect(grid.get(), &Grid::mouseUp, grid.get(), [&] { mouseRows.append(grid->mouseRow()); });
        QSignalSpy down(grid.get(), &Grid::mouseDown);
        QSignalSpy up(grid.get(), &Grid::mouseUp);
        QSignalSpy clicked(grid.get(), &Grid::clicked);

        QTest::mousePress(target, Qt::RightButton, {}, pos);
        QCOMPARE(down.count(), 1);
        QCOMPARE(down.first().at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(down.first().at(1).toPoint(), target->mapToGlobal(pos));
        // The press alone leaves the current cell where it was.
        QCOMPARE(grid->row(), 2);
        QCOMPARE(grid->col(), 1);
        QCOMPARE(grid->table()->currentIndex(), grid->table()->model()->index(1, 1));

        QTest::mouseRelease(target, Qt::RightButton, {}, pos);
        QCOMPARE(up.count(), 1);
        QCOMPARE(up.first().at(0).value<Qt::MouseButton>(), Qt::RightButton);
        QCOMPARE(mouseRows, (QList<int>{expectedMouseRow, expectedMouseRow}));
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(grid->row(), 2);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expectedChar");   // -1: no key press reported
        QTest::newRow("delete") << int(Qt::Key_Delete) << QString() << -1;
        QTest::newRow("return") << int(Qt::Key_Return) << QStringLiteral("\r") << 13;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << QStringLiteral("\r") << 13;
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
        if (expectedChar < 0) {
            QCOMPARE(keyPressed.count(), 0);
        } else {
            QCOMPARE(keyPressed.count(), 1);
            QCOMPARE(keyPressed.first().first().value<QChar>(), QChar(expectedChar));
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Handled here, not passed on to a dialog's default button.
            QVERIFY(press.isAccepted());
        }
        QCOMPARE(grid.row(), 5);
        QCOMPARE(grid.col(), 2);
    }

    void arrowKeysMoveTheCurrentCell()
    {
        auto grid = shownGrid();
        QVERIFY(grid);
        grid->setFocus();
        grid->selectRow(5, 2);
        QTest::keyClick(grid->table(), Qt::Key_Down);
        QCOMPARE(grid->row(), 6);
        QCOMPARE(grid->col(), 2);
        // Left passes the hidden column into the fixed one, which is not the
        // user's: the current cell stays on the row's first data column.
        QTest::keyClick(grid->table(), Qt::Key_Left);
        QCOMPARE(grid->col(), 1);
        QCOMPARE(grid->row(), 6);
        QCOMPARE(grid->rowSel(), 6);
        QCOMPARE(grid->colSel(), 3);
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
        grid->setAccessibleName(QStringLiteral("Agenda"));
        grid->selectRow(0, 1);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(grid->table()->accessibleName(), QStringLiteral("Agenda"));

        QSignalSpy lost(grid, &Grid::lostFocus);
        grid->setFocus();
        QTRY_VERIFY(grid->table()->hasFocus());
        QVERIFY(grid->hasFocus());
        // Taking the focus does not make a data row current behind the
        // window's back.
        QCOMPARE(grid->row(), 0);
        QVERIFY(!grid->table()->currentIndex().isValid());

        // A pop-up menu over the grid does not take the focus away from it.
        QMenu menu;
        menu.addAction(QStringLiteral("Edit Task"));
        menu.popup(grid->mapToGlobal(QPoint(20, 20)));
        QTRY_VERIFY(menu.isVisible());
        menu.close();
        QCOMPARE(lost.count(), 0);

        // Nor does going to the menu bar with the keyboard (Alt).
        QFocusEvent toMenuBar(QEvent::FocusOut, Qt::MenuBarFocusReason);
        QCoreApplication::sendEvent(grid->table(), &toMenuBar);
        QCOMPARE(lost.count(), 0);
        grid->setFocus();

        other->setFocus();
        QTRY_COMPARE(lost.count(), 1);
    }

    void fillingManyRowsIsFast()
    {
        auto grid = shownGrid();
        QVERIFY(grid);
        constexpr int count = 10000;
        QElapsedTimer timer;
        timer.start();
        grid->clear();
        grid->setFormatString(QStringLiteral("To-Do List|Priority"));
        grid->setRows(count + 1);
        for (int row = 1; row <= count; ++row) {
            grid->setTextMatrix(row, 0, QStringLiteral("item %1").arg(row));
            grid->setTextMatrix(row, 1, QStringLiteral("High"));
            // Both ways of formatting: by address, and through the current cell.
            if (row % 3 == 0) {
                grid->setCellStrikeThroughAt(row, 0, true);
                grid->setCellStrikeThroughAt(row, 1, true);
            } else if (row % 3 == 1) {
                grid->setRow(row);
                grid->setCol(1);
                grid->setCellFontStrikeThrough(true);
                grid->setCellBackColor(QColor(192, 192, 192));
            }
        }
        grid->selectRow(1, 0);
        const qint64 elapsed = timer.elapsed();
        qDebug() << "filled" << count << "rows in" << elapsed << "ms";
        QVERIFY2(elapsed < 1000, qPrintable(QStringLiteral("%1 ms").arg(elapsed)));
        QCOMPARE(grid->textMatrix(count, 0), QStringLiteral("item %1").arg(count));
        QVERIFY(grid->cellStrikeThroughAt(count - 1, 1));
    }
};

BREVANE_TEST(GridTests)

#include "tst_grid.moc"
