#pragma once

#include <QLineEdit>

namespace brevane {

// A one-line text box that holds at most a number of characters as the user
// sees them: an accented letter or an emoji counts once and is never cut in
// half. Typing past the limit is refused and a paste is cut to fit. A longer
// text set by the program (an old record) or through the accessibility
// interface is shown whole and can be shortened, never lengthened; a window
// that saves the text asks fits() first and refuses with tooLongMessage().
class LimitedLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit LimitedLineEdit(int maxCharacters, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(LimitedLineEdit)

    [[nodiscard]] int maxCharacters() const { return m_limit; }
    // True when the text holds at most maxCharacters() characters.
    [[nodiscard]] bool fits() const;
    // What a window says when it refuses to save a text that does not fit.
    [[nodiscard]] QString tooLongMessage() const;

private:
    void limitEdit(const QString &edited);

    int m_limit;
    // The text before the user's current edit.
    QString m_accepted;
};

} // namespace brevane
