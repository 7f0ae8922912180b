#include "AccessibleControls.h"

#include "AutoLabel.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDialog>
#include <QTimer>

namespace zelvo {

namespace {

// Asked for as soon as the widget exists, before it is made a window of its own.
class WindowAccessible : public QAccessibleWidget
{
public:
    using QAccessibleWidget::QAccessibleWidget;

    [[nodiscard]] QAccessible::Role role() const override
    {
        return widget()->isWindow() ? QAccessible::Window : QAccessible::Client;
    }
};

class LinkAccessible : public QAccessibleWidget
{
public:
    explicit LinkAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Link) {}

    [[nodiscard]] QStringList actionNames() const override
    {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override
    {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // A command may open a modal window; the assistive technology's call returns first.
        QTimer::singleShot(0, widget(), [link = qobject_cast<LinkLabel*>(widget())] {
            if (link)
                emit link->clicked();
        });
    }
};

QAccessibleInterface* accessibleFor(const QString& key, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (key == QLatin1String(LinkLabel::staticMetaObject.className()))
        return new LinkAccessible(widget);
    // The program's windows are plain widgets and dialogs, which would otherwise read as a mere
    // client area and as dialogs; Qt's own dialogs are left as Qt reads them.
    const QMetaObject* meta = object->metaObject();
    const QMetaObject* base = meta->superClass();
    if (key == QLatin1String(meta->className()) && key.startsWith(QLatin1String("zelvo::")) &&
        (base == &QWidget::staticMetaObject || base == &QDialog::staticMetaObject))
        return new WindowAccessible(widget);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    QAccessible::installFactory(accessibleFor);
}

QString accessibleNameWith(const QString& name, const QString& subject)
{
    QStringList parts{name, subject};
    parts.removeAll(QString());
    return parts.join(QLatin1String(": "));
}

} // namespace zelvo
