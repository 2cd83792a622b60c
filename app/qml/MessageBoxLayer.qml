import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The modal message box: one text and OK. Boxes opened while another is open stack on top; the
// box shows the one on top, and when that one is closed the box below it is shown in its place,
// still holding the keyboard focus.
//
// Sized for a tablet held at arm's length and for a finger: large text, a tall OK, and a box that
// always fits inside the window, its text wrapped and, when longer than the window, scrolled.
Popup {
    id: box

    required property QuickMessageBoxes boxes

    // Room left between the box and the window's edges.
    readonly property int windowMargin: 16
    readonly property int textPixelSize: 18
    // About a fingertip.
    readonly property int okHeight: 48

    // The item that had the keyboard focus before the box opened; it gets it back afterwards.
    property Item focusBefore: null

    objectName: "messageBox"
    anchors.centerIn: parent
    width: Math.max(0, Math.min(parent.width - 2 * windowMargin, 520))
    height: Math.max(0, Math.min(implicitHeight, parent.height - 2 * windowMargin))
    padding: 16
    modal: true
    // The box takes the keyboard as it opens, so that a key answers it rather than the page
    // behind it.
    focus: true
    closePolicy: Popup.NoAutoClose
    visible: boxes.openTexts.length > 0

    onAboutToShow: {
        focusBefore = parent.Window.activeFocusItem
        const content = box.contentItem as Loader
        if (!content.item)
            content.setSource(Qt.resolvedUrl("MessageBoxContent.qml"),
                              {boxes: box.boxes, textPixelSize: box.textPixelSize,
                               okHeight: box.okHeight})
    }
    onClosed: {
        if (focusBefore && focusBefore.visible)
            focusBefore.forceActiveFocus()
        focusBefore = null
    }

    // What the box shows is made when a box first opens, not while the window starts: most
    // sessions never see one, and its file is not even read until then.
    contentItem: Loader {
        focus: true
    }
}
