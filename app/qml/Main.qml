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
    CursorPage {
        client: window.client
    }
    SettingsPage {
        client: window.client
    }
    MartyriesPage {
        client: window.client
    }

    MessageBoxLayer {
        boxes: window.boxes
    }
}
