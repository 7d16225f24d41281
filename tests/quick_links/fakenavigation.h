#pragma once

#include "platform/navigation.h"

#include <QList>

namespace brevane::testing {

// Records what a window asks of the main window.
class FakeNavigation final : public Navigation
{
public:
    FakeNavigation() = default;
    Q_DISABLE_COPY_MOVE(FakeNavigation)

    void showDay(const QDate &) override {}
    bool showAgendaTask(store::RecordId task) override
    {
        agendaShown << task;
        return found;
    }
    bool showToDoItem(store::RecordId item) override
    {
        toDoShown << item;
        return found;
    }
    void reloadQuickLinks() override { ++quickLinkReloads; }
    void settingsChanged() override {}
    void reloadAll() override {}

    bool found = true;
    int quickLinkReloads = 0;
    QList<store::RecordId> agendaShown;
    QList<store::RecordId> toDoShown;
};

} // namespace brevane::testing
