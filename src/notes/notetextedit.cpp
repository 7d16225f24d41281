#include "notes/notetextedit.h"

#include "controls/textlimit.h"
#include "platform/desktop.h"

#include <QTextCursor>

#include <algorithm>

namespace brevane {

NoteTextEdit::NoteTextEdit(int maxCharacters, QWidget *parent)
    : QPlainTextEdit(parent), m_limit(maxCharacters)
{
    connect(this, &QPlainTextEdit::textChanged, this, &NoteTextEdit::checkEdit);
}

void NoteTextEdit::setText(const QString &text)
{
    m_settingText = true;
    setPlainText(text);
    m_settingText = false;
    m_accepted = toPlainText();
    m_acceptedCount = -1;
}

void NoteTextEdit::checkEdit()
{
    if (m_settingText)
        return;
    const QString now = toPlainText();
    if (now == m_accepted)
        return;
    // No text of fewer code units can hold more characters, so the costly
    // counts are only made near the limit, and the accepted text's only once.
    const auto acceptedCount = [this] {
        if (m_acceptedCount < 0)
            m_acceptedCount = textlimit::characterCount(m_accepted);
        return m_acceptedCount;
    };
    int count = -1;
    if (now.size() > m_limit && now.size() > m_accepted.size())
        count = textlimit::characterCount(now);
    if (count <= m_limit || count <= acceptedCount()) {
        m_accepted = now;
        m_acceptedCount = count;
        Q_EMIT edited();
        return;
    }
    // The edit inserted text just before the cursor; put the cursor back
    // where it stood before.
    const int cursor = textCursor().position() - int(now.size() - m_accepted.size());
    m_settingText = true;
    setPlainText(m_accepted);
    m_settingText = false;
    QTextCursor restored = textCursor();
    restored.setPosition(std::clamp(cursor, 0, int(m_accepted.size())));
    setTextCursor(restored);
    desktop().beep();
}

} // namespace brevane
