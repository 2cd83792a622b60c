#pragma once

#include "app/MainClient.h"
#include "app/MainWindowScene.h"

#include <QString>

class QQuickWindow;
class QuickMessageBoxes;

// The client started in the program's order, for the program itself and for everything that
// needs its window as the program has it (the scene tests, the benchmarks, the page renderer).
// Making it builds the window: its layout is read and completed, which shows it maximised with
// the keyboard page and the connection indicator on not connected. start() does the rest of the
// window's creation: discovery takes its port and starts, the settings file is read into the
// fields (FormCreate), and the pages are fitted to the window (FormResize).
//
// The program reads its settings from the user's documents folder and uses the fixed discovery
// endpoints; tests and tools give a private folder and loopback endpoints.
class ClientStartup {
public:
    explicit ClientStartup(QuickMessageBoxes &boxes, SettingsFile settingsFile = SettingsFile(),
                           DiscoveryEndpoints endpoints = DiscoveryEndpoints());

    MainClient &client() { return m_client; }
    // Null when the layout could not be loaded; errors() then says why, and there is nothing to
    // start.
    QQuickWindow *window() const { return m_scene.window(); }
    QString errors() const { return m_scene.errors(); }

    // Once, after the window has been built. False when there is no window, or when discovery
    // cannot take its port (a second copy of the client holds it): then the error box has been
    // shown, in front of the fitted pages, and has been answered, and the client must not go on.
    bool start();

private:
    // What the first frame waits for and loading the window's QML does not: the font database
    // (the first text item asks for it) and the image format plugins (the first picture asks for
    // them). Both are Qt's own caches for the whole process, filled once and safe to fill from
    // any thread; made first, so that they are read on the pool while the main thread loads the
    // QML and waits for its types.
    struct ReadAhead {
        ReadAhead();
    };

    ReadAhead m_readAhead;
    MainClient m_client;
    MainWindowScene m_scene;
};
