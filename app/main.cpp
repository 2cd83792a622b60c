#include "MainClient.h"
#include "MainWindowScene.h"
#include "MessageBoxes.h"

#include <QGuiApplication>
#include <QIcon>
#include <QQmlExtensionPlugin>
#include <QQuickWindow>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(QsClientPlugin)

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("QSclient"));
    QGuiApplication::setApplicationVersion(QStringLiteral("3.0.0.0"));
    QGuiApplication::setDesktopFileName(QStringLiteral("qs-client"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/qt/qml/QsClient/assets/icon.svg")));

    QuickMessageBoxes boxes;
    MainClient client(boxes, SettingsFile());

    MainWindowScene scene(client, boxes);
    if (!scene.window()) {
        std::fprintf(stderr, "qs-client: the window could not be built:\n%s",
                     qPrintable(scene.errors()));
        return 1;
    }

    // The layout is complete: the indicator shows not connected, discovery starts and takes its
    // port. Without that port (another copy of the client holds it) the program does not start.
    if (const auto failure = client.link()->start()) {
        boxes.showError(*failure);
        return 1;
    }

    client.FormCreate();
    client.keepScreenOnThroughSessionBus();
    client.FormResize(scene.window()->width(), scene.window()->height());
    return QGuiApplication::exec();
}
