#include "AccessibleControls.h"

#include "AutoLabel.h"
#include "PictureBox.h"
#include "Pressable.h"
#include "TilingImage.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>
#include <QWidget>

namespace zelvo {

namespace {

class PressableAccessible : public QAccessibleWidget
{
public:
    PressableAccessible(QWidget* widget, Pressable& pressable, QAccessible::Role commandRole,
                        QAccessible::Role plainRole)
        : QAccessibleWidget(widget, plainRole), m_pressable(pressable), m_commandRole(commandRole),
          m_plainRole(plainRole)
    {
    }

    [[nodiscard]] QAccessible::Role role() const override
    {
        return m_pressable.isCommand() ? m_commandRole : m_plainRole;
    }

    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return accessibleNameWith(widget()->accessibleName(), m_pressable.subject());
        return QAccessibleWidget::text(kind);
    }

    [[nodiscard]] QStringList actionNames() const override
    {
        QStringList names = QAccessibleWidget::actionNames();
        if (m_pressable.isCommand())
            names.prepend(pressAction());
        return names;
    }

    void doAction(const QString& action) override
    {
        if (action != pressAction() || !m_pressable.isCommand()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        // A command may open a modal window; the assistive technology's call returns first.
        QTimer::singleShot(0, widget(), [pressable = &m_pressable] { pressable->press(); });
    }

private:
    Pressable& m_pressable;
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
        return new PressableAccessible(widget, *static_cast<PictureBox*>(widget),
                                       QAccessible::Button, QAccessible::Graphic);
    }
    if (isClass<TilingImage>(key)) {
        return new PressableAccessible(widget, *static_cast<TilingImage*>(widget),
                                       QAccessible::Button, QAccessible::Graphic);
    }
    if (isClass<AutoLabel>(key)) {
        return new PressableAccessible(widget, *static_cast<AutoLabel*>(widget), QAccessible::Link,
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
