#pragma once

class QWidget;

// The organizer's window layouts are written in twips (1/1440 inch). They are
// converted here, at the edge: 15 twips per pixel at 96 dpi, scaled by the
// screen's logical dpi.
namespace brevane::twips {

[[nodiscard]] double twipsPerPixel(const QWidget *widget);
[[nodiscard]] int toPixels(const QWidget *widget, double twips);
[[nodiscard]] double fromPixels(const QWidget *widget, int pixels);

// Geometry of a child widget in twips of its parent.
void setGeometry(QWidget *widget, double left, double top, double width, double height);
void setLeft(QWidget *widget, double left);
void setTop(QWidget *widget, double top);
void setWidth(QWidget *widget, double width);
void setHeight(QWidget *widget, double height);
// The window layouts' rule for sizes computed from the window's size: one
// that leaves no room (under one pixel) keeps the control's previous size.
void setWidthIfRoom(QWidget *widget, double width);
void setHeightIfRoom(QWidget *widget, double height);
[[nodiscard]] double left(const QWidget *widget);
[[nodiscard]] double top(const QWidget *widget);
[[nodiscard]] double width(const QWidget *widget);
[[nodiscard]] double height(const QWidget *widget);

} // namespace brevane::twips
