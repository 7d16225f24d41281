#pragma once

#include "core/organizer.h"

#include <QString>

// Limits on text measured in characters as the user sees them (grapheme
// clusters): an accented letter written with a combining mark, or an emoji
// made of several code points, counts once and is never cut in half.
namespace brevane::textlimit {

// The count the store also holds records to.
using brevane::characterCount;

// The text after an edit, kept within `limit` characters. `before` is the
// text before the edit, `after` the edited text and `cursor` the cursor
// position after the edit (in UTF-16 units), which ends what was inserted.
// What the edit inserted is shortened from its end until the text fits; the
// rest of the text is never touched, so a text that was already longer than
// the limit can still be shortened but not lengthened.
struct Trimmed {
    QString text;
    int cursor = 0;
};
[[nodiscard]] Trimmed limitEdit(const QString &before, const QString &after, int cursor, int limit);

} // namespace brevane::textlimit
