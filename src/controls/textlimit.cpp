#include "controls/textlimit.h"

#include <QList>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace brevane::textlimit {

Trimmed limitEdit(const QString &before, const QString &after, int cursor, int limit)
{
    cursor = std::clamp(cursor, 0, int(after.size()));
    const int count = characterCount(after);
    if (count <= limit)
        return {after, cursor};

    // What follows the cursor is taken as the untouched end of the old text;
    // the inserted text runs from the first difference up to the cursor.
    const qsizetype tail = after.size() - cursor;
    const QStringView head = QStringView(before).left(std::max<qsizetype>(0, before.size() - tail));
    qsizetype start = 0;
    while (start < cursor && start < head.size() && head.at(start) == after.at(start))
        ++start;

    // Where a cut may fall: the starts of the inserted characters.
    QList<qsizetype> cuts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, after);
    finder.setPosition(start);
    if (!finder.isAtBoundary())
        finder.toNextBoundary();
    for (qsizetype pos = finder.position(); pos >= 0 && pos < cursor; pos = finder.toNextBoundary())
        cuts.append(pos);
    if (cuts.isEmpty())
        return {after, cursor};

    // Removing one whole character shortens the count by one, unless the
    // pieces join into one character; the guess is checked and widened.
    const QString rest = after.mid(cursor);
    qsizetype index = std::max<qsizetype>(0, cuts.size() - (count - limit));
    for (;;) {
        const qsizetype cut = cuts.at(index);
        QString text = after.left(cut) + rest;
        if (index == 0 || characterCount(text) <= limit)
            return {std::move(text), int(cut)};
        --index;
    }
}

} // namespace brevane::textlimit
