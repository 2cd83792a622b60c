#pragma once

#include "TestSupport.h"

#include <QPointF>
#include <QString>
#include <QStringList>

class QQuickItem;
class QQuickWindow;
class QuickMessageBoxes;

// Answers the window's own boxes: each box that opens is recorded and OK is pressed on it as
// soon as the event loop runs.
void answerBoxesWithOk(QuickMessageBoxes &boxes, QStringList &seen);

// Scene helpers: find a named item and press at a point of it given in its own units, through
// the window, so that the press is hit-tested against what is drawn.
QQuickItem *findItem(QQuickWindow *window, const QString &objectName);
QPointF scenePoint(QQuickItem *item, QPointF local);
void pressAt(QQuickWindow *window, QPointF scenePoint);
void pressItem(QQuickWindow *window, const QString &objectName);
