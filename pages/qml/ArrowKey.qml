import QtQuick
import QsClient

// An arrow key of the cursor page: a tool button laid out at 48 by 48 and drawn at twice that
// about its top-left corner. Presses are hit-tested against the enlarged drawing, since the
// scale is an item transform.
TransparentButton {
    id: key

    // The window's controller: the key's presses are its presses of the key's name, and the
    // arrow is drawn at its scales.
    required property MainClient client
    receiver: client
    // The direction the arrow points, in degrees clockwise from up.
    property real direction: 0

    width: 48; height: 48
    scale: 2
    transformOrigin: Item.TopLeft

    // The arrow is the picture arrow-key.svg turned to the key's direction, read at the size it
    // is shown at: the key's own scale of two times the page's scales, which the page the key
    // lies on takes from the window.
    Item {
        id: drawing

        enabled: false
        readonly property PageScaling scaling: key.client.scaling
        readonly property real sx: key.scale * (scaling ? scaling.sx : 1)
        readonly property real sy: key.scale * (scaling ? scaling.sy : 1)
        // Turned by a quarter, the picture's width lies along the screen's height.
        readonly property bool quarterTurned: Math.round(key.direction / 90) % 2 !== 0

        anchors.fill: parent
        anchors.margins: 8

        Picture {
            objectName: key.objectName + "Arrow"
            name: "arrow-key"
            anchors.centerIn: parent
            width: Math.min(parent.width, parent.height)
            height: width
            rotation: key.direction
            horizontalScale: drawing.quarterTurned ? drawing.sy : drawing.sx
            verticalScale: drawing.quarterTurned ? drawing.sx : drawing.sy
            fitted: drawing.scaling ? drawing.scaling.fitted : true
        }
    }
}
