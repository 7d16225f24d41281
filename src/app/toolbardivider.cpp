#include "app/toolbardivider.h"

#include "controls/flatbutton.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace brevane {

namespace {

QAccessibleInterface *separatorFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("brevane::ToolbarDivider") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget *>(object), QAccessible::Separator);
    return nullptr;
}

} // namespace

ToolbarDivider::ToolbarDivider(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(separatorFactory);
        return true;
    }();
    Q_UNUSED(installed)
    setFocusPolicy(Qt::NoFocus);
}

void ToolbarDivider::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    const int w = width();
    const int h = height();
    painter.fillRect(rect(), palette().color(QPalette::Button));
    painter.fillRect(QRect(0, 0, w, 1), kEdgeGrey);
    painter.fillRect(QRect(0, 0, 1, h), kEdgeGrey);
    painter.fillRect(QRect(0, h - 1, w, 1), kEdgeWhite);
    painter.fillRect(QRect(w - 1, 0, 1, h), kEdgeWhite);
}

} // namespace brevane
