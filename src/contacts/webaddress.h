#pragma once

#include <QString>

#include <optional>

namespace brevane::contacts {

// The address the Go buttons hand to the desktop for a stored web page, or
// nullopt when the text is not a web address. Only web and mail addresses
// are opened: handing any text to the desktop's default handler would let a
// stored contact start a program or open a local file.
//  - "http://", "https://" or "mailto:" in front: opened as typed;
//  - no scheme but shaped like a host name ("example.com/page"): "http://" is
//    put in front;
//  - anything else (a path, "file:", a program name, a text with blanks): nullopt.
[[nodiscard]] std::optional<QString> webAddressFor(const QString &text);

} // namespace brevane::contacts
