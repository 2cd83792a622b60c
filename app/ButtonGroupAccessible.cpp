#include "app/ButtonGroupAccessible.h"

#include "app/ButtonGroup.h"

#include <QAccessibleActionInterface>
#include <QQuickWindow>

namespace {

QRect onScreen(const ButtonGroup *group, QRectF sceneRect) {
    const QQuickWindow *window = group->window();
    if (!window)
        return {};
    return QRect(window->mapToGlobal(sceneRect.topLeft().toPoint()), sceneRect.size().toSize());
}

// One button of a group.
class GroupButtonAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    GroupButtonAccessible(ButtonGroup *group, QString name)
        : m_group(group), m_name(std::move(name)) {}

    bool isValid() const override { return !m_group.isNull(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_group ? m_group->window() : nullptr; }
    QAccessibleInterface *parent() const override {
        return m_group ? QAccessible::queryAccessibleInterface(m_group) : nullptr;
    }
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QRect rect() const override {
        return m_group ? onScreen(m_group, m_group->buttonSceneRect(m_name)) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QAccessible::State state() const override {
        QAccessible::State state;
        state.invisible = !m_group || !m_group->isVisible();
        state.offscreen = state.invisible;
        return state;
    }
    QString text(QAccessible::Text t) const override {
        if (t != QAccessible::Name || !m_group)
            return {};
        const QString said = m_group->names() ? m_group->names()->control(m_name) : QString();
        return said.isEmpty() ? m_name : said;
    }
    void setText(QAccessible::Text, const QString &) override {}
    void *interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface
                   ? static_cast<QAccessibleActionInterface *>(this)
                   : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &action) override {
        if (action == pressAction() && m_group)
            m_group->pressButton(m_name);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<ButtonGroup> m_group;
    QString m_name;
};

QAccessibleInterface *groupFactory(const QString &, QObject *object) {
    if (auto *group = qobject_cast<ButtonGroup *>(object))
        return new ButtonGroupAccessible(group);
    return nullptr;
}

} // namespace

ButtonGroupAccessible::ButtonGroupAccessible(ButtonGroup *group) : QAccessibleObject(group) {
    group->m_accessibleMade = true;
}

ButtonGroupAccessible::~ButtonGroupAccessible() {
    for (QAccessible::Id id : std::as_const(m_buttons))
        QAccessible::deleteAccessibleInterface(id);
}

void ButtonGroupAccessible::install() {
    // Installed after the toolkit's own factory, so asked first.
    static const bool installed = [] {
        QAccessible::installFactory(groupFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

void ButtonGroupAccessible::buttonsShown(ButtonGroup *group, bool shown) {
    auto *iface =
        dynamic_cast<ButtonGroupAccessible *>(QAccessible::queryAccessibleInterface(group));
    if (!iface)
        return;
    // Every button, those the reader has not asked for yet included: a reader that passed over
    // the hidden group learns of its buttons from these events.
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleEvent event(iface->child(i),
                               shown ? QAccessible::ObjectShow : QAccessible::ObjectHide);
        QAccessible::updateAccessibility(&event);
    }
}

ButtonGroup *ButtonGroupAccessible::group() const {
    return static_cast<ButtonGroup *>(object());
}

QAccessibleInterface *ButtonGroupAccessible::parent() const {
    QQuickItem *above = group()->parentItem();
    // Past the items screen readers are not shown, as the toolkit does for its own items.
    while (above && above->parentItem() && !QAccessible::queryAccessibleInterface(above))
        above = above->parentItem();
    if (!above || (group()->window() && above == group()->window()->contentItem()))
        return QAccessible::queryAccessibleInterface(group()->window());
    return QAccessible::queryAccessibleInterface(above);
}

int ButtonGroupAccessible::childCount() const {
    return int(group()->buttonNames().size());
}

QAccessibleInterface *ButtonGroupAccessible::child(int index) const {
    const QStringList names = group()->buttonNames();
    if (index < 0 || index >= names.size())
        return nullptr;
    auto id = m_buttons.constFind(index);
    if (id == m_buttons.cend())
        id = m_buttons.insert(index, QAccessible::registerAccessibleInterface(
                                         new GroupButtonAccessible(group(), names[index])));
    return QAccessible::accessibleInterface(*id);
}

int ButtonGroupAccessible::indexOfChild(const QAccessibleInterface *child) const {
    for (auto it = m_buttons.cbegin(); it != m_buttons.cend(); ++it) {
        if (QAccessible::accessibleInterface(*it) == child)
            return it.key();
    }
    return -1;
}

QAccessibleInterface *ButtonGroupAccessible::childAt(int x, int y) const {
    const QQuickWindow *window = group()->window();
    if (!window)
        return nullptr;
    const QPointF scene = window->mapFromGlobal(QPoint(x, y));
    return child(group()->buttonAt(group()->mapFromScene(scene)));
}

QWindow *ButtonGroupAccessible::window() const {
    return group()->window();
}

QRect ButtonGroupAccessible::rect() const {
    return onScreen(group(), group()->mapRectToScene(group()->boundingRect()));
}

QAccessible::State ButtonGroupAccessible::state() const {
    QAccessible::State state;
    state.invisible = !group()->isVisible();
    state.offscreen = state.invisible;
    return state;
}

QString ButtonGroupAccessible::text(QAccessible::Text t) const {
    if (t != QAccessible::Name || !group()->names())
        return {};
    return group()->names()->group(group()->objectName());
}
