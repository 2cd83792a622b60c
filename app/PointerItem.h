#pragma once

#include "app/PointerTracker.h"

#include <QQuickItem>
#include <QtQml/qqml.h>

// An item whose targets the mouse and the fingers press: it hands every pointer event it is
// given to its PointerTracker, and tells the tracker of its targets (PointerTracker::Targets).
// The press targets of the window (PressArea, ButtonGroup) and the page that takes its members'
// presses (PressSurface) are all one.
class PointerItem : public QQuickItem, protected PointerTracker::Targets {
    Q_OBJECT
    QML_ANONYMOUS

public:
    explicit PointerItem(QQuickItem *parent = nullptr) : QQuickItem(parent) {}

protected:
    void mousePressEvent(QMouseEvent *event) override { m_pointers.mousePress(event); }
    void mouseMoveEvent(QMouseEvent *event) override { m_pointers.mouseMove(event); }
    void mouseReleaseEvent(QMouseEvent *event) override { m_pointers.mouseRelease(event); }
    void mouseDoubleClickEvent(QMouseEvent *event) override { m_pointers.mouseDoubleClick(event); }
    void mouseUngrabEvent() override { m_pointers.mouseUngrab(); }
    void touchEvent(QTouchEvent *event) override { m_pointers.touch(event); }
    // Which finger was lost is followed through its device (PointerTracker).
    void touchUngrabEvent() override {}
    void hoverEnterEvent(QHoverEvent *event) override { m_pointers.hover(event); }
    void hoverMoveEvent(QHoverEvent *event) override { m_pointers.hover(event); }
    void hoverLeaveEvent(QHoverEvent *) override { m_pointers.hoverLeave(); }

    PointerTracker m_pointers{this, *this};
};
