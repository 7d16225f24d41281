#pragma once

#include <QString>

namespace brevane {

// Passwords are kept as "pbkdf2-sha256$<iterations>$<salt base64>$<hash base64>".
// A stored value without that form is an old plain-text password.
inline constexpr int kDefaultPasswordIterations = 120000;

[[nodiscard]] QString hashPassword(const QString &password,
                                   int iterations = kDefaultPasswordIterations);
[[nodiscard]] bool isHashedPassword(const QString &stored);
// Plain stored values compare exactly: case-sensitive, nothing trimmed.
[[nodiscard]] bool passwordMatches(const QString &typed, const QString &stored);

} // namespace brevane
