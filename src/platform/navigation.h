#pragma once

#include "store/recordset.h"

#include <QDate>

namespace brevane {

// What a window may ask of the main window. The main window implements it and
// hands it to the windows it opens, so that no window includes the main
// window: the task search shows what it found, the quick-links manager and the
// preferences tell it what changed, an import has it reload everything.
class Navigation
{
public:
    Navigation() = default;
    virtual ~Navigation() = default;
    Q_DISABLE_COPY_MOVE(Navigation)

    // Moves the calendar to this day and shows its agenda.
    virtual void showDay(const QDate &day) = 0;
    // What showing a record came to. A file that could not be read has been
    // reported by then. A record the view does not show (an agenda task
    // standing under a later task of the same start) leaves the selection as
    // it was.
    enum class Shown { Selected, NotShown, Gone, Unreadable };
    // Moves the calendar to the task's day and selects the task's agenda row.
    virtual Shown showAgendaTask(store::RecordId task) = 0;
    // Selects the item's row of the to-do list.
    virtual Shown showToDoItem(store::RecordId item) = 0;
    // The quick links changed: the main window's box and tray menu re-read them.
    virtual void reloadQuickLinks() = 0;
    // The settings changed (the tray option): the main window re-reads them.
    virtual void settingsChanged() = 0;
    // Many records changed at once (an import): every view re-reads the file.
    virtual void reloadAll() = 0;
};

} // namespace brevane
