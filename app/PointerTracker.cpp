#include "app/PointerTracker.h"

#include <QPointingDevice>
#include <QQuickItem>

namespace {

constexpr qreal kHair = 1.0 / 4096;

// Counted by every tracker of the program, since the window's made-up hover events go to every
// item under the finger, not only to the one it rests on.
int fingersOnTargets = 0;

bool fromTouchScreen(const QPointerEvent *event) {
    const QPointingDevice *device = event->pointingDevice();
    return device && device->type() == QInputDevice::DeviceType::TouchScreen;
}

} // namespace

PointerTracker::PointerTracker(QQuickItem *item, Targets &targets)
    : m_item(item), m_targets(targets), m_repeats(item, [&targets] { targets.shownChanged(); }) {}

PointerTracker::~PointerTracker() {
    // The item lets go of its grabs only as it is taken apart, after its tracker.
    for (const QMetaObject::Connection &follower : std::as_const(m_grabFollowers))
        QObject::disconnect(follower);
    forgetFingers();
}

bool PointerTracker::covers(QSizeF size, QPointF point) {
    return point.x() >= -kHair && point.y() >= -kHair && point.x() <= size.width() + kHair &&
           point.y() <= size.height() + kHair;
}

int PointerTracker::fingersDown() {
    return fingersOnTargets;
}

bool PointerTracker::isMadeUpHover(const QHoverEvent *event) {
    return fromTouchScreen(event) || fingersOnTargets > 0;
}

void PointerTracker::holdDown(int pointer, int target) {
    if (target < 0)
        return;
    if (KeyRepeat::Press press = m_targets.heldPress(target))
        m_repeats.start(pointer, std::move(press));
}

void PointerTracker::mousePress(QMouseEvent *event) {
    const int target = m_targets.targetAt(event->position());
    m_mouseDown = true;
    m_mouse = {target, target >= 0};
    if (m_mouse.on)
        m_targets.pressingChanged();
    holdDown(KeyRepeats::kMouse, target);
    event->accept();
}

void PointerTracker::mouseMove(QMouseEvent *event) {
    if (!m_mouseDown) {
        event->ignore();
        return;
    }
    const bool on = m_targets.isOn(m_mouse.target, event->position());
    if (on == m_mouse.on)
        return;
    m_mouse.on = on;
    m_targets.pressingChanged();
    // Sliding off the key ends its repeat for good; before it has sent, the release may still
    // press, as on any key.
    if (!on)
        m_repeats.stop(KeyRepeats::kMouse);
}

void PointerTracker::mouseRelease(QMouseEvent *event) {
    if (!m_mouseDown) {
        event->ignore();
        return;
    }
    const int target = m_mouse.target;
    const bool tapped = m_targets.isOn(target, event->position());
    const bool sentWhileHeld = m_repeats.end(KeyRepeats::kMouse);
    const bool wasPressing = m_mouse.on;
    m_mouseDown = false;
    m_mouse = {};
    if (wasPressing)
        m_targets.pressingChanged();
    if (tapped && !sentWhileHeld)
        m_targets.tap(target);
}

// The second press of a double click is a press like the first: its release taps again.
void PointerTracker::mouseDoubleClick(QMouseEvent *event) {
    event->accept();
}

void PointerTracker::mouseUngrab() {
    m_repeats.end(KeyRepeats::kMouse);
    const bool wasPressing = m_mouse.on;
    m_mouseDown = false;
    m_mouse = {};
    if (wasPressing)
        m_targets.pressingChanged();
}

void PointerTracker::touch(QTouchEvent *event) {
    followFingerGrabs(event->pointingDevice());
    // The system took the fingers (a gesture of its own): they press nothing. The event comes
    // once for each finger the item holds, with every finger in its last state, so taking it as
    // a touch would grab again the fingers already let go.
    if (event->type() == QEvent::TouchCancel) {
        letFingersGo();
        return;
    }
    bool taken = false;
    QList<int> tapped;
    QList<std::pair<int, int>> held;
    for (qsizetype i = 0; i < event->pointCount(); ++i) {
        QEventPoint &point = event->point(i);
        const int id = point.id();
        switch (point.state()) {
        case QEventPoint::Pressed: {
            if (!m_item->contains(point.position())) {
                point.setAccepted(false);
                break;
            }
            const int target = m_targets.targetAt(point.position());
            if (!m_fingers.contains(id))
                ++fingersOnTargets;
            m_fingers.insert(id, {target, target >= 0});
            event->setExclusiveGrabber(point, m_item);
            point.setAccepted(true);
            taken = true;
            held.append({id, target});
            break;
        }
        case QEventPoint::Updated:
        case QEventPoint::Stationary: {
            const auto finger = m_fingers.find(id);
            if (finger == m_fingers.end())
                break;
            finger->on = m_targets.isOn(finger->target, point.position());
            point.setAccepted(true);
            if (!finger->on)
                m_repeats.stop(id);
            break;
        }
        case QEventPoint::Released: {
            const auto finger = m_fingers.constFind(id);
            if (finger == m_fingers.cend())
                break;
            const bool sentWhileHeld = m_repeats.end(id);
            if (m_targets.isOn(finger->target, point.position()) && !sentWhileHeld)
                tapped.append(finger->target);
            m_fingers.erase(finger);
            --fingersOnTargets;
            // The window's made-up hover for this finger is no mouse pointer over the item.
            m_mouseOver = -1;
            point.setAccepted(true);
            taken = true;
            break;
        }
        default:
            break;
        }
    }
    event->setAccepted(taken || !m_fingers.isEmpty());
    m_targets.shownChanged();
    m_targets.pressingChanged();
    for (const auto &[finger, target] : held)
        holdDown(finger, target);
    for (int target : tapped)
        m_targets.tap(target);
}

