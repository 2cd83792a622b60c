#include "app/ButtonGroup.h"

#include "app/ButtonGroupAccessible.h"
#include "app/PressQueue.h"
#include "app/TablePlace.h"

namespace {

// Enough for the mouse and two fingers on one group; a further finger on it still presses, its
// key just shows no hover look.
constexpr int kHoverSlots = 3;

} // namespace

ButtonGroup::ButtonGroup(QQuickItem *parent) : PointerItem(parent) {
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptTouchEvents(true);
    setAcceptHoverEvents(true);
    // Before the toolkit's accessible attachment is made, which, where a screen reader is
    // already listening, asks for the group's interface at once.
    ButtonGroupAccessible::install();
    // Read as soon as the name is set, before the bindings of what the group holds (a picture
    // placed by a button's rectangle) are first evaluated.
    connect(this, &QObject::objectNameChanged, this, &ButtonGroup::readLayout);
}

void ButtonGroup::setReceiver(PressReceiver *receiver) {
    if (m_receiver == receiver)
        return;
    m_receiver = receiver;
    emit receiverChanged();
}

void ButtonGroup::setNames(AccessibleNames *names) {
    if (m_names == names)
        return;
    m_names = names;
    emit namesChanged();
}

void ButtonGroup::componentComplete() {
    QQuickItem::componentComplete();
    m_surface = PressSurface::join(this, *this);
    // The page follows the mouse pointer over the group.
    if (m_surface)
        setAcceptHoverEvents(false);
    if (!m_member)
        qWarning("The layout table has no group %s", qPrintable(objectName()));
}

void ButtonGroup::readLayout() {
    const LayoutMember *member = WindowLayout::standard().member(objectName());
    m_member = member && member->kind == QLatin1String("group") ? member : nullptr;
    if (!m_member)
        return;
    TablePlace::place(this, *m_member);
    emit layoutRead();
}

QStringList ButtonGroup::buttonNames() const {
    QStringList names;
    if (m_member) {
        for (const LayoutButton &button : m_member->buttons)
            names.append(button.name);
    }
    return names;
}

const LayoutButton *ButtonGroup::ownButton(const QString &name) const {
    const LayoutMember *owner = nullptr;
    const LayoutButton *button = WindowLayout::standard().button(name, &owner);
    return m_member && owner == m_member ? button : nullptr;
}

QRectF ButtonGroup::buttonRect(const QString &name) const {
    const LayoutButton *button = ownButton(name);
    return button ? button->rect : QRectF();
}

QRectF ButtonGroup::buttonSceneRect(const QString &name) const {
    const QRectF rect = buttonRect(name);
    return rect.isNull() ? rect : mapRectToScene(rect);
}

void ButtonGroup::pressButton(const QString &name) {
    // A hidden or disabled group takes no tap, and so no screen reader's press either.
    if (isVisible() && (m_surface ? m_surface->takesPresses() : isEnabled()) && ownButton(name))
        press(name);
}

int ButtonGroup::buttonAt(QPointF point) const {
    if (!m_member)
        return -1;
    for (int i = int(m_member->buttons.size()) - 1; i >= 0; --i) {
        if (isOn(i, point))
            return i;
    }
    return -1;
}

bool ButtonGroup::isOn(int button, QPointF point) const {
    if (button < 0)
        return false;
    const QRectF &rect = m_member->buttons[button].rect;
    return PointerTracker::covers(rect.size(), point - rect.topLeft());
}

QRectF ButtonGroup::reach() const {
    QRectF reach(QPointF(0, 0), size());
    if (m_member) {
        for (const LayoutButton &button : m_member->buttons)
            reach |= button.rect;
    }
    return reach;
}

bool ButtonGroup::contains(const QPointF &point) const {
    return PointerTracker::covers(size(), point) || buttonAt(point) >= 0;
}

void ButtonGroup::press(const QString &name) {
    if (!m_receiver)
        return;
    PressQueue::instance().submit([receiver = m_receiver, name] {
        if (receiver)
            receiver->press(name);
    });
}

KeyRepeat::Press ButtonGroup::heldPress(int button) {
    if (!m_member->buttons[button].repeats)
        return {};
    return [receiver = m_receiver, name = m_member->buttons[button].name] {
        return receiver ? receiver->press(name) : true;
    };
}

void ButtonGroup::shownChanged() {
    QList<int> shown;
    m_pointers.forEachShown([&](int button) { shown.append(button); });
    showButtons(shown);
}

void ButtonGroup::showButtons(const QList<int> &shown) {
    QStringList hovered;
    for (int button : shown) {
        if (m_member && !hovered.contains(m_member->buttons[button].name))
            hovered.append(m_member->buttons[button].name);
    }
    if (hovered == m_hovered)
        return;
    m_hovered = hovered;
    if (m_slots.isEmpty()) {
        for (int i = 0; i < kHoverSlots; ++i)
            m_slots.append(new HoverSlot(this));
        emit hoverSlotsChanged();
    }

    // A slot whose button is left fades out where it is; a newly hovered button takes the slot
    // that last showed it, else a free one.
    for (HoverSlot *slot : std::as_const(m_slots)) {
        if (slot->shown() && !hovered.contains(slot->button()))
            slot->hide();
    }
    for (const QString &name : std::as_const(hovered)) {
        auto showing = [&](const HoverSlot *slot) {
            return slot->shown() && slot->button() == name;
        };
        if (std::any_of(m_slots.cbegin(), m_slots.cend(), showing))
            continue;
        HoverSlot *free = nullptr;
        for (HoverSlot *slot : std::as_const(m_slots)) {
            if (!slot->shown() && (!free || slot->button() == name))
                free = slot;
        }
        if (free)
            free->show(name, buttonRect(name));
    }
    emit hoveredButtonsChanged();
}

void ButtonGroup::itemChange(ItemChange change, const ItemChangeData &value) {
    // A hidden or disabled group forgets the pointers on it: it takes no press, and its hover
    // look must not wait for it to show again.
    // A member of a page is disabled for good as it joins, and its pointers are the page's.
    if (change == ItemVisibleHasChanged && !value.boolValue && m_surface)
        m_surface->letGo(*this);
    else if ((change == ItemVisibleHasChanged && !value.boolValue) ||
             (change == ItemEnabledHasChanged && !value.boolValue && !m_surface))
        m_pointers.forget();
    if (change == ItemVisibleHasChanged && m_accessibleMade)
        ButtonGroupAccessible::buttonsShown(this, value.boolValue);
    QQuickItem::itemChange(change, value);
}
