#pragma once

#include <QString>

#include <optional>

namespace brevane::store {

// The outcome of a read. A failed read carries a reason the window can show,
// so that a file that could not be read is never shown as an empty one. For a
// read of one record by identity, a successful read without a value means the
// record is no longer in the file.
template <typename T>
struct [[nodiscard]] ReadResult {
    std::optional<T> value;
    QString error;

    [[nodiscard]] bool ok() const { return error.isEmpty(); }
    [[nodiscard]] static ReadResult failed(QString reason) { return {std::nullopt, std::move(reason)}; }
};

} // namespace brevane::store
