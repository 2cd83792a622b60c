// Start-up of the client as the program starts it: the same window, pages and pictures, with
// discovery sending to loopback instead of the network. Ends at the first frame that shows every
// picture of the start page. The window opens maximized, so its size is the screen's: the bench
// gives the offscreen platform a screen of the size it measures.
#include "FirstFrameProbe.h"
#include "LoopbackClient.h"

#include <QGuiApplication>
#include <QQmlExtensionPlugin>
#include <QQuickItem>
#include <QQuickWindow>
#include <cstdio>

Q_IMPORT_QML_PLUGIN(QsClientPlugin)

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench-client-startup <discovery port> <request port>\n");
        return 2;
    }
    LoopbackClient loopback(quint16(QByteArray(argv[1]).toUInt()),
                            quint16(QByteArray(argv[2]).toUInt()));
    QQuickWindow *window = loopback.startup.window();
    if (!window || !loopback.start())
        return 1;
    FirstFrameProbe probe(window, window->findChild<QQuickItem *>(QStringLiteral("Panel1")));
    return QGuiApplication::exec();
}
