import QtQuick
import QsClient

// The main window MainClient: four pages laid out at design size and stretched to the window.
// Later pages paint over earlier ones; exactly one is visible.
Window {
    id: window

    required property MainClient client
    required property QuickMessageBoxes boxes

    objectName: "MainClient"
    title: "QS Client V 3.0"
    flags: Qt.Window | Qt.FramelessWindowHint
    width: 769
    height: 816
    visibility: Window.Maximized
    visible: true
    color: palette.window

    // The pages are first fitted to the window as its creation ends; from then on at every
    // resize and activation.
    onWidthChanged: if (client.scaling.fitted) client.FormResize(width, height)
    onHeightChanged: if (client.scaling.fitted) client.FormResize(width, height)
    onActiveChanged: if (active && client.scaling.fitted) client.FormActivate(width, height)
    onClosing: (close) => { close.accepted = client.FormClose() }

    Connections {
        target: window.client
        function onCloseRequested() { window.close() }
    }

    KeyboardPage {
        client: window.client
    }
    // A page other than the first is built when it is first shown, and kept from then on: the
    // window starts with the keyboard page alone. Once built, each loader's binding gives way to
    // a constant, so the page stays. The page's component is the loader's own, made in this
    // window's context, which holds `window`: qmllint (6.4) takes that id for an unqualified name,
    // and binding the components to the window's context is what this toolkit version's loader
    // refuses to instantiate.
    Loader {
        active: window.client.pages.visiblePage === "Panel4"
        onActiveChanged: if (active) active = true
        sourceComponent: CursorPage { client: window.client } // qmllint disable unqualified
    }
    Loader {
        active: window.client.pages.visiblePage === "Panel5"
        onActiveChanged: if (active) active = true
        sourceComponent: SettingsPage { client: window.client } // qmllint disable unqualified
    }
    Loader {
        active: window.client.pages.visiblePage === "Panelmartyries"
        onActiveChanged: if (active) active = true
        sourceComponent: MartyriesPage { client: window.client } // qmllint disable unqualified
    }

    MessageBoxLayer {
        boxes: window.boxes
    }
}
