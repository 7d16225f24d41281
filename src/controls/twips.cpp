#include "controls/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

namespace brevane::twips {

namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kFallbackDpi = 96;

int dpiOf(const QWidget *widget)
{
    int dpi = 0;
    if (widget) {
        dpi = widget->logicalDpiX();
    } else if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        dpi = qRound(screen->logicalDotsPerInchX());
    }
    return dpi > 0 ? dpi : kFallbackDpi;
}

// Window layouts compute widths by subtraction and can go wild on a tiny
// window; a pixel value that does not fit an int must not become undefined
// behaviour in the conversion.
int roundToPixels(double pixels)
{
    if (std::isnan(pixels)) {
        return 0;
    }
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    return static_cast<int>(std::lround(std::clamp(pixels, lo, hi)));
}

} // namespace

double twipsPerPixel(const QWidget *widget)
{
    return kTwipsPerInch / dpiOf(widget);
}

int toPixels(const QWidget *widget, double twips)
{
    return roundToPixels(twips / twipsPerPixel(widget));
}

double fromPixels(const QWidget *widget, int pixels)
{
    return pixels * twipsPerPixel(widget);
}

void setGeometry(QWidget *widget, double left, double top, double width, double height)
{
    if (!widget) {
        return;
    }
    widget->setGeometry(toPixels(widget, left), toPixels(widget, top),
                        std::max(0, toPixels(widget, width)), std::max(0, toPixels(widget, height)));
}

void setLeft(QWidget *widget, double left)
{
    if (widget) {
        widget->move(toPixels(widget, left), widget->y());
    }
}

void setTop(QWidget *widget, double top)
{
    if (widget) {
        widget->move(widget->x(), toPixels(widget, top));
    }
}

void setWidth(QWidget *widget, double width)
{
    if (widget) {
        widget->resize(std::max(0, toPixels(widget, width)), widget->height());
    }
}

void setHeight(QWidget *widget, double height)
{
    if (widget) {
        widget->resize(widget->width(), std::max(0, toPixels(widget, height)));
    }
}

void setWidthIfRoom(QWidget *widget, double width)
{
    if (widget && toPixels(widget, width) > 0)
        setWidth(widget, width);
}

void setHeightIfRoom(QWidget *widget, double height)
{
    if (widget && toPixels(widget, height) > 0)
        setHeight(widget, height);
}

double left(const QWidget *widget)
{
    return widget ? fromPixels(widget, widget->x()) : 0.0;
}

double top(const QWidget *widget)
{
    return widget ? fromPixels(widget, widget->y()) : 0.0;
}

double width(const QWidget *widget)
{
    return widget ? fromPixels(widget, widget->width()) : 0.0;
}

double height(const QWidget *widget)
{
    return widget ? fromPixels(widget, widget->height()) : 0.0;
}

} // namespace brevane::twips
