#pragma once

#include <QPlainTextEdit>

namespace brevane {

// The note's text box: many lines, holding at most a number of characters as
// the user sees them. An edit that would go past the limit (typing, pasting,
// dropping, undoing) is refused whole, with a beep, rather than cut short; a
// longer text set by the program is shown whole and can be shortened, never
// lengthened.
class NoteTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit NoteTextEdit(int maxCharacters, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(NoteTextEdit)

    [[nodiscard]] int maxCharacters() const { return m_limit; }
    [[nodiscard]] QString text() const { return toPlainText(); }
    // Fills the box by program; emits no edited().
    void setText(const QString &text);

Q_SIGNALS:
    // The user changed the text, and the change was kept.
    void edited();

private:
    void checkEdit();

    int m_limit;
    // The text before the user's current edit.
    QString m_accepted;
    // Its length in characters; -1 until counted.
    int m_acceptedCount = -1;
    bool m_settingText = false;
};

} // namespace brevane