void PointerTracker::followFingerGrabs(const QPointingDevice *device) {
    if (!device || m_followedDevices.contains(device))
        return;
    m_followedDevices.append(device);
    m_grabFollowers.append(QObject::connect(
        device, &QPointingDevice::grabChanged, m_item,
        [this](QObject *grabber, QPointingDevice::GrabTransition transition, const QPointerEvent *,
               const QEventPoint &point) {
            if (grabber == m_item && (transition == QPointingDevice::UngrabExclusive ||
                                      transition == QPointingDevice::CancelGrabExclusive))
                lose(point.id());
        }));
}

// A finger that lifted is gone from m_fingers already, so only one taken away is let go here.
void PointerTracker::lose(int finger) {
    m_repeats.end(finger);
    if (!m_fingers.remove(finger))
        return;
    --fingersOnTargets;
    m_targets.shownChanged();
    m_targets.pressingChanged();
}

void PointerTracker::letFingersGo() {
    if (m_fingers.isEmpty())
        return;
    for (auto finger = m_fingers.cbegin(); finger != m_fingers.cend(); ++finger)
        m_repeats.end(finger.key());
    forgetFingers();
    m_targets.shownChanged();
    m_targets.pressingChanged();
}

void PointerTracker::forgetFingers() {
    fingersOnTargets -= int(m_fingers.size());
    m_fingers.clear();
}

void PointerTracker::forget() {
    m_repeats.endAll();
    forgetFingers();
    m_mouseDown = false;
    m_mouse = {};
    m_mouseOver = -1;
    m_targets.shownChanged();
    m_targets.pressingChanged();
}

void PointerTracker::forgetTargets(const std::function<bool(int)> &gone) {
    bool changed = false;
    if (m_mouseDown && m_mouse.target >= 0 && gone(m_mouse.target)) {
        m_repeats.end(KeyRepeats::kMouse);
        m_mouseDown = false;
        m_mouse = {};
        changed = true;
    }
    for (auto finger = m_fingers.begin(); finger != m_fingers.end();) {
        if (finger->target >= 0 && gone(finger->target)) {
            m_repeats.end(finger.key());
            finger = m_fingers.erase(finger);
            --fingersOnTargets;
            changed = true;
        } else {
            ++finger;
        }
    }
    if (m_mouseOver >= 0 && gone(m_mouseOver)) {
        m_mouseOver = -1;
        changed = true;
    }
    if (!changed)
        return;
    m_targets.shownChanged();
    m_targets.pressingChanged();
}

void PointerTracker::hover(const QHoverEvent *event) {
    // A finger shows the hover look only while it rests on a target, which touch() follows; a
    // hover made up from a touch would stay behind after the finger lifts.
    if (isMadeUpHover(event))
        return;
    const int target = m_targets.hoverTargetAt(event->position());
    if (target == m_mouseOver)
        return;
    m_mouseOver = target;
    m_targets.shownChanged();
}

void PointerTracker::hoverLeave() {
    forgetMouseOver();
}

void PointerTracker::forgetMouseOver() {
    if (m_mouseOver < 0)
        return;
    m_mouseOver = -1;
    m_targets.shownChanged();
}

bool PointerTracker::isPressing() const {
    if (m_mouseDown && m_mouse.on)
        return true;
    for (const Pointer &finger : m_fingers) {
        if (finger.on)
            return true;
    }
    return false;
}

bool PointerTracker::shows(int target) const {
    bool shown = false;
    forEachShown([&](int each) { shown = shown || each == target; });
    return shown;
}
