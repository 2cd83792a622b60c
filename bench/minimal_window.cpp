// The floor of start-up: the smallest Qt Quick window with one button, started and measured the
// same way as the client.
#include "FirstFrameProbe.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick\nimport QtQuick.Controls.Basic\n"
                      "Window { width: 769; height: 816; visible: true\n"
                      "    Button { text: \"OK\"; anchors.centerIn: parent } }",
                      QUrl());
    auto *window = qobject_cast<QQuickWindow *>(component.create());
    if (!window)
        return 1;
    FirstFrameProbe probe(window, window->contentItem());
    return QGuiApplication::exec();
}
