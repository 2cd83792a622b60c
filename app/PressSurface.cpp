#include "app/PressSurface.h"

#include "app/PressMember.h"

#include <algorithm>
#include <tuple>

PressSurface::PressSurface(QQuickItem *parent) : PointerItem(parent) {}

// The members go after the page's own parts, as the item takes its children apart: they must
// not call back into a page that is gone.
PressSurface::~PressSurface() {
    for (const QMetaObject::Connection &follower : std::as_const(m_placeFollowers))
        disconnect(follower);
    for (const Member &member : std::as_const(m_members)) {
        if (member.item)
            member.member->leavePage();
    }
}

void PressSurface::setGathersPresses(bool gathers) {
    if (gathers == m_gathers)
        return;
    m_gathers = gathers;
    setAcceptedMouseButtons(gathers ? Qt::LeftButton : Qt::NoButton);
    setAcceptTouchEvents(gathers);
    setAcceptHoverEvents(gathers);
    emit gathersPressesChanged();
}

PressSurface *PressSurface::join(QQuickItem *item, PressMember &member) {
    if (item->activeFocusOnTab())
        return nullptr;
    PressSurface *surface = nullptr;
    for (QQuickItem *above = item->parentItem(); above && !surface; above = above->parentItem())
        surface = qobject_cast<PressSurface *>(above);
    if (!surface || !surface->m_gathers)
        return nullptr;
    surface->m_members.append({item, &member, {}, {}, {}, false});
    surface->followPlace(item);
    surface->placesChanged();
    item->setEnabled(false);
    return surface;
}

void PressSurface::followPlace(QQuickItem *item) {
    for (QQuickItem *each = item; each && each != this; each = each->parentItem()) {
        if (m_followed.contains(each))
            break;
        m_followed.append(each);
        const auto follow = [&](auto signal) {
            m_placeFollowers.append(connect(each, signal, this, &PressSurface::placesChanged));
        };
        follow(&QQuickItem::xChanged);
        follow(&QQuickItem::yChanged);
        follow(&QQuickItem::widthChanged);
        follow(&QQuickItem::heightChanged);
        follow(&QQuickItem::rotationChanged);
        follow(&QQuickItem::scaleChanged);
        follow(&QQuickItem::transformOriginChanged);
        follow(&QQuickItem::parentChanged);
        follow(&QQuickItem::zChanged);
    }
}

void PressSurface::findPlaces() const {
    const QList<QQuickItem *> children = childItems();
    // The window looks at the page's children the last painted first: the highest z, then the
    // last in child order; an item inside another before it.
    QList<std::tuple<qreal, qsizetype, int, int>> order;
    for (int i = 0; i < m_members.size(); ++i) {
        Member &member = m_members[i];
        if (!member.item)
            continue;
        int depth = 0;
        QQuickItem *top = member.item;
        while (top->parentItem() && top->parentItem() != this) {
            top = top->parentItem();
            ++depth;
        }
        order.append({top->z(), children.indexOf(top), depth, i});
        const QPointF origin = member.item->mapToItem(this, QPointF(0, 0));
        const QPointF across = member.item->mapToItem(this, QPointF(1, 0)) - origin;
        const QPointF down = member.item->mapToItem(this, QPointF(0, 1)) - origin;
        const QTransform toPage(across.x(), across.y(), down.x(), down.y(), origin.x(), origin.y());
        member.fromPage = toPage.inverted();
        member.reachOnPage = toPage.mapRect(member.member->reach()).adjusted(-1, -1, 1, 1);
    }
    std::sort(order.begin(), order.end(), [](const auto &a, const auto &b) { return a > b; });
    m_topFirst.clear();
    for (const auto &each : order)
        m_topFirst.append(std::get<3>(each));
    m_placesKnown = true;
}

int PressSurface::memberAt(QPointF point, QPointF *local) const {
    if (!m_placesKnown)
        findPlaces();
    for (int index : std::as_const(m_topFirst)) {
        const Member &member = m_members.at(index);
        if (!member.reachOnPage.contains(point) || !member.item || !member.item->isVisible())
            continue;
        const QPointF there = member.fromPage.map(point);
        if (member.item->contains(there)) {
            *local = there;
            return index;
        }
    }
    return -1;
}

bool PressSurface::contains(const QPointF &point) const {
    QPointF local;
    return PointerTracker::covers(size(), point) || (m_gathers && memberAt(point, &local) >= 0);
}

int PressSurface::memberTargetAt(QPointF point, bool forMouseOver) const {
    QPointF local;
    const int index = memberAt(point, &local);
    if (index < 0 || (forMouseOver && !m_members.at(index).member->showsMouseOver()))
        return -1;
    const int target = m_members.at(index).member->memberTargets().targetAt(local);
    return target < 0 ? -1 : index * kTargetsPerMember + target;
}

bool PressSurface::isOn(int target, QPointF point) const {
    if (target < 0)
        return false;
    if (!m_placesKnown)
        findPlaces();
    const Member &member = m_members.at(memberOf(target));
    return member.item && member.item->isVisible() &&
           member.member->memberTargets().isOn(ownTarget(target), member.fromPage.map(point));
}

KeyRepeat::Press PressSurface::heldPress(int target) {
    const Member &member = m_members.at(memberOf(target));
    return member.item ? member.member->memberTargets().heldPress(ownTarget(target))
                       : KeyRepeat::Press();
}

void PressSurface::tap(int target) {
    const Member &member = m_members.at(memberOf(target));
    if (member.item)
        member.member->memberTargets().tap(ownTarget(target));
}

void PressSurface::shownChanged() {
    QVarLengthArray<QList<int>, 32> shown(m_members.size());
    m_pointers.forEachShown([&](int target) { shown[memberOf(target)].append(ownTarget(target)); });
    for (int i = 0; i < m_members.size(); ++i) {
        Member &member = m_members[i];
        if (shown.at(i) == member.shown)
            continue;
        member.shown = shown.at(i);
        if (member.item)
            member.member->showTargets(member.shown);
    }
}

void PressSurface::pressingChanged() {
    QVarLengthArray<bool, 32> pressing(m_members.size(), false);
    bool anyPressing = false;
    m_pointers.forEachPressing([&](int target) {
        if (target >= 0) {
            pressing[memberOf(target)] = true;
            anyPressing = true;
        }
    });
    // Nothing to tell when no member is pressed now and none was before (a touch between keys,
    // every touch event while no key is held): the members are not gone through.
    if (!anyPressing && m_pressingMembers == 0)
        return;
    m_pressingMembers = 0;
    for (int i = 0; i < m_members.size(); ++i) {
        Member &member = m_members[i];
        m_pressingMembers += pressing.at(i) ? 1 : 0;
        if (pressing.at(i) == member.pressing)
            continue;
        member.pressing = pressing.at(i);
        if (member.item)
            member.member->showPressing(member.pressing);
    }
}

void PressSurface::letGo(const PressMember &member) {
    const auto found = std::find_if(m_members.cbegin(), m_members.cend(),
                                    [&](const Member &each) { return each.member == &member; });
    if (found == m_members.cend())
        return;
    const int index = int(found - m_members.cbegin());
    m_pointers.forgetTargets([index](int target) { return memberOf(target) == index; });
}

void PressSurface::itemChange(ItemChange change, const ItemChangeData &value) {
    if ((change == ItemVisibleHasChanged && !value.boolValue) ||
        (change == ItemEnabledHasChanged && !value.boolValue))
        m_pointers.forget();
    if (change == ItemChildAddedChange || change == ItemChildRemovedChange)
        placesChanged();
    QQuickItem::itemChange(change, value);
}
