#include "platform/appicon.h"

#include <QPainter>
#include <QPixmap>

namespace brevane {

QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        const double s = size / 64.0;
        p.setPen(QPen(QColor(0, 64, 128), 2 * s));
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(6 * s, 10 * s, 52 * s, 48 * s), 5 * s, 5 * s);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 96, 176));
        p.drawRect(QRectF(7 * s, 11 * s, 50 * s, 12 * s));
        p.setBrush(QColor(192, 255, 192));
        p.drawRect(QRectF(30 * s, 34 * s, 10 * s, 9 * s));
        p.setBrush(QColor(0, 64, 128));
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 4; ++col)
                p.drawRect(QRectF((13 + col * 11) * s, (28 + row * 9) * s, 5 * s, 4 * s));
        p.setBrush(QColor(255, 0, 0));
        p.drawEllipse(QRectF(17 * s, 5 * s, 6 * s, 10 * s));
        p.drawEllipse(QRectF(41 * s, 5 * s, 6 * s, 10 * s));
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace brevane
