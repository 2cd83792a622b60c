#pragma once

#include "app/KeyRepeat.h"

#include <QHash>
#include <QList>
#include <QPointer>
#include <QPointingDevice>
#include <QQuickItem>
#include <QtQml/qqml.h>
#include <functional>

class MainClient;

// The press target of the window: every button, panel and page that takes presses is one.
//
// Its target is its whole rectangle with all four edges, so that where two members touch, the
// later one (looked at first) takes the shared edge; an item's own test leaves out the right and
// bottom edges.
//
// A press is a pointer going down and coming up inside the rectangle. The mouse and each finger
// are followed on their own: a finger that lands while another rests elsewhere presses where it
// lands, and taps that follow each other quickly are each a press (touch is taken as touch, so
// the toolkit never turns a second tap into a double click). The press runs through the
// PressQueue, one handler at a time.
//
// A key that the layout table says repeats sends again and again while it is held (KeyRepeat),
// each pointer on its own; a key that has sent while held sends nothing more on its release.
class PressArea : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT
    Q_MOC_INCLUDE("app/MainClient.h")
    // Given the client, a press is the client's press of the area's name, run by the handler the
    // layout table gives it; without one, a press only tells `clicked`.
    Q_PROPERTY(MainClient *client READ client WRITE setClient NOTIFY clientChanged)
    // Whether the mouse pointer over the area shows as `hovered`; a finger on it always does.
    Q_PROPERTY(bool hoverEnabled READ hoverEnabled WRITE setHoverEnabled NOTIFY hoverEnabledChanged)
    // The mouse pointer is over the area, or a finger rests on it.
    Q_PROPERTY(bool hovered READ isHovered NOTIFY hoveredChanged)
    // The mouse button or a finger went down on the area and is still down inside it.
    Q_PROPERTY(bool pressed READ isPressed NOTIFY pressedChanged)

public:
    explicit PressArea(QQuickItem *parent = nullptr);
    ~PressArea() override;

    // The rule every press target follows: the point lies in the rectangle, edges included.
    // The edges reach a hair (1/4096 of a unit, far below a pixel at any scale) further, so that
    // a point on an edge stays inside after the rounding of mapping it through the scales.
    static bool covers(QSizeF size, QPointF point);

    bool contains(const QPointF &point) const override;

    MainClient *client() const { return m_client; }
    void setClient(MainClient *client);
    bool hoverEnabled() const { return acceptHoverEvents(); }
    void setHoverEnabled(bool enabled);
    bool isHovered() const { return m_mouseOver || !m_touches.isEmpty() || m_repeatShown; }
    bool isPressed() const;

    // Fingers down on any press target of the program (press areas and groups). While one is,
    // the window makes up hover events where the finger is (with the mouse as their device) and
    // never takes them back once the finger lifts; they are no pointer over anything, so they
    // are not taken as one.
    static void countFingers(int change);
    static bool isMadeUpHover(const QHoverEvent *event);
    // The toolkit tells an item that it lost the grab of one of its fingers, a finger that lifts
    // included, without saying which (touchUngrabEvent); the device says which. From the first
    // touch of each device on, `lost` hears of each finger `item` loses without lifting: taken by
    // another item, or cancelled by the window.
    static void followFingerGrabs(QQuickItem *item, const QPointingDevice *device,
                                  QList<const QPointingDevice *> &followed,
                                  std::function<void(int finger)> lost);

    // A press that does not come from a pointer: the keyboard, or a screen reader's press action.
    Q_INVOKABLE void click();

signals:
    void clicked();
    void clientChanged();
    void hoverEnabledChanged();
    void hoveredChanged();
    void pressedChanged();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseUngrabEvent() override;
    void touchEvent(QTouchEvent *event) override;
    void touchUngrabEvent() override;
    void hoverEnterEvent(QHoverEvent *event) override;
    void hoverLeaveEvent(QHoverEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void itemChange(ItemChange change, const ItemChangeData &value) override;
    // A button the layout table holds by its object name takes its place (and caption) from it.
    void componentComplete() override;

private:
    // Runs the given change, then signals what it changed of `hovered` and `pressed`.
    template <typename Change> void changeState(Change change);
    void forgetPointers();
    void forgetTouches();
    // Runs one press now; false when it showed a message box.
    bool runPress();
    // A pointer went down on the area: a key that repeats starts timing its hold.
    void holdDown(int pointer);
    // The pointer lifted or was taken away; true when the key has sent while held.
    bool holdEnded(int pointer) { return m_repeats.end(pointer); }

    // Finger id -> whether it is inside the rectangle now.
    QHash<int, bool> m_touches;
    QList<const QPointingDevice *> m_followedDevices;
    bool m_mouseDown = false;
    bool m_mouseInside = false;
    bool m_mouseOver = false;
    bool m_keyDown = false;
    QPointer<MainClient> m_client;
    bool m_repeatsWhenHeld = false;
    // A pointer's key is repeating: the hover look shows, as for a finger resting on the key.
    bool m_repeatShown = false;
    KeyRepeats m_repeats;
};
