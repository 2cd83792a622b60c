#include "app/PressArea.h"

#include "app/PressQueue.h"
#include "app/TablePlace.h"
#include "base/WindowLayout.h"

PressArea::PressArea(QQuickItem *parent) : PointerItem(parent) {
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptTouchEvents(true);
}

bool PressArea::contains(const QPointF &point) const {
    return PointerTracker::covers(size(), point);
}

void PressArea::setHoverEnabled(bool enabled) {
    if (enabled == m_hoverEnabled)
        return;
    m_hoverEnabled = enabled;
    setAcceptHoverEvents(enabled && !m_surface);
    if (!enabled)
        m_pointers.forgetMouseOver();
    emit hoverEnabledChanged();
}

void PressArea::setReceiver(PressReceiver *receiver) {
    if (m_receiver == receiver)
        return;
    m_receiver = receiver;
    emit receiverChanged();
}

void PressArea::click() {
    PressQueue::instance().submit([area = QPointer<PressArea>(this)] {
        if (area)
            area->runPress();
    });
}

void PressArea::clickWhereTapsReach() {
    if (isVisible() && (m_surface ? m_surface->takesPresses() : isEnabled()))
        click();
}

void PressArea::showTargets(const QList<int> &shown) {
    m_shownByPage = !shown.isEmpty();
    stateChanged();
}

void PressArea::showPressing(bool pressing) {
    m_pressedByPage = pressing;
    stateChanged();
}

bool PressArea::runPress() {
    if (m_receiver)
        return m_receiver->press(objectName());
    emit clicked();
    return true;
}

KeyRepeat::Press PressArea::heldPress(int) {
    if (!m_repeatsWhenHeld)
        return {};
    return [area = QPointer<PressArea>(this)] { return area ? area->runPress() : true; };
}

void PressArea::stateChanged() {
    const bool hovered = isHovered();
    const bool pressed = isPressed();
    const bool hoveredChanges = hovered != m_hovered;
    const bool pressedChanges = pressed != m_pressed;
    m_hovered = hovered;
    m_pressed = pressed;
    if (hoveredChanges)
        emit hoveredChanged();
    if (pressedChanges)
        emit pressedChanged();
}

void PressArea::keyPressEvent(QKeyEvent *event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    m_keyDown = true;
    stateChanged();
}

void PressArea::keyReleaseEvent(QKeyEvent *event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_keyDown) {
        event->ignore();
        return;
    }
    m_keyDown = false;
    stateChanged();
    click();
}

void PressArea::itemChange(ItemChange change, const ItemChangeData &value) {
    // A hidden or disabled area forgets the pointers on it: it takes no press, and its hover
    // look must not wait for it to show again.
    // A member of a page is disabled for good as it joins, and its pointers are the page's.
    if (change == ItemVisibleHasChanged && !value.boolValue && m_surface) {
        m_keyDown = false;
        m_surface->letGo(*this);
    } else if ((change == ItemVisibleHasChanged && !value.boolValue) ||
               (change == ItemEnabledHasChanged && !value.boolValue && !m_surface)) {
        m_keyDown = false;
        m_pointers.forget();
    }
    QQuickItem::itemChange(change, value);
}

void PressArea::componentComplete() {
    QQuickItem::componentComplete();
    m_surface = PressSurface::join(this, *this);
    if (m_surface)
        setAcceptHoverEvents(false);
    if (objectName().isEmpty())
        return;
    const LayoutMember *member = WindowLayout::standard().member(objectName());
    if (!member || member->kind == QLatin1String("group"))
        return;
    TablePlace::place(this, *member);
    m_repeatsWhenHeld = member->repeats;
    if (!member->text.isEmpty())
        setProperty("text", member->text);
}
