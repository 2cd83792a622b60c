import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts

// The modal message box: one text and OK. Boxes opened while another is open stack on top; the
// box shows the one on top, and when that one is closed the box below it is shown in its place,
// still holding the keyboard focus.
//
// Sized for a tablet held at arm's length and for a finger: large text, a tall OK, and a box that
// always fits inside the window, its text wrapped and, when longer than the window, scrolled.
Popup {
    id: box

    required property QtObject boxes
    readonly property var texts: boxes.openTexts

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
    visible: texts.length > 0

    onAboutToShow: focusBefore = parent.Window.activeFocusItem
    onClosed: {
        if (focusBefore && focusBefore.visible)
            focusBefore.forceActiveFocus()
        focusBefore = null
    }

    contentItem: ColumnLayout {
        spacing: 16

        // The text, wrapped at the box's width; scrolled by finger or wheel when it is taller
        // than the room the window leaves it.
        Flickable {
            id: textView

            objectName: "messageTextView"
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.preferredHeight: messageText.implicitHeight
            contentWidth: width
            contentHeight: messageText.implicitHeight
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            // Shown exactly while the text is taller than its room, without fading in or out as
            // the box is laid out.
            ScrollBar.vertical: ScrollBar {
                id: scrollBar

                objectName: "messageScrollBar"
                policy: ScrollBar.AlwaysOn
                visible: textView.contentHeight > textView.height
            }

            Label {
                id: messageText

                objectName: "messageText"
                // The text keeps clear of the scroll bar's lane.
                width: textView.width - scrollBar.width - 4
                text: box.texts.length > 0 ? box.texts[box.texts.length - 1] : ""
                font.pixelSize: box.textPixelSize
                wrapMode: Text.Wrap
                // A box uncovered below a closed one is shown from its start.
                onTextChanged: textView.contentY = 0
            }
        }
        // The toolkit's own button rather than a press area of the pages: a press area's press
        // waits for the press handler that is running, and that handler is the one waiting for
        // this OK.
        Button {
            id: ok

            objectName: "messageOk"
            Layout.alignment: Qt.AlignRight
            Layout.minimumHeight: box.okHeight
            Layout.preferredHeight: box.okHeight
            Layout.minimumWidth: 2 * box.okHeight
            text: "OK"
            font.pixelSize: box.textPixelSize
            focus: true
            onClicked: box.boxes.accept()

            // Return, Enter, Space and Escape all answer the box as OK does, when pressed; a
            // key held down answers one box, not every box stacked below it.
            Keys.onPressed: (event) => {
                switch (event.key) {
                case Qt.Key_Return:
                case Qt.Key_Enter:
                case Qt.Key_Space:
                case Qt.Key_Escape:
                    event.accepted = true
                    if (!event.isAutoRepeat)
                        box.boxes.accept()
                    break
                case Qt.Key_Up:
                    event.accepted = true
                    textView.ScrollBar.vertical.decrease()
                    break
                case Qt.Key_Down:
                    event.accepted = true
                    textView.ScrollBar.vertical.increase()
                    break
                }
            }
        }
    }
}
