#include "AccessibleControls.h"

#include "AutoLabel.h"
#include "PictureBox.h"
#include "TilingImage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

namespace zelvo {

namespace {

// W is a Pressable widget. It is looked up on every call: a widget being destroyed is no
// longer a W, and then reads as a plain one.
template <class W> class PressableAccessible : public QAccessibleWidget
{
public:
    PressableAccessible(QWidget* widget, QAccessible::Role commandRole, QAccessible::Role plainRole)
        : QAccessibleWidget(widget, plainRole), m_commandRole(commandRole), m_plainRole(plainRole)
    {
    }

    [[nodiscard]] QAccessible::Role role() const override
    {
        return command() ? m_commandRole : m_plainRole;
    }

    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        const W* pressable = qobject_cast<const W*>(object());
        if (kind == QAccessible::Name && pressable)
            return accessibleNameWith(widget()->accessibleName(), pressable->subject());
        return QAccessibleWidget::text(kind);
    }

    [[nodiscard]] QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (command())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override
    {
        if (action != pressAction() || !command()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // A command may open a modal window; the assistive technology's call returns first.
        QTimer::singleShot(0, widget(), [widget = widget()] {
            if (W* pressable = qobject_cast<W*>(widget))
                pressable->press();
        });
    }

private:
    [[nodiscard]] bool command() const
    {
        const W* pressable = qobject_cast<const W*>(object());
        return pressable && pressable->isCommand();
    }

    QAccessible::Role m_commandRole;
    QAccessible::Role m_plainRole;
};

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

template <class W> [[nodiscard]] bool isClass(const QString& key)
{
    return key == QLatin1String(W::staticMetaObject.className());
}

QAccessibleInterface* accessibleFor(const QString& key, QObject* object)
{
    if (!object || !object->isWidgetType())
        return nullptr;
    auto* widget = static_cast<QWidget*>(object);
    if (isClass<PictureBox>(key)) {
        return new PressableAccessible<PictureBox>(widget, QAccessible::Button,
                                                   QAccessible::Graphic);
    }
    if (isClass<TilingImage>(key)) {
        return new PressableAccessible<TilingImage>(widget, QAccessible::Button,
                                                    QAccessible::Graphic);
    }
    if (isClass<AutoLabel>(key)) {
        return new PressableAccessible<AutoLabel>(widget, QAccessible::Link,
                                                  QAccessible::StaticText);
    }
    // The program's windows are plain widgets, which would otherwise read as a mere client area.
    const QMetaObject* meta = object->metaObject();
    if (key == QLatin1String(meta->className()) && meta->superClass() == &QWidget::staticMetaObject)
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
    if (subject.isEmpty())
        return name;
    if (name.isEmpty())
        return subject;
    return name + QLatin1String(": ") + subject;
}

} // namespace zelvo
