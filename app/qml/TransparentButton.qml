import QtQuick
import QtQuick.Controls.Basic
import QsClient

// A press button without face, outline or caption, laid over the sign it sends. While the
// pointer is over it a grey ellipse filling its rectangle fades in over 0.1 s and the whole
// button fades to half opacity; both return over 0.1 s when the pointer leaves. A press is the
// pointer going down and up inside its rectangle, edges included: `clicked`.
//
// The button is its own mouse area, one item: every pointer event visits every item of the
// page, so the page's hundreds of buttons are kept as light as they can be.
MouseArea {
    id: button

    // A caption may be set, but the picture beneath is the button's face.
    property string text
    readonly property bool hovered: containsMouse

    // 0 at rest, 1 while the pointer is over the button; both fades follow it together.
    property real hoverLevel: hovered ? 1 : 0
    Behavior on hoverLevel { NumberAnimation { duration: 100 } }

    hoverEnabled: true
    opacity: 1 - 0.5 * hoverLevel

    // An item's own test leaves out its right and bottom edges; the mask reaches a hair (1/4096
    // of a unit, far below a pixel) past them, so that a press on a shared edge goes to the later
    // of two touching buttons.
    containmentMask: Item {
        width: button.width + 1 / 4096
        height: button.height + 1 / 4096
    }

    // A circle stretched to the rectangle, so that a button that is not square gets an ellipse.
    Rectangle {
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
