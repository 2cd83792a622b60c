// The floor of start-up: the smallest Qt Quick window with one button, started and measured the
// same way as the client, at the window size given (769 by 816 unless told).
#include "FirstFrameProbe.h"

#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <cstdio>

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 1 && argc != 3) {
        std::fprintf(stderr, "usage: bench-minimal-window [<width> <height>]\n");
        return 2;
    }
    const int width = argc == 3 ? QByteArray(argv[1]).toInt() : 769;
    const int height = argc == 3 ? QByteArray(argv[2]).toInt() : 816;
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(QByteArray("import QtQuick\nimport QtQuick.Controls.Basic\n"
                                 "Window { width: %1; height: %2; visible: true\n"
                                 "    Button { text: \"OK\"; anchors.centerIn: parent } }")
                          .replace("%1", QByteArray::number(width))
                          .replace("%2", QByteArray::number(height)),
                      QUrl());
    auto *window = qobject_cast<QQuickWindow *>(component.create());
    if (!window)
        return 1;
    FirstFrameProbe probe(window, window->contentItem());
    return QGuiApplication::exec();
}
