#pragma once

#include "store/todorepository.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QLabel;
class QMenu;
class QWidget;

namespace brevane {

class FlatButton;
class Grid;
class frmAddToDo;
namespace store {
class Database;
}

// The to-do list: the grid under the calendar, its three buttons, the
// commands of the "To-Do List" menu (also the grid's pop-up) and the editor.
// Its widgets live in the window's client area, where the window places them.
class ToDoView : public QObject
{
    Q_OBJECT

public:
    ToDoView(store::Database &db, QWidget *client);
    ~ToDoView() override;
    Q_DISABLE_COPY_MOVE(ToDoView)

    [[nodiscard]] Grid *grid() const { return m_grid; }
    // New, Edit and Delete, left to right.
    [[nodiscard]] QList<FlatButton *> buttons() const { return {m_cmdAdd, m_cmdEdit, m_cmdDelete}; }

    // Rebuilds the list from the file; the first item is highlighted and the
    // commands that act on a selected item are off until one is chosen. A
    // failed read is reported, the list keeps what it showed, and the answer
    // is false.
    bool reload();
    // Selects the item's row; false when the list does not show it.
    bool selectItem(store::RecordId id);
    // The item shown on a grid row (rows count from 1).
    [[nodiscard]] std::optional<store::ToDoItem> itemAt(int row) const;

    // Commands.
    void addItem();
    void editItem();
    void deleteItem();
    void setPriority(int code);
    void toggleDone();

    [[nodiscard]] QAction *newItemAction() const { return m_new; }
    [[nodiscard]] QAction *fileNewItemAction() const { return m_fileNew; }
    [[nodiscard]] QAction *editItemAction() const { return m_edit; }
    [[nodiscard]] QAction *deleteItemAction() const { return m_delete; }
    [[nodiscard]] QMenu *priorityMenu() const { return m_priorityMenu; }
    [[nodiscard]] QAction *markAsDoneAction() const { return m_markAsDone; }
    void setContextMenu(QMenu *menu) { m_contextMenu = menu; }
    // The commands that act on the selected item.
    void setSelectionCommandsEnabled(bool enable);

    // Places the columns after the window sized the grid.
    void sizeColumns();

Q_SIGNALS:
    // The list gives the keyboard back to the agenda (after a click on its
    // header or an empty list).
    void focusLeaves();

private:
    void buildCommands();
    // Writes the item of a row (1..) into that row of the grid.
    void drawRow(int row);
    // Where a rebuilt or changed list starts: the first item highlighted and
    // the commands on a selected item off.
    void selectFirst();
    // Writes the named fields of a row's item and redraws that row alone.
    void changeRow(int row, const store::ToDoItem &item, store::ToDoFields fields);
    // A page of items could not be read: reported once the current paint ends.
    void reportFailedRead(const QString &error) const;
    [[nodiscard]] int selectedRow() const;
    frmAddToDo *editor();
    // False when the open editor holds unsaved typing the user keeps.
    bool editorMayTakeAnotherItem();
    void editorClosed();
    // After the editor wrote an item: its row is redrawn, or a new item's
    // row added at the end, without reading the list again.
    void itemSaved(store::RecordId id);
    void updateMarkAsDoneCaption(int row);
    void clicked();
    void doubleClicked();
    void keyPressed(QChar key);
    void mousePressed(Qt::MouseButton button);
    void keyboardMoved();
    void reportWrite(const store::WriteResult &result, const QString &what);
    [[nodiscard]] QWidget *window() const;

    store::Database &m_db;
    // The identity of the item on each row, row 1 first; the items are read
    // a page at a time when first shown and kept by identity.
    QList<store::RecordId> m_ids;
    mutable QHash<store::RecordId, store::ToDoItem> m_cache;
    mutable bool m_readFailureReported = false;
    QPointer<frmAddToDo> m_editor;

    Grid *m_grid = nullptr;
    QLabel *m_lblPriorityWidth = nullptr;
    FlatButton *m_cmdAdd = nullptr;
    FlatButton *m_cmdEdit = nullptr;
    FlatButton *m_cmdDelete = nullptr;
    QMenu *m_contextMenu = nullptr;
    QAction *m_new = nullptr;
    QAction *m_fileNew = nullptr;
    QAction *m_edit = nullptr;
    QAction *m_delete = nullptr;
    QMenu *m_priorityMenu = nullptr;
    QAction *m_markAsDone = nullptr;
};

} // namespace brevane
