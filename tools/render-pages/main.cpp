// Draws what the user sees: each page of the main window at a given window size, written as
// PNG files into a folder, so that the layout and the pictures can be looked at beside their
// description. Runs on the offscreen platform; nothing is sent to the network.
#include "MainClient.h"
#include "MainWindowScene.h"
#include "MessageBoxes.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QQmlExtensionPlugin>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>

Q_IMPORT_QML_PLUGIN(QsClientPlugin)

namespace {

struct View {
    QString file;
    std::function<void(MainClient &)> show;
};

QList<View> views() {
    return {
        {"Panel1", [](MainClient &c) { c.pages()->Button1Click(); }},
        // The keyboard page with every second set, then with the pop-up groups opened in two
        // turns (some of them cover each other); each view undoes the one before.
        {"Panel1-second",
         [](MainClient &c) {
             KeyboardState *k = c.keyboard();
             k->enallagikatavasiClick();
             k->enallagianavasiClick();
             k->CornerButton1Click();
             k->enallagiIsonClick();
             k->enallagiMartyriesClick();
         }},
        {"Panel1-popups",
         [](MainClient &c) {
             KeyboardState *k = c.keyboard();
             k->enallagikatavasiClick();
             k->enallagianavasiClick();
             k->CornerButton1Click();
             k->enallagiIsonClick();
             k->enallagiMartyriesClick();
             k->enallagifthoresClick();
             k->di6Click();
             k->enallagiendikseisClick();
             k->enallagihfeseisClick();
             k->enallaghvellhClick();
         }},
        {"Panel1-popups2",
         [](MainClient &c) {
             KeyboardState *k = c.keyboard();
             k->enallagifthoresClick();
             k->di6Click();
             k->enallagiendikseisClick();
             k->enallagihfeseisClick();
             k->enallaghvellhClick();
             k->enallagi_asterakiaClick();
             k->enallaghentashClick();
         }},
        {"Panel4",
         [](MainClient &c) {
             c.pages()->Button1Click();
             c.pages()->showCursorPage();
         }},
        {"Panel5",
         [](MainClient &c) {
             c.pages()->Button1Click();
             c.pages()->rythmiseisshowClick();
         }},
        {"Panelmartyries",
         [](MainClient &c) {
             c.pages()->Button1Click();
             c.pages()->martyriesshowClick();
         }},
    };
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && args.size() != 4) {
        std::fprintf(stderr, "usage: render-pages <output folder> [width height]\n");
        return 2;
    }
    const QString out = args.at(1);
    const int width = args.size() == 4 ? args.at(2).toInt() : 769;
    const int height = args.size() == 4 ? args.at(3).toInt() : 816;
    if (!QDir().mkpath(out)) {
        std::fprintf(stderr, "render-pages: cannot create %s\n", qPrintable(out));
        return 1;
    }

    // A private documents folder, so that the user's settings file is neither read nor written.
    QTemporaryDir documents;
    QuickMessageBoxes boxes;
    // Discovery is never started here; its endpoints are loopback all the same, so that nothing
    // this tool does can reach the network.
    DiscoveryEndpoints loopback;
    loopback.listenPort = 0;
    loopback.requestAddress = QHostAddress(QHostAddress::LocalHost);
    loopback.requestPort = 9;
    MainClient client(boxes, SettingsFile(documents.path()), loopback);
    MainWindowScene scene(client, boxes);
    QQuickWindow *window = scene.window();
    if (!window) {
        std::fprintf(stderr, "render-pages: %s", qPrintable(scene.errors()));
        return 1;
    }
    client.FormCreate();
    window->showNormal();
    window->resize(width, height);
    if (!QTest::qWaitForWindowExposed(window)) {
        std::fprintf(stderr, "render-pages: the window was not shown\n");
        return 1;
    }
    QTest::qWait(50);
    client.FormResize(window->width(), window->height());
    // Park the pointer on a blank spot, so that no button is drawn in its hover look.
    QTest::mouseMove(window, QPoint(width - 1, height - 1));

    for (const View &view : views()) {
        view.show(client);
        // Pictures are drawn when first shown; give them a moment to load.
        QTest::qWait(200);
        const QString path = QDir(out).filePath(
            QStringLiteral("%1-%2x%3.png").arg(view.file).arg(width).arg(height));
        if (!window->grabWindow().save(path)) {
            std::fprintf(stderr, "render-pages: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
