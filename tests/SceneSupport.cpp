#include "SceneSupport.h"

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
    QQuickItem *item = findItem(window, objectName);
    QVERIFY2(item, qPrintable(objectName));
    pressAt(window, scenePoint(item, QPointF(item->width() / 2, item->height() / 2)));
}
