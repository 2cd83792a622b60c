#include "app/PressArea.h"

#include "app/MainClient.h"
#include "app/PressQueue.h"
#include "base/WindowLayout.h"

#include <QPointer>
#include <QPointingDevice>

namespace {

constexpr qreal kHair = 1.0 / 4096;

int fingersDown = 0;

bool fromTouchScreen(const QPointerEvent *event) {
    const QPointingDevice *device = event->pointingDevice();
    return device && device->type() == QInputDevice::DeviceType::TouchScreen;
}

} // namespace

PressArea::PressArea(QQuickItem *parent)
    : QQuickItem(parent), m_repeats(this, [this] {
          changeState([this] { m_repeatShown = m_repeats.anyRepeating(); });
      }) {
    setAcceptedMouseButtons(Qt::LeftButton);
    setAcceptTouchEvents(true);
}

// An area that goes away with fingers on it leaves the count as if they had lifted.
PressArea::~PressArea() {
    forgetTouches();
}

void PressArea::countFingers(int change) {
    fingersDown += change;
}

bool PressArea::isMadeUpHover(const QHoverEvent *event) {
    return fromTouchScreen(event) || fingersDown > 0;
}

void PressArea::followFingerGrabs(QQuickItem *item, const QPointingDevice *device,
                                  QList<const QPointingDevice *> &followed,
                                  std::function<void(int finger)> lost) {
    if (!device || followed.contains(device))
        return;
    followed.append(device);
    QObject::connect(
        device, &QPointingDevice::grabChanged, item,
        [item, lost = std::move(lost)](QObject *grabber, QPointingDevice::GrabTransition transition,
                                       const QPointerEvent *, const QEventPoint &point) {
            if (grabber == item && (transition == QPointingDevice::UngrabExclusive ||
                                    transition == QPointingDevice::CancelGrabExclusive))
                lost(point.id());
        });
}

bool PressArea::covers(QSizeF size, QPointF point) {
    return point.x() >= -kHair && point.y() >= -kHair && point.x() <= size.width() + kHair &&
           point.y() <= size.height() + kHair;
}

bool PressArea::contains(const QPointF &point) const {
    return covers(size(), point);
}

void PressArea::setHoverEnabled(bool enabled) {
    if (enabled == acceptHoverEvents())
        return;
    setAcceptHoverEvents(enabled);
    if (!enabled)
        changeState([this] { m_mouseOver = false; });
    emit hoverEnabledChanged();
}

bool PressArea::isPressed() const {
    if ((m_mouseDown && m_mouseInside) || m_keyDown)
        return true;
    for (bool inside : m_touches) {
        if (inside)
            return true;
    }
    return false;
}

void PressArea::setClient(MainClient *client) {
    if (m_client == client)
        return;
    m_client = client;
    emit clientChanged();
}

void PressArea::click() {
    PressQueue::instance().submit([area = QPointer<PressArea>(this)] {
        if (area)
            area->runPress();
    });
}

bool PressArea::runPress() {
    if (m_client)
        return m_client->press(objectName());
    emit clicked();
    return true;
}

void PressArea::holdDown(int pointer) {
    if (!m_repeatsWhenHeld)
        return;
    m_repeats.start(pointer,
                    [area = QPointer<PressArea>(this)] { return area ? area->runPress() : true; });
}

template <typename Change> void PressArea::changeState(Change change) {
    const bool wasHovered = isHovered();
    const bool wasPressed = isPressed();
    change();
    if (wasHovered != isHovered())
        emit hoveredChanged();
    if (wasPressed != isPressed())
        emit pressedChanged();
}

void PressArea::forgetPointers() {
    m_repeats.endAll();
    changeState([this] {
        forgetTouches();
        m_mouseDown = m_mouseInside = m_mouseOver = m_keyDown = false;
    });
}

void PressArea::mousePressEvent(QMouseEvent *event) {
    changeState([this, event] {
        m_mouseDown = true;
        m_mouseInside = contains(event->position());
    });
    if (m_mouseInside)
        holdDown(KeyRepeats::kMouse);
    event->accept();
}

void PressArea::mouseMoveEvent(QMouseEvent *event) {
    if (!m_mouseDown) {
        event->ignore();
        return;
    }
    changeState([this, event] { m_mouseInside = contains(event->position()); });
    // Sliding off the key ends its repeat for good; before it has sent, the release may still
    // press, as on any key.
    if (!m_mouseInside)
        m_repeats.stop(KeyRepeats::kMouse);
}

