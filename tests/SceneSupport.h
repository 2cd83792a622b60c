#pragma once

#include "TestSupport.h"

#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

class QQuickItem;
class QQuickWindow;
class QuickMessageBoxes;

// Answers the window's own boxes: each box that opens is recorded and OK is pressed on it as
// soon as the event loop runs.
void answerBoxesWithOk(QuickMessageBoxes &boxes, QStringList &seen);

// A press target of the window as drawn: an item that takes presses itself, or a button of a
// group, which is no item of its own but a rectangle its group hit-tests.
struct Target {
    // The item, or the button's group.
    QQuickItem *item = nullptr;
    // The button's name; empty for an item.
    QString button;
    // The target's rectangle in the units of `item`.
    QRectF rect;

    explicit operator bool() const { return item != nullptr; }
    QString name() const;
    // Shown: the item, or the button's group, is visible.
    bool isVisible() const;
    // Where the group or the item's parent places it.
    QRectF placed() const;
    QPointF toScene(QPointF local) const;
    QPointF centreInScene() const { return toScene(rect.center() - rect.topLeft()); }
    QRectF rectIn(QQuickItem *other) const;
    // The hover look: the item's `hovered`, or the group's for the button.
    bool isHovered() const;
};

// The target of that name anywhere under `root`, searched through the drawn items.
Target findTarget(QQuickItem *root, const QString &name);
// Every button of every group under `root`, in the order of the items and of each group's
// buttons.
QList<Target> groupButtons(QQuickItem *root);

// Scene helpers: find a named item and press at a point of it given in its own units, through
// the window, so that the press is hit-tested against what is drawn.
QQuickItem *findItem(QQuickWindow *window, const QString &objectName);
QPointF scenePoint(QQuickItem *item, QPointF local);
void pressAt(QQuickWindow *window, QPointF scenePoint);
void pressItem(QQuickWindow *window, const QString &objectName);
