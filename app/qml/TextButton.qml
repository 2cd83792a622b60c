import QtQuick
import QsClient

// A push button with a caption: a grey face outlined on all four sides, darker while pressed,
// lighter while the pointer is over it, outlined in the highlight colour while it has the focus.
// It is a press area like every other press target; Space presses it when it has the focus.
ButtonArea {
    id: button

    property real radius: 0
    property alias font: caption.font

    hoverEnabled: true
    activeFocusOnTab: true

    // The scales of the page the button lies on, so that its face and caption keep their shape.
    readonly property PageScaling scaling: (parent as ScaledPage)?.scaling ?? null

    // The face and caption take no input (disabled, the window passes over them); the button does.
    // Its corners, outline and letters are drawn at one scale across and down; a caption too long
    // for its face at that scale is made smaller, not narrower.
    EvenLayer {
        id: face

        horizontalScale: button.scaling ? button.scaling.sx : 1
        verticalScale: button.scaling ? button.scaling.sy : 1

        Rectangle {
            enabled: false
            anchors.fill: parent
            radius: button.radius
            color: button.pressed ? "#c8c8c8" : button.hovered ? "#e8e8e8" : "#e0e0e0"
            border.color: button.activeFocus ? "#0066ff" : "#8c8c8c"
            border.width: (button.activeFocus ? 2 : 1) * face.hairline
            antialiasing: true
        }
        Text {
            id: caption

            enabled: false
            anchors.fill: parent
            anchors.leftMargin: 2
            anchors.rightMargin: 2
            text: button.text
            color: "#000000"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 4
            elide: Text.ElideRight
        }
    }
}
