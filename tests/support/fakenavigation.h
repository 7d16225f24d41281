#pragma once

#include "platform/navigation.h"

#include <QList>

namespace brevane::testing {

// Records what a window asks of the main window (tests), or answers it
// without a main window (snapshots, benchmarks).
class FakeNavigation final : public Navigation
{
public:
    void showDay(const QDate &) override {}
    Shown showAgendaTask(store::RecordId task) override { return agendaShown << task, shown; }
    Shown showToDoItem(store::RecordId item) override { return toDoShown << item, shown; }
    void reloadQuickLinks() override { ++quickLinkReloads; }
    void settingsChanged() override { ++settingsChanges; }
    void reloadAll() override {}

    Shown shown = Shown::Selected;
    int quickLinkReloads = 0;
    int settingsChanges = 0;
    QList<store::RecordId> agendaShown;
    QList<store::RecordId> toDoShown;
};

} // namespace brevane::testing
