#include "platform/windowaccessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace brevane {

namespace {

QAccessibleInterface *windowFactory(const QString &key, QObject *object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    const QMetaObject *meta = widget->metaObject();
    // Only for the class itself (the factory is asked once per base class
    // too), only for our own classes, and only for those whose Qt base is a
    // plain QWidget: menus, dialogs and main windows keep Qt's own answers.
    if (!widget->isWindow() || key != QLatin1String(meta->className())
        || !key.startsWith(QLatin1String("brevane::")) || meta->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void installWindowAccessibility()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QAccessible::installFactory(&windowFactory);
}

} // namespace brevane
