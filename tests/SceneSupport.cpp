#include "SceneSupport.h"

#include "app/ButtonGroup.h"
#include "app/MessageBoxes.h"

#include <QQmlExtensionPlugin>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <QTimer>

Q_IMPORT_QML_PLUGIN(QsClientPlugin)

void answerBoxesWithOk(QuickMessageBoxes &boxes, QStringList &seen) {
    auto previousCount = std::make_shared<qsizetype>(0);
    QObject::connect(&boxes, &QuickMessageBoxes::openTextsChanged, &boxes,
                     [&boxes, &seen, previousCount] {
                         const QStringList open = boxes.openTexts();
                         if (open.size() > *previousCount) {
                             seen.append(open.last());
                             QTimer::singleShot(0, &boxes, [&boxes] { boxes.accept(); });
                         }
                         *previousCount = open.size();
                     });
}

QQuickItem *findItem(QQuickWindow *window, const QString &objectName) {
    if (!window)
        return nullptr;
    // Items declared in the window's layout are children of the window object itself.
    return window->findChild<QQuickItem *>(objectName);
}

QPointF scenePoint(QQuickItem *item, QPointF local) {
    return item->mapToScene(local);
}

void pressAt(QQuickWindow *window, QPointF point) {
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, point.toPoint());
}

void pressItem(QQuickWindow *window, const QString &objectName) {
    const Target target = window ? findTarget(window->contentItem(), objectName) : Target();
    QVERIFY2(target, qPrintable(objectName));
    pressAt(window, target.centreInScene());
}

QString Target::name() const {
    return button.isEmpty() ? item->objectName() : button;
}

bool Target::isVisible() const {
    return item->isVisible();
}

QRectF Target::placed() const {
    return button.isEmpty() ? QRectF(item->position(), item->size()) : rect;
}

QPointF Target::toScene(QPointF local) const {
    return item->mapToScene(rect.topLeft() + local);
}

QRectF Target::rectIn(QQuickItem *other) const {
    return item->mapRectToItem(other, rect);
}

bool Target::isHovered() const {
    if (button.isEmpty())
        return item->property("hovered").toBool();
    return static_cast<ButtonGroup *>(item)->isHovered(button);
}

Target findTarget(QQuickItem *root, const QString &name) {
    if (root->objectName() == name)
        return {root, QString(), QRectF(0, 0, root->width(), root->height())};
    if (auto *group = qobject_cast<ButtonGroup *>(root)) {
        const QRectF rect = group->buttonRect(name);
        if (!rect.isNull())
            return {group, name, rect};
    }
    for (QQuickItem *child : root->childItems()) {
        if (const Target found = findTarget(child, name))
            return found;
    }
    return {};
}

QList<Target> groupButtons(QQuickItem *root) {
    QList<Target> out;
    if (auto *group = qobject_cast<ButtonGroup *>(root)) {
        for (const QString &name : group->buttonNames())
            out.append({group, name, group->buttonRect(name)});
    }
    for (QQuickItem *child : root->childItems())
        out += groupButtons(child);
    return out;
}
