#pragma once

#include <QtGlobal>

namespace brevane {

// A window that holds typing not yet saved. Before the program ends, the main
// window asks every open window that has this interface, so that closing it
// never drops what the user typed without a word.
class UnsavedChanges
{
public:
    UnsavedChanges() = default;
    virtual ~UnsavedChanges() = default;
    Q_DISABLE_COPY_MOVE(UnsavedChanges)

    [[nodiscard]] virtual bool hasUnsavedChanges() const = 0;
};

} // namespace brevane
