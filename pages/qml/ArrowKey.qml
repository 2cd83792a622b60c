import QtQuick
import QsClient

// An arrow key of the cursor page: a tool button laid out at 48 by 48 and drawn at twice that
// about its top-left corner. Presses are hit-tested against the enlarged drawing, since the
// scale is an item transform.
TransparentButton {
    id: key

    // The direction the arrow points, in degrees clockwise from up.
    property real direction: 0

    width: 48; height: 48
    scale: 2
    transformOrigin: Item.TopLeft

    Canvas {
        anchors.fill: parent
        anchors.margins: 8
        rotation: key.direction
        onPaint: {
            const ctx = getContext("2d")
            ctx.reset()
            ctx.fillStyle = "#000000"
            ctx.beginPath()
            ctx.moveTo(width / 2, height * 0.2)
            ctx.lineTo(width * 0.85, height * 0.75)
            ctx.lineTo(width * 0.15, height * 0.75)
            ctx.closePath()
            ctx.fill()
        }
    }
}
