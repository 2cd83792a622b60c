#pragma once

#include "app/PointerItem.h"
#include "app/PressMember.h"
#include "app/PressReceiver.h"
#include "app/PressSurface.h"

#include <QPointer>
#include <QQuickItem>
#include <QtQml/qqml.h>

// The press target of the window: every button, panel and page that takes presses is one.
//
// Its target is its whole rectangle with all four edges, so that where two members touch, the
// later one (looked at first) takes the shared edge; an item's own test leaves out the right and
// bottom edges.
//
// On a page that gathers its members' presses (PressSurface), the page follows the pointers
// over the area and tells it what they show.
//
// A press is a pointer going down and coming up inside the rectangle, the mouse and each finger
// followed on their own (PointerTracker). The press runs through the PressQueue, one handler at a
// time. A key that the layout table says repeats sends again and again while it is held.
class PressArea : public PointerItem, private PressMember {
    Q_OBJECT
    QML_ELEMENT
    // Given one, a press is the receiver's press of the area's name (the window's controller
    // runs it by the handler the layout table gives it); without one, a press only tells
    // `clicked`.
    Q_PROPERTY(PressReceiver *receiver READ receiver WRITE setReceiver NOTIFY receiverChanged)
    // Whether the mouse pointer over the area shows as `hovered`; a finger on it always does.
    Q_PROPERTY(bool hoverEnabled READ hoverEnabled WRITE setHoverEnabled NOTIFY hoverEnabledChanged)
    // The mouse pointer is over the area, or a finger rests on it.
    Q_PROPERTY(bool hovered READ isHovered NOTIFY hoveredChanged)
    // The mouse button or a finger went down on the area and is still down inside it.
    Q_PROPERTY(bool pressed READ isPressed NOTIFY pressedChanged)

public:
    explicit PressArea(QQuickItem *parent = nullptr);

    bool contains(const QPointF &point) const override;

    PressReceiver *receiver() const { return m_receiver; }
    void setReceiver(PressReceiver *receiver);
    bool hoverEnabled() const { return m_hoverEnabled; }
    void setHoverEnabled(bool enabled);
    bool isHovered() const { return m_surface ? m_shownByPage : m_pointers.shows(0); }
    bool isPressed() const {
        return m_keyDown || (m_surface ? m_pressedByPage : m_pointers.isPressing());
    }

    // A press that does not come from a pointer: the keyboard, or a screen reader's press action.
    Q_INVOKABLE void click();
    // A press that reaches the area only where a tap would: it is shown, and takes presses.
    Q_INVOKABLE void clickWhereTapsReach();

signals:
    void clicked();
    void receiverChanged();
    void hoverEnabledChanged();
    void hoveredChanged();
    void pressedChanged();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    // A button the layout table holds by its object name takes its place (and caption) from it.
    void componentComplete() override;

private:
    // The area is its one target, 0.
    int targetAt(QPointF point) const override { return contains(point) ? 0 : -1; }
    bool isOn(int target, QPointF point) const override { return target == 0 && contains(point); }
    KeyRepeat::Press heldPress(int target) override;
    void tap(int) override { click(); }
    void shownChanged() override { stateChanged(); }
    void pressingChanged() override { stateChanged(); }
    // Signals what changed of `hovered` and `pressed` since last told.
    void stateChanged();
    // Runs one press now; false when it showed a message box.
    bool runPress();
    // As a member of a page that takes its presses.
    PointerTracker::Targets &memberTargets() override { return *this; }
    void leavePage() override { m_surface = nullptr; }
    QRectF reach() const override { return QRectF(QPointF(0, 0), size()); }
    bool showsMouseOver() const override { return m_hoverEnabled; }
    void showTargets(const QList<int> &shown) override;
    void showPressing(bool pressing) override;

    QPointer<PressReceiver> m_receiver;
    // The page that takes the area's presses, if it does, and what it last told.
    QPointer<PressSurface> m_surface;
    bool m_shownByPage = false;
    bool m_pressedByPage = false;
    bool m_hoverEnabled = false;
    bool m_keyDown = false;
    bool m_repeatsWhenHeld = false;
    // `hovered` and `pressed` as last signalled.
    bool m_hovered = false;
    bool m_pressed = false;
};
