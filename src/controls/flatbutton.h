#pragma once

#include <QColor>
#include <QPushButton>

namespace brevane {

// A flat push button with a one-pixel edge: highlight colour on the top and
// left, shadow colour on the bottom and right. Windows switch it with their
// enableButton, which sets Enabled and both edge colours together. The
// calendar's day cells are flat buttons too, coloured by background and text.
class FlatButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(QColor HighlightColor READ highlightColor WRITE setHighlightColor)
    Q_PROPERTY(QColor ShadowColor READ shadowColor WRITE setShadowColor)
    Q_PROPERTY(QColor BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(QColor ForeColor READ foreColor WRITE setForeColor)
    // Design properties kept for completeness; nothing in the organizer changes them.
    Q_PROPERTY(bool playsounds READ playSounds WRITE setPlaySounds)
    Q_PROPERTY(bool usesystemsounds READ useSystemSounds WRITE setUseSystemSounds)

public:
    explicit FlatButton(const QString &caption = {}, QWidget *parent = nullptr);
    Q_DISABLE_COPY_MOVE(FlatButton)

    [[nodiscard]] QColor highlightColor() const { return m_highlight; }
    void setHighlightColor(const QColor &color);
    [[nodiscard]] QColor shadowColor() const { return m_shadow; }
    void setShadowColor(const QColor &color);
    [[nodiscard]] QColor backColor() const { return m_back; }
    void setBackColor(const QColor &color);
    [[nodiscard]] QColor foreColor() const { return m_fore; }
    void setForeColor(const QColor &color);
    [[nodiscard]] bool playSounds() const { return m_playSounds; }
    void setPlaySounds(bool on) { m_playSounds = on; }
    [[nodiscard]] bool useSystemSounds() const { return m_useSystemSounds; }
    void setUseSystemSounds(bool on) { m_useSystemSounds = on; }

    // The enableButton convention: enabling sets both edge colours to
    // edgeWhenEnabled, disabling sets them to light grey (192,192,192).
    void enableWithEdges(bool enable, const QColor &edgeWhenEnabled);

Q_SIGNALS:
    // Secondary button released over the button (the calendar pops up its menu).
    void rightReleased(const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    [[nodiscard]] QSize sizeHint() const override;

private:
    QColor m_highlight{128, 128, 128};
    QColor m_shadow{128, 128, 128};
    QColor m_back;
    QColor m_fore;
    bool m_playSounds = false;
    bool m_useSystemSounds = false;
};

inline const QColor kEdgeGrey{128, 128, 128};
inline const QColor kEdgeWhite{255, 255, 255};
inline const QColor kEdgeLightGrey{192, 192, 192};

} // namespace brevane
