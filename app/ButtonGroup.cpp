#include "app/ButtonGroup.h"

#include "app/ButtonGroupAccessible.h"
#include "app/PressArea.h"
#include "app/PressQueue.h"

#include <QPointer>

namespace {

// Enough for the mouse and two fingers on one group; a further finger on it still presses, its
// key just shows no hover look.
constexpr int kHoverSlots = 3;

} // namespace

void HoverSlot::show(const QString &button, QRectF rect) {
    if (m_button != button || m_rect != rect) {
        m_button = button;
        m_rect = rect;
        emit rectChanged();
    }
    if (!m_shown) {
        m_shown = true;
        emit shownChanged();
    }
}

void HoverSlot::hide() {
    if (!m_shown)
        return;
    m_shown = false;
    emit shownChanged();
}

ButtonGroup::ButtonGroup(QQuickItem *parent) : QQuickItem(parent) {
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

// A group that goes away with fingers on it leaves the count as if they had lifted.
ButtonGroup::~ButtonGroup() {
    forgetTouches();
}

void ButtonGroup::setClient(MainClient *client) {
    if (m_client == client)
        return;
    m_client = client;
    emit clientChanged();
}

void ButtonGroup::componentComplete() {
    QQuickItem::componentComplete();
    if (!m_member)
        qWarning("The layout table has no group %s", qPrintable(objectName()));
}

void ButtonGroup::readLayout() {
    const LayoutMember *member = WindowLayout::standard().member(objectName());
    m_member = member && member->kind == QLatin1String("group") ? member : nullptr;
    if (!m_member)
        return;
    setPosition(m_member->rect.topLeft());
    setSize(m_member->rect.size());
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
    if (isVisible() && isEnabled() && ownButton(name))
        press(name);
}

int ButtonGroup::buttonAt(QPointF point) const {
    if (!m_member)
        return -1;
    for (int i = int(m_member->buttons.size()) - 1; i >= 0; --i) {
        if (insideButton(i, point))
            return i;
    }
    return -1;
}

bool ButtonGroup::insideButton(int button, QPointF point) const {
    if (button < 0)
        return false;
    const QRectF &rect = m_member->buttons[button].rect;
    return PressArea::covers(rect.size(), point - rect.topLeft());
}

bool ButtonGroup::contains(const QPointF &point) const {
    return PressArea::covers(size(), point) || buttonAt(point) >= 0;
}

void ButtonGroup::press(int button) {
    if (button >= 0)
        press(m_member->buttons[button].name);
}

void ButtonGroup::press(const QString &name) {
    if (!m_client)
        return;
    PressQueue::instance().submit([client = QPointer<MainClient>(m_client), name] {
        if (client)
            client->press(name);
    });
}

void ButtonGroup::holdDown(int pointer, int button) {
    if (button < 0 || !m_member->buttons[button].repeats)
        return;
    m_repeats.start(
        pointer, [client = QPointer<MainClient>(m_client), name = m_member->buttons[button].name] {
            return client ? client->press(name) : true;
        });
}

void ButtonGroup::mousePressEvent(QMouseEvent *event) {
    const int button = buttonAt(event->position());
    m_mouseDown = true;
    m_mouse = {button, button >= 0};
    holdDown(KeyRepeats::kMouse, button);
    event->accept();
}

void ButtonGroup::mouseMoveEvent(QMouseEvent *event) {
    if (!m_mouseDown) {
        event->ignore();
        return;
    }
    m_mouse.inside = insideButton(m_mouse.button, event->position());
    // Sliding off the button ends its repeat for good; before it has sent, the release may
    // still press, as on any button.
    if (!m_mouse.inside)
        m_repeats.stop(KeyRepeats::kMouse);
}

void ButtonGroup::mouseReleaseEvent(QMouseEvent *event) {
    if (!m_mouseDown) {
        event->ignore();
        return;
    }
    m_mouseDown = false;
    const bool sentWhileHeld = m_repeats.end(KeyRepeats::kMouse);
    if (insideButton(m_mouse.button, event->position()) && !sentWhileHeld)
        press(m_mouse.button);
    m_mouse = {};
}

// The second press of a double click is a press like the first: its release presses again.
void ButtonGroup::mouseDoubleClickEvent(QMouseEvent *event) {
    event->accept();
}

void ButtonGroup::mouseUngrabEvent() {
    m_repeats.end(KeyRepeats::kMouse);
    m_mouseDown = false;
    m_mouse = {};
}

void ButtonGroup::touchEvent(QTouchEvent *event) {
    // A finger that lifted is gone from m_touches already, so only one taken away is forgotten.
    PressArea::followFingerGrabs(this, event->pointingDevice(), m_followedDevices,
                                 [this](int finger) {
                                     m_repeats.end(finger);
                                     if (m_touches.remove(finger)) {
                                         PressArea::countFingers(-1);
                                         updateHover();
                                     }
                                 });
    bool taken = false;
    QList<int> released;
    QList<std::pair<int, int>> held;
    for (qsizetype i = 0; i < event->pointCount(); ++i) {
        QEventPoint &point = event->point(i);
        const int id = point.id();
        switch (point.state()) {
        case QEventPoint::Pressed: {
            if (!contains(point.position())) {
                point.setAccepted(false);
                break;
            }
            const int button = buttonAt(point.position());
            if (!m_touches.contains(id))
                PressArea::countFingers(+1);
            m_touches.insert(id, {button, button >= 0});
            event->setExclusiveGrabber(point, this);
            point.setAccepted(true);
            taken = true;
            held.append({id, button});
            break;
        }
        case QEventPoint::Updated:
        case QEventPoint::Stationary: {
            const auto finger = m_touches.find(id);
            if (finger != m_touches.end()) {
                finger->inside = insideButton(finger->button, point.position());
                point.setAccepted(true);
                if (!finger->inside)
                    m_repeats.stop(id);
            }
            break;
        }
        case QEventPoint::Released: {
            const auto finger = m_touches.constFind(id);
            if (finger == m_touches.cend())
                break;
            const bool sentWhileHeld = m_repeats.end(id);
            if (insideButton(finger->button, point.position()) && !sentWhileHeld)
                released.append(finger->button);
            m_touches.erase(finger);
            PressArea::countFingers(-1);
            m_mouseOver = -1;
            point.setAccepted(true);
            taken = true;
            break;
        }
        default:
            break;
        }
    }
    event->setAccepted(taken || !m_touches.isEmpty());
    updateHover();
    for (const auto &[finger, button] : held)
        holdDown(finger, button);
    for (int button : released)
        press(button);
}

// Which finger was lost is followed through its device (PressArea::followFingerGrabs).
void ButtonGroup::touchUngrabEvent() {}

void ButtonGroup::forgetTouches() {
    PressArea::countFingers(-int(m_touches.size()));
    m_touches.clear();
}

void ButtonGroup::forgetPointers() {
    m_repeats.endAll();
    forgetTouches();
    m_mouseDown = false;
    m_mouse = {};
    m_mouseOver = -1;
    updateHover();
}

void ButtonGroup::mouseOverAt(const QHoverEvent *event) {
    // A finger shows the hover look only while it rests on a button, which touchEvent follows;
    // a hover made up from a touch would stay behind after the finger lifts.
    if (PressArea::isMadeUpHover(event))
        return;
    const int button = buttonAt(event->position());
    if (button == m_mouseOver)
        return;
    m_mouseOver = button;
    updateHover();
}

void ButtonGroup::hoverEnterEvent(QHoverEvent *event) {
    mouseOverAt(event);
}

void ButtonGroup::hoverMoveEvent(QHoverEvent *event) {
    mouseOverAt(event);
}

void ButtonGroup::hoverLeaveEvent(QHoverEvent *) {
    if (m_mouseOver < 0)
        return;
    m_mouseOver = -1;
    updateHover();
}

void ButtonGroup::updateHover() {
    QStringList hovered;
    auto add = [&](int button) {
        if (button >= 0 && m_member && !hovered.contains(m_member->buttons[button].name))
            hovered.append(m_member->buttons[button].name);
    };
    add(m_mouseOver);
    // The mouse held on a button that repeats shows it, as a finger resting on it does.
    if (m_repeats.isRepeating(KeyRepeats::kMouse))
        add(m_mouse.button);
    for (const Pointer &finger : std::as_const(m_touches))
        add(finger.button);
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
    if ((change == ItemVisibleHasChanged && !value.boolValue) ||
        (change == ItemEnabledHasChanged && !value.boolValue))
        forgetPointers();
    if (change == ItemVisibleHasChanged && m_accessibleMade)
        ButtonGroupAccessible::buttonsShown(this, value.boolValue);
    QQuickItem::itemChange(change, value);
}