void PressArea::mouseReleaseEvent(QMouseEvent *event) {
    if (!m_mouseDown) {
        event->ignore();
        return;
    }
    const bool inside = contains(event->position());
    const bool sentWhileHeld = holdEnded(KeyRepeats::kMouse);
    changeState([this] { m_mouseDown = m_mouseInside = false; });
    if (inside && !sentWhileHeld)
        click();
}

// The second press of a double click is a press like the first: its release clicks again.
void PressArea::mouseDoubleClickEvent(QMouseEvent *event) {
    event->accept();
}

void PressArea::mouseUngrabEvent() {
    holdEnded(KeyRepeats::kMouse);
    changeState([this] { m_mouseDown = m_mouseInside = false; });
}

void PressArea::touchEvent(QTouchEvent *event) {
    // A finger that lifted is gone from m_touches already, so only one taken away is forgotten.
    followFingerGrabs(this, event->pointingDevice(), m_followedDevices, [this](int finger) {
        holdEnded(finger);
        changeState([this, finger] {
            if (m_touches.remove(finger))
                --fingersDown;
        });
    });
    bool pressedHere = false;
    QList<int> released;
    QList<int> held;
    changeState([&] {
        for (qsizetype i = 0; i < event->pointCount(); ++i) {
            QEventPoint &point = event->point(i);
            const int id = point.id();
            const bool inside = contains(point.position());
            switch (point.state()) {
            case QEventPoint::Pressed:
                if (!inside) {
                    point.setAccepted(false);
                    break;
                }
                if (!m_touches.contains(id))
                    ++fingersDown;
                m_touches.insert(id, true);
                event->setExclusiveGrabber(point, this);
                point.setAccepted(true);
                pressedHere = true;
                held.append(id);
                break;
            case QEventPoint::Updated:
            case QEventPoint::Stationary:
                if (m_touches.contains(id)) {
                    m_touches[id] = inside;
                    point.setAccepted(true);
                    if (!inside)
                        m_repeats.stop(id);
                }
                break;
            case QEventPoint::Released:
                if (m_touches.remove(id)) {
                    --fingersDown;
                    m_mouseOver = false;
                    point.setAccepted(true);
                    if (!holdEnded(id) && inside)
                        released.append(id);
                }
                break;
            default:
                break;
            }
        }
    });
    event->setAccepted(pressedHere || !released.isEmpty() || !m_touches.isEmpty());
    for (int finger : held)
        holdDown(finger);
    for (qsizetype i = 0; i < released.size(); ++i)
        click();
}

// Which finger was lost is followed through its device (followFingerGrabs).
void PressArea::touchUngrabEvent() {}

void PressArea::forgetTouches() {
    fingersDown -= int(m_touches.size());
    m_touches.clear();
}

void PressArea::hoverEnterEvent(QHoverEvent *event) {
    // A finger shows the hover look only while it rests on the area, which touchEvent follows;
    // a hover made up from a touch would stay behind after the finger lifts.
    if (isMadeUpHover(event))
        return;
    changeState([this] { m_mouseOver = true; });
}

void PressArea::hoverLeaveEvent(QHoverEvent *) {
    changeState([this] { m_mouseOver = false; });
}

void PressArea::keyPressEvent(QKeyEvent *event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    changeState([this] { m_keyDown = true; });
}

void PressArea::keyReleaseEvent(QKeyEvent *event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat() || !m_keyDown) {
        event->ignore();
        return;
    }
    changeState([this] { m_keyDown = false; });
    click();
}

void PressArea::itemChange(ItemChange change, const ItemChangeData &value) {
    // A hidden or disabled area forgets the pointers on it: it takes no press, and its hover
    // look must not wait for it to show again.
    if ((change == ItemVisibleHasChanged && !value.boolValue) ||
        (change == ItemEnabledHasChanged && !value.boolValue))
        forgetPointers();
    QQuickItem::itemChange(change, value);
}

void PressArea::componentComplete() {
    QQuickItem::componentComplete();
    if (objectName().isEmpty())
        return;
    const LayoutMember *member = WindowLayout::standard().member(objectName());
    if (!member || member->kind == QLatin1String("group"))
        return;
    setPosition(member->rect.topLeft());
    setSize(member->rect.size());
    m_repeatsWhenHeld = member->repeats;
    if (!member->text.isEmpty())
        setProperty("text", member->text);
}
