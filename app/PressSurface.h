#pragma once

#include "app/PointerItem.h"

#include <QList>
#include <QPointer>
#include <QQuickItem>
#include <QTransform>
#include <QVarLengthArray>
#include <QtQml/qqml.h>

class PressMember;

// A page that takes the presses of its members itself.
//
// Every pointer event the window delivers visits each enabled item under the page, mapping the
// point into it through the page's scales; on the sign keyboard, with some twenty members, that
// was most of what a press cost. A page that gathers its members' presses has them join it: they
// are disabled, so the window passes over them, and the page alone takes the mouse, the fingers
// and the hover, finds the member under each pointer (the last one first, as the window would)
// and follows the pointers with one PointerTracker over all the members' targets. The members
// stay what screen readers see and press, and show the hover and pressed looks the page tells
// them of.
//
// A member that takes the keyboard focus stays with the window's own delivery: a disabled item
// cannot have the focus.
class PressSurface : public PointerItem {
    Q_OBJECT
    QML_ELEMENT
    // Whether the page gathers its members' presses; set where the page is written, not later.
    Q_PROPERTY(bool gathersPresses READ gathersPresses WRITE setGathersPresses NOTIFY
                   gathersPressesChanged)

public:
    explicit PressSurface(QQuickItem *parent = nullptr);
    ~PressSurface() override;
    PressSurface(const PressSurface &) = delete;
    PressSurface &operator=(const PressSurface &) = delete;

    bool gathersPresses() const { return m_gathers; }
    void setGathersPresses(bool gathers);

    // The page above the item that gathers its presses, which it then joins; null where it
    // takes its presses itself.
    static PressSurface *join(QQuickItem *item, PressMember &member);
    // A member that is hidden lets go of the pointers on it: it takes no press, and its hover
    // look must not wait for it to show again.
    void letGo(const PressMember &member);
    // Whether a member's press reaches it, as a tap would: for a screen reader's press.
    bool takesPresses() const { return isVisible() && isEnabled(); }

    // The page's rectangle with every edge, and any member reaching out of it.
    bool contains(const QPointF &point) const override;

signals:
    void gathersPressesChanged();

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    struct Member {
        QPointer<QQuickItem> item;
        PressMember *member = nullptr;
        // From the page's units to the member's.
        QTransform fromPage;
        // Where it may take a pointer, in the page's units, a little wider: no point outside
        // is mapped into it.
        QRectF reachOnPage;
        // What it was last told.
        QList<int> shown;
        bool pressing = false;
    };

    // A target of the page is a member's target and the member's index, in one number.
    static constexpr int kTargetsPerMember = 1 << 16;
    static int memberOf(int target) { return target / kTargetsPerMember; }
    static int ownTarget(int target) { return target % kTargetsPerMember; }

    // The member under a point, the last one first, or -1; `local` is the point in its units.
    int memberAt(QPointF point, QPointF *local) const;
    // The members' order and transforms are worked out again before the next pointer after
    // any of them moved.
    void placesChanged() { m_placesKnown = false; }
    void findPlaces() const;
    void followPlace(QQuickItem *item);

    // A member's target under a point, as the page numbers it; for the mouse pointer's hover
    // look, only on a member that shows it.
    int memberTargetAt(QPointF point, bool forMouseOver) const;
    int targetAt(QPointF point) const override { return memberTargetAt(point, false); }
    int hoverTargetAt(QPointF point) const override { return memberTargetAt(point, true); }
    bool isOn(int target, QPointF point) const override;
    KeyRepeat::Press heldPress(int target) override;
    void tap(int target) override;
    void shownChanged() override;
    void pressingChanged() override;

    bool m_gathers = false;
    mutable QList<Member> m_members;
    // The members and what holds them below the page, whose moves it follows, and the
    // connections that follow them.
    QList<QPointer<QQuickItem>> m_followed;
    QList<QMetaObject::Connection> m_placeFollowers;
    // Indices into m_members, the topmost first.
    mutable QList<int> m_topFirst;
    mutable bool m_placesKnown = false;
    // Members last told that a pointer presses them.
    int m_pressingMembers = 0;
};
