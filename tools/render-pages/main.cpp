// Draws what the user sees: each page of the main window at a given window size, written as
// PNG files into a folder, so that the layout and the pictures can be looked at beside their
// description. Runs on the offscreen platform; nothing is sent to the network.
#include "app/ClientStartup.h"
#include "app/MessageBoxes.h"

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
    // Brings the window into the view, and back to the keyboard page as it was at start.
    std::function<void(MainClient &)> apply;
    std::function<void(MainClient &)> undo;
};

// A view of the keyboard page made by pressing toggles; pressing them again undoes it.
View keyboardView(const QString &file, const QStringList &toggles) {
    auto press = [toggles](MainClient &c) {
        for (const QString &toggle : toggles)
            c.press(toggle);
    };
    return {file, press, press};
}

View pageView(const QString &file, std::function<void(Pages &)> open) {
    return {file, [open](MainClient &c) { open(*c.pages()); },
            [](MainClient &c) { c.pages()->showKeyboardPage(); }};
}

// The modal signatures page with the mode panel of one tab shown; undone back to mode α'.
View modeView(const QString &file, const QString &tab) {
    return {file,
            [tab](MainClient &c) {
                c.pages()->showSignaturesPage();
                c.modes()->showPanelOfTab(tab);
            },
            [](MainClient &c) {
                c.modes()->showPanelOfTab(QStringLiteral("hx1"));
                c.pages()->showKeyboardPage();
            }};
}

QList<View> views() {
    return {
        keyboardView("Panel1", {}),
        keyboardView("Panel1-second-sets", {"enallagikatavasi", "enallagianavasi", "CornerButton1",
                                            "enallagiIson", "enallagiMartyries"}),
        // Each pop-up group opened on its own.
        keyboardView("Panelfthores", {"enallagifthores"}),
        keyboardView("Panelmetra", {"di6"}),
        keyboardView("Panelasterakia", {"enallagi_asterakia"}),
        keyboardView("Panelendikseis", {"enallagiendikseis"}),
        keyboardView("Panelyfeseis2", {"enallagihfeseis"}),
        keyboardView("Panelentasi", {"enallaghentash"}),
        keyboardView("Panelpena", {"enallaghvellh"}),
        pageView("Panel4", [](Pages &p) { p.showCursorPage(); }),
        pageView("Panel5", [](Pages &p) { p.showSettingsPage(); }),
        pageView("Panelmartyries", [](Pages &p) { p.showSignaturesPage(); }),
        // The other seven mode panels, each on its own.
        modeView("Panelhxos_b", "hx2"),
        modeView("Panelhxos_c", "hx3"),
        modeView("Panelhxos_d", "hx4"),
        modeView("Panelhxos_pla", "hx5"),
        modeView("Panelhxos_plb", "hx6"),
        modeView("Panelhxos_varys", "hx7"),
        modeView("Panelhxos_pld", "hx8"),
    };
}

} // namespace

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const char *usage =
        "usage: render-pages <output folder> [width height]\n"
        "Draws every page of the window at width by height (769 by 816) into the folder as PNG\n"
        "files, one per view, headless and without network.\n";
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(usage, stdout);
        return 0;
    }
    bool numbers = true;
    if (args.size() == 4)
        for (int i : {2, 3})
            numbers = numbers && args.at(i).toInt() > 0;
    if ((args.size() != 2 && args.size() != 4) || !numbers || args.at(1).startsWith('-')) {
        std::fputs(usage, stderr);
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
    // Started as the program starts, but with discovery on loopback and a period longer than
    // the tool runs, so that it sends nothing at all.
    ClientStartup startup(boxes, SettingsFile(documents.path()),
                          DiscoveryEndpoints::loopback(0, 9, 3600000));
    QQuickWindow *window = startup.window();
    if (!window) {
        std::fprintf(stderr, "render-pages: %s", qPrintable(startup.errors()));
        return 1;
    }
    if (!startup.start()) {
        std::fprintf(stderr, "render-pages: the client did not start\n");
        return 1;
    }
    MainClient &client = startup.client();
    window->showNormal();
    window->resize(width, height);
    if (!QTest::qWaitForWindowExposed(window)) {
        std::fprintf(stderr, "render-pages: the window was not shown\n");
        return 1;
    }
    QTest::qWait(50);
    client.fitPagesToWindow(window->width(), window->height());
    // Park the pointer on a blank spot, so that no button is drawn in its hover look.
    QTest::mouseMove(window, QPoint(width - 1, height - 1));

    for (const View &view : views()) {
        view.apply(client);
        // Pictures are read when first shown, off the user-interface thread.
        QTest::qWait(300);
        const QString path = QDir(out).filePath(
            QStringLiteral("%1-%2x%3.png").arg(view.file).arg(width).arg(height));
        if (!window->grabWindow().save(path)) {
            std::fprintf(stderr, "render-pages: cannot write %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
        view.undo(client);
    }
    return 0;
}
