import QtQuick
import QsClient

// A press button without face, outline or caption, laid over the sign it sends. While the
// pointer or a finger is over it a grey ellipse filling its rectangle fades in over 0.1 s and the
// whole button fades to half opacity; both return over 0.1 s when it leaves.
//
// The button is its own press area, one item: every pointer event visits every item of the
// page, so the page's hundreds of buttons are kept as light as they can be.
ButtonArea {
    id: button

    // 0 at rest, 1 while the pointer is over the button; both fades follow it together.
    property real hoverLevel: hovered ? 1 : 0
    Behavior on hoverLevel { NumberAnimation { duration: 100 } }

    hoverEnabled: true
    opacity: 1 - 0.5 * hoverLevel

    // A circle stretched to the rectangle, so that a button that is not square gets an ellipse.
    Rectangle {
        enabled: false
        visible: button.hoverLevel > 0
        width: 100
        height: 100
        radius: 50
        antialiasing: true
        color: "#808080"
        opacity: button.hoverLevel * 175 / 255
        transform: Scale {
            xScale: button.width / 100
            yScale: button.height / 100
        }
    }
}
