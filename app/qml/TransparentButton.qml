import QtQuick

// A press button without face, outline or caption, laid over the sign it sends. While the
// pointer is over it a grey ellipse fades in over 0.1 s and the whole button to half opacity.
// A press is the pointer going down and up inside its rectangle, edges included.
Item {
    id: button

    signal pressed

    readonly property bool hovered: area.containsMouse

    opacity: hovered ? 0.5 : 1
    Behavior on opacity { NumberAnimation { duration: 100 } }

    Rectangle {
        anchors.fill: parent
        radius: Math.min(width, height) / 2
        color: "#808080"
        opacity: button.hovered ? 175 / 255 : 0
        Behavior on opacity { NumberAnimation { duration: 100 } }
    }

    MouseArea {
        id: area
        anchors.fill: parent
        hoverEnabled: true
        onClicked: button.pressed()
    }
}
