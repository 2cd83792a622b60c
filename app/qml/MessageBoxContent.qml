import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import QsClient

// What a message box shows: its text, wrapped and scrolled when taller than its room, and OK.
ColumnLayout {
    id: content

    required property QuickMessageBoxes boxes
    required property int textPixelSize
    required property int okHeight

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
            text: content.boxes.openTexts.length > 0
                  ? content.boxes.openTexts[content.boxes.openTexts.length - 1] : ""
            font.pixelSize: content.textPixelSize
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
        Layout.minimumHeight: content.okHeight
        Layout.preferredHeight: content.okHeight
        Layout.minimumWidth: 2 * content.okHeight
        text: "OK"
        font.pixelSize: content.textPixelSize
        focus: true
        onClicked: content.boxes.accept()

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
                    content.boxes.accept()
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
