import QtQuick
import QtQuick.Controls.Basic

// The modal message box: one text and OK. Boxes opened while another is open stack on top.
Popup {
    id: box

    required property QtObject boxes
    readonly property var texts: boxes.openTexts

    objectName: "messageBox"
    anchors.centerIn: parent
    width: Math.min(parent.width - 40, 420)
    modal: true
    closePolicy: Popup.NoAutoClose
    visible: texts.length > 0

    contentItem: Column {
        spacing: 16

        Label {
            objectName: "messageText"
            width: parent.width
            text: box.texts.length > 0 ? box.texts[box.texts.length - 1] : ""
            wrapMode: Text.Wrap
        }
        Button {
            objectName: "messageOk"
            anchors.right: parent.right
            text: "OK"
            onClicked: box.boxes.accept()
        }
    }
}
