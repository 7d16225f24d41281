#include "controls/limitedlineedit.h"

#include "controls/textlimit.h"

namespace brevane {

LimitedLineEdit::LimitedLineEdit(int maxCharacters, QWidget *parent)
    : QLineEdit(parent), m_limit(maxCharacters)
{
    // A user's edit arrives as textEdited before textChanged, so m_accepted
    // still holds the text before it. textChanged carries the text as it was
    // before any trimming, hence text() rather than its argument.
    connect(this, &QLineEdit::textEdited, this, &LimitedLineEdit::limitEdit);
    connect(this, &QLineEdit::textChanged, this, [this] { m_accepted = text(); });
}

bool LimitedLineEdit::fits() const
{
    return textlimit::characterCount(text()) <= m_limit;
}

QString LimitedLineEdit::tooLongMessage() const
{
    return tr("The task may be at most %1 characters long.  Please shorten it.").arg(m_limit);
}

void LimitedLineEdit::limitEdit(const QString &edited)
{
    const textlimit::Trimmed kept = textlimit::limitEdit(m_accepted, edited, cursorPosition(), m_limit);
    if (kept.text == edited)
        return;
    setText(kept.text);
    setCursorPosition(kept.cursor);
    setModified(true);
}

} // namespace brevane
