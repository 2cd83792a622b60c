import QtQuick
import QsClient

// The main window MainClient: four pages laid out at design size and stretched to the window.
// Later pages paint over earlier ones; exactly one is visible.
Window {
    id: window

    required property MainClient client
    required property QuickMessageBoxes boxes

    objectName: "MainClient"
    title: client.windowTitle
    flags: Qt.Window | Qt.FramelessWindowHint
    width: 769
    height: 816
    visibility: Window.Maximized
    visible: true
    color: palette.window

    // The pages are first fitted to the window as its creation ends; from then on at every
    // resize and activation.
    onWidthChanged: if (client.scaling.fitted) client.fitPagesToWindow(width, height)
    onHeightChanged: if (client.scaling.fitted) client.fitPagesToWindow(width, height)
    onActiveChanged: if (active && client.scaling.fitted) client.fitPagesToWindow(width, height)
    onClosing: (close) => { close.accepted = client.saveSettingsForClose() }

    Connections {
        target: window.client
        function onCloseRequested() { window.close() }
    }

    KeyboardPage {
        client: window.client
    }
    // A page other than the first is built when it is first shown, and kept from then on: the
    // window starts with the keyboard page alone, and the other pages' files are not even read
    // until then.
    component PageOnDemand: Loader {
        required property MainClient client
        required property string page
        required property url file

        readonly property bool wanted: client.pages.visiblePage === page
        // Disabled until it holds its page, so that the window passes over it when it looks for
        // what lies under a pointer. (Not hidden: a page made in a hidden loader would see its
        // pictures shown as the loader shows, and read them although it is not the page shown.)
        enabled: item !== null
        onWantedChanged: if (wanted && !item) setSource(file, {client: client})
    }

    PageOnDemand {
        client: window.client
        page: "Panel4"
        file: Qt.resolvedUrl("../../pages/qml/CursorPage.qml")
    }
    PageOnDemand {
        client: window.client
        page: "Panel5"
        file: Qt.resolvedUrl("../../pages/qml/SettingsPage.qml")
    }
    PageOnDemand {
        client: window.client
        page: "Panelmartyries"
        file: Qt.resolvedUrl("../../pages/qml/MartyriesPage.qml")
    }

    MessageBoxLayer {
        boxes: window.boxes
    }
}
