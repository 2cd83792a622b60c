import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Shapes
import QsClient

// A group of the keyboard page: a panel holding one picture and a transparent press button over
// each sign of it. Its members are, from bottom to top: the panel, the picture, the buttons in
// the order of `buttons`, then whatever a group declares inside it. A later member paints over
// an earlier one and takes the press where they overlap; nothing is clipped to the panel, and a
// press on the panel or the picture between the buttons is taken and does nothing.
PressArea {
    id: group

    required property QtObject client
    // The buttons in their order, bottom to top: {name, x, y[, w, h][, handler]}, the size the
    // group's button size unless given; the handler is a press handler of client.keyboard, the
    // sign press c13Click unless named, and is given the button's name, its command word.
    property var buttons: []
    property real buttonWidth
    property real buttonHeight
    // The picture's rectangle in the group.
    property rect picture
    // Drawn stretched about the left edge by this factor, presses included.
    property real stretchX: 1
    // The callout look: the panel with a pointer on its top edge.
    property bool callout: false

    // The groups that the keyboard shows and hides follow their switch; the others are always
    // shown.
    readonly property QtObject visibilitySwitch: client.keyboard.panels[objectName] || null
    visible: visibilitySwitch ? visibilitySwitch.shown : true

    transform: Scale { xScale: group.stretchX }

    // The group is its own press area, so that a press or a hover between its buttons stops
    // here.
    hoverEnabled: true
    Accessible.role: Accessible.Grouping
    Accessible.name: client.names.group(objectName)

    Rectangle {
        visible: !group.callout
        anchors.fill: parent
        color: "#f0f0f0"
        border.color: "#a0a0a0"
        border.width: 1
    }

    // The callout look: a pointer 23 wide and 11 long at the middle of the top edge, the body
    // below it.
    Shape {
        visible: group.callout
        anchors.fill: parent
        ShapePath {
            fillColor: "#f0f0f0"
            strokeColor: "#a0a0a0"
            strokeWidth: 1
            startX: 0.5; startY: 11.5
            PathLine { x: (group.width - 23) / 2; y: 11.5 }
            PathLine { x: group.width / 2; y: 0.5 }
            PathLine { x: (group.width + 23) / 2; y: 11.5 }
            PathLine { x: group.width - 0.5; y: 11.5 }
            PathLine { x: group.width - 0.5; y: group.height - 0.5 }
            PathLine { x: 0.5; y: group.height - 0.5 }
            PathLine { x: 0.5; y: 11.5 }
        }
    }


    Picture {
        name: group.objectName
        x: group.picture.x
        y: group.picture.y
        width: group.picture.width
        height: group.picture.height
        horizontalScale: group.client.scaling.sx * group.stretchX
        fitted: group.client.scaling.fitted
        verticalScale: group.client.scaling.sy
    }

    Repeater {
        model: group.buttons

        TransparentButton {
            required property var modelData

            objectName: modelData.name
            description: group.client.names.control(modelData.name)
            x: modelData.x
            y: modelData.y
            width: modelData.w || group.buttonWidth
            height: modelData.h || group.buttonHeight
            onClicked: group.client.keyboard[modelData.handler || "c13Click"](modelData.name)
        }
    }
}
