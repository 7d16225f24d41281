#pragma once

#include <QLineEdit>

namespace brevane {

// A one-line text box that holds at most a number of characters as the user
// sees them: an accented letter or an emoji counts once and is never cut in
// half. Typing past the limit is refused and a paste is cut to fit. A longer
// text set by the program (an old record) is shown whole and can be
// shortened, never lengthened.
class LimitedLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit LimitedLineEdit(int maxCharacters, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(LimitedLineEdit)

    [[nodiscard]] int maxCharacters() const { return m_limit; }

private:
    void limitEdit(const QString &edited);

    int m_limit;
    // The text before the user's current edit.
    QString m_accepted;
};

} // namespace brevane
