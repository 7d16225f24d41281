#include "controls/flatbutton.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace brevane {

namespace {

constexpr int kTextPadding = 8;    // each side of the caption
constexpr int kIconSpacing = 4;    // between picture and caption
constexpr int kFocusInset = 3;
constexpr int kDefaultHeightAt96Dpi = 23;

} // namespace

FlatButton::FlatButton(const QString &caption, QWidget *parent)
    : QPushButton(caption, parent)
{
    setFlat(true);
    // The calendar pops up its menu on the right-button release; without this
    // the press would open the parents' context menus first.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void FlatButton::setHighlightColor(const QColor &color)
{
    m_highlight = color;
    update();
}

void FlatButton::setShadowColor(const QColor &color)
{
    m_shadow = color;
    update();
}

void FlatButton::setBackColor(const QColor &color)
{
    m_back = color;
    update();
}

void FlatButton::setForeColor(const QColor &color)
{
    m_fore = color;
    update();
}

void FlatButton::enableWithEdges(bool enable, const QColor &edgeWhenEnabled)
{
    setEnabled(enable);
    const QColor edge = enable ? edgeWhenEnabled : kEdgeLightGrey;
    m_highlight = edge;
    m_shadow = edge;
    update();
}

void FlatButton::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const QRect area = rect();
    const QPalette &pal = palette();

    painter.fillRect(area, m_back.isValid() ? m_back : pal.color(QPalette::Button));

    QColor textColor = m_fore.isValid() ? m_fore : pal.color(QPalette::ButtonText);
    if (!isEnabled()) {
        textColor = pal.color(QPalette::Disabled, QPalette::ButtonText);
    }

    // A pressed button shifts its content by a pixel and swaps its edge
    // colours, which is all the depth a flat button shows.
    const bool down = isDown() || isChecked();
    QRect content = area.adjusted(1, 1, -1, -1);
    if (down) {
        content.translate(1, 1);
    }

    const QIcon pic = icon();
    const QString caption = text();
    if (!pic.isNull()) {
        const QSize size = iconSize();
        const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
        const QPixmap pixmap = pic.pixmap(size, devicePixelRatio(), mode);
        const int textWidth = caption.isEmpty()
                                  ? 0
                                  : fontMetrics().size(Qt::TextShowMnemonic, caption).width() + kIconSpacing;
        const int x = content.left() + (content.width() - size.width() - textWidth) / 2;
        const int y = content.top() + (content.height() - size.height()) / 2;
        painter.drawPixmap(QRect(QPoint(x, y), size), pixmap);
        content.setLeft(x + size.width() + kIconSpacing);
        if (!caption.isEmpty()) {
            painter.setPen(textColor);
            painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, caption);
        }
    } else if (!caption.isEmpty()) {
        painter.setPen(textColor);
        painter.drawText(content, Qt::AlignCenter | Qt::TextShowMnemonic, caption);
    }

    if (hasFocus()) {
        QPen pen(textColor, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(kFocusInset, kFocusInset, -kFocusInset - 1, -kFocusInset - 1));
    }

    const QColor topLeft = down ? m_shadow : m_highlight;
    const QColor bottomRight = down ? m_highlight : m_shadow;
    const int w = area.width();
    const int h = area.height();
    painter.fillRect(QRect(0, 0, w, 1), topLeft);
    painter.fillRect(QRect(0, 0, 1, h), topLeft);
    painter.fillRect(QRect(0, h - 1, w, 1), bottomRight);
    painter.fillRect(QRect(w - 1, 0, 1, h), bottomRight);
}

void FlatButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        event->accept();
        if (isEnabled() && rect().contains(event->position().toPoint())) {
            Q_EMIT rightReleased(event->globalPosition().toPoint());
        }
        return;
    }
    QPushButton::mouseReleaseEvent(event);
}

QSize FlatButton::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const QSize textSize = metrics.size(Qt::TextShowMnemonic, text());
    int width = textSize.width() + 2 * kTextPadding;
    int height = textSize.height();
    if (!icon().isNull()) {
        width += iconSize().width() + (text().isEmpty() ? 0 : kIconSpacing);
        height = std::max(height, iconSize().height());
    }
    const int minimumHeight = qRound(kDefaultHeightAt96Dpi * logicalDpiY() / 96.0);
    return {width, std::max(height + 8, minimumHeight)};
}

} // namespace brevane
