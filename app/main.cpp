#include "app/ClientStartup.h"
#include "app/MessageBoxes.h"
#include "app/TerminationSignals.h"
#include "base/Version.h"

#include <QGuiApplication>
#include <QIcon>
#include <QQmlExtensionPlugin>
#include <QTimer>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif

Q_IMPORT_QML_PLUGIN(QsClientPlugin)

int main(int argc, char *argv[]) {
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("QSclient"));
    QGuiApplication::setApplicationVersion(QStringLiteral(QS_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.qsclient.qsclient"));
    QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/qt/qml/QsClient/assets/icon.svg")));

    // From here on a signal to end is taken by the event loop, whenever it runs next.
    TerminationSignals termination;

    QuickMessageBoxes boxes;
    ClientStartup startup(boxes);
    if (!startup.window()) {
        std::fprintf(stderr, "qs-client: the window could not be built:\n%s",
                     qPrintable(startup.errors()));
        return 1;
    }
    MainClient &client = startup.client();

    // Ending by a signal closes the window as a close request does, except that a failed write
    // of the settings cannot keep it open. exit() ends every event loop, those of open message
    // boxes included; quit() would ask the window to close, and its close handler could refuse.
    QObject::connect(&termination, &TerminationSignals::received, &client, [&client] {
        client.closeForTermination();
        QCoreApplication::exit(0);
    });

    // Without its discovery port (another copy of the client holds it) the program does not
    // start.
    if (!startup.start())
        return 1;
    // The settings file has set the display option: the screen saver hears of it from now on.
    client.keepScreenOnThroughSessionBus();
#ifdef __GLIBC__
    // Drawing without a graphics card (a software rasteriser) takes and drops tens of
    // kilobytes per frame, gigabytes in an hour; the allocator keeps the pages they leave free
    // inside the render thread's arena, so resident memory would keep every high-water mark
    // of a busy frame although what the client holds does not grow. Handing free pages back
    // every few seconds costs about a millisecond each time.
    QTimer freePagesBack;
    QObject::connect(&freePagesBack, &QTimer::timeout, [] { malloc_trim(0); });
    freePagesBack.start(5000);
#endif
    return QGuiApplication::exec();
}
