#pragma once

#include "app/KeyRepeat.h"

#include <QHash>
#include <QList>
#include <QMetaObject>
#include <QPointF>
#include <QSizeF>

#include <functional>

class QHoverEvent;
class QMouseEvent;
class QPointingDevice;
class QQuickItem;
class QTouchEvent;

// Follows the mouse and each finger over one press target of the window (a press area, a sign
// group), on its own: a finger that lands while another rests elsewhere presses where it lands,
// and taps that follow each other quickly are each a press (touch is taken as touch, so the
// toolkit never turns a second tap into a double click).
//
// The item's targets are numbered from 0 (a press area has one, a group one for each button);
// -1 is none, as between a group's buttons. A pointer goes down on the target under it, is on it
// or off it as it moves, and when it comes up on the target it went down on, that is a tap. A
// target that repeats sends again and again while a pointer is held on it (KeyRepeat), each
// pointer on its own; a pointer that slid off its target sends no more, and one that has sent
// while held sends nothing on its release.
class PointerTracker {
public:
    // What the item tells its tracker of its targets, and hears from it.
    class Targets {
    public:
        // The target under a point in the item's units, or -1.
        virtual int targetAt(QPointF point) const = 0;
        // The target the mouse pointer over a point shows the hover look of, or -1.
        virtual int hoverTargetAt(QPointF point) const { return targetAt(point); }
        // Whether the point lies on that target; never on -1.
        virtual bool isOn(int target, QPointF point) const = 0;
        // One send of a pointer held on the target, run through the PressQueue by its repeat;
        // empty for a target that does not repeat.
        virtual KeyRepeat::Press heldPress(int target) = 0;
        // A pointer tapped the target.
        virtual void tap(int target) = 0;
        // Which targets show the hover look may have changed (forEachShown).
        virtual void shownChanged() = 0;
        // Whether a pointer presses a target may have changed (isPressing).
        virtual void pressingChanged() = 0;

    protected:
        ~Targets() = default;
    };

    // Follows the pointers the item is given.
    PointerTracker(QQuickItem *item, Targets &targets);
    // An item that goes away with fingers on it leaves the count as if they had lifted.
    ~PointerTracker();
    PointerTracker(const PointerTracker &) = delete;
    PointerTracker &operator=(const PointerTracker &) = delete;

    // The rule every press target follows: the point lies in the rectangle, edges included.
    // The edges reach a hair (1/4096 of a unit, far below a pixel at any scale) further, so that
    // a point on an edge stays inside after the rounding of mapping it through the scales.
    static bool covers(QSizeF size, QPointF point);

    // Fingers down on any press target of the program. While one is, the window makes up hover
    // events where the finger is (with the mouse as their device) and never takes them back once
    // the finger lifts; they are no pointer over anything, so they are not taken as one.
    static int fingersDown();
    static bool isMadeUpHover(const QHoverEvent *event);

    // The item's pointer events, handed on as they come.
    void mousePress(QMouseEvent *event);
    void mouseMove(QMouseEvent *event);
    void mouseRelease(QMouseEvent *event);
    void mouseDoubleClick(QMouseEvent *event);
    void mouseUngrab();
    void touch(QTouchEvent *event);
    // A hover that entered the item or moved over it.
    void hover(const QHoverEvent *event);
    void hoverLeave();

    // The item no longer takes presses (hidden, disabled): every pointer on it is let go, and
    // nothing more is sent.
    void forget();
    // The mouse pointer is no longer taken as over anything, until it next moves.
    void forgetMouseOver();

    // Every pointer on the targets that `gone` picks is let go (their item was hidden), as
    // forget() does for all.
    void forgetTargets(const std::function<bool(int)> &gone);

    // A pointer is down on its target and on it now.
    bool isPressing() const;
    // The targets a pointer is down on and on now.
    template <typename Visit> void forEachPressing(Visit visit) const;
    // The targets that show the hover look, each as often as a pointer shows it: the one under
    // the mouse pointer, the mouse's held on a key that repeats, and those the fingers rest on.
    template <typename Visit> void forEachShown(Visit visit) const;
    bool shows(int target) const;

private:
    struct Pointer {
        int target = -1;
        // On its target now.
        bool on = false;
    };

    // The toolkit tells an item that it lost the grab of one of its fingers, a finger that lifts
    // included, without saying which (touchUngrabEvent); the device says which. From the first
    // touch of each device on, a finger the item loses without lifting (taken by another item,
    // or cancelled by the window) is let go.
    void followFingerGrabs(const QPointingDevice *device);
    void lose(int finger);
    // Every finger lets go without pressing.
    void letFingersGo();
    void forgetFingers();
    // A pointer went down on a target: one that repeats starts timing its hold.
    void holdDown(int pointer, int target);

    QQuickItem *m_item;
    Targets &m_targets;
    QHash<int, Pointer> m_fingers;
    QList<const QPointingDevice *> m_followedDevices;
    QList<QMetaObject::Connection> m_grabFollowers;
    bool m_mouseDown = false;
    Pointer m_mouse;
    int m_mouseOver = -1;
    KeyRepeats m_repeats;
};

template <typename Visit> void PointerTracker::forEachShown(Visit visit) const {
    if (m_mouseOver >= 0)
        visit(m_mouseOver);
    // The mouse held on a key that repeats shows it, as a finger resting on it does.
    if (m_mouse.target >= 0 && m_repeats.isRepeating(KeyRepeats::kMouse))
        visit(m_mouse.target);
    for (const Pointer &finger : m_fingers) {
        if (finger.target >= 0)
            visit(finger.target);
    }
}

template <typename Visit> void PointerTracker::forEachPressing(Visit visit) const {
    if (m_mouseDown && m_mouse.on)
        visit(m_mouse.target);
    for (const Pointer &finger : m_fingers) {
        if (finger.on)
            visit(finger.target);
    }
}
