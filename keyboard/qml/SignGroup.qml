import QtQuick
import QtQuick.Shapes
import QsClient

// A group of the window: its panel, its picture, and the hover look of the buttons under the
// pointer and the fingers. The group item itself (ButtonGroup) takes its place, picture and
// buttons from the layout table by its object name and finds the button under each press; the
// panel, the picture and the hover look take no input.
ButtonGroup {
    id: group

    // The window's controller: the group's presses go to it, and its look follows the
    // controller's scales and switches.
    property MainClient client
    receiver: client
    names: client ? client.names : null

    // The groups that the keyboard shows and hides follow their switch; the mode panels follow
    // the chosen mode; the others are always shown.
    readonly property PanelSwitch visibilitySwitch: client ? client.keyboard.panelSwitch(objectName) : null
    visible: visibilitySwitch ? visibilitySwitch.shown : true

    // Drawn stretched about the left edge, presses included; a Scale only where there is one.
    transform: stretch !== 1 ? [stretchScale] : []
    Scale { id: stretchScale; xScale: group.stretch }

    Accessible.role: Accessible.Grouping
    Accessible.name: client ? client.names.group(objectName) : ""

    // The panel, the picture and the hover look are disabled: the window passes over a disabled
    // item, and all within it, when it looks for what lies under a pointer, so a press costs one
    // item per group. The panel's outline and the callout's pointer keep their shape at any
    // stretch of the page.
    EvenLayer {
        id: look

        horizontalScale: group.client ? group.client.scaling.sx * group.stretch : group.stretch
        verticalScale: group.client ? group.client.scaling.sy : 1

        Rectangle {
            enabled: false
            visible: group.look !== "callout"
            anchors.fill: parent
            color: group.look === "pane" ? group.palette.window : "#f0f0f0"
            border.color: "#a0a0a0"
            border.width: group.look === "pane" ? 0 : look.hairline
            antialiasing: true
        }

        // The callout look: a pointer 23 wide and 11 long at the middle of the top edge, the body
        // below it.
        Loader {
            enabled: false
            active: group.look === "callout"
            anchors.fill: parent
            sourceComponent: Shape {
                id: callout

                ShapePath {
                    fillColor: "#f0f0f0"
                    strokeColor: "#a0a0a0"
                    strokeWidth: 1
                    startX: 0.5; startY: 11.5
                    PathLine { x: (callout.width - 23) / 2; y: 11.5 }
                    PathLine { x: callout.width / 2; y: 0.5 }
                    PathLine { x: (callout.width + 23) / 2; y: 11.5 }
                    PathLine { x: callout.width - 0.5; y: 11.5 }
                    PathLine { x: callout.width - 0.5; y: callout.height - 0.5 }
                    PathLine { x: 0.5; y: callout.height - 0.5 }
                    PathLine { x: 0.5; y: 11.5 }
                }
            }
        }
    }

    Picture {
        enabled: false
        objectName: group.pictureName
        name: group.pictureName
        x: group.pictureRect.x
        y: group.pictureRect.y
        width: group.pictureRect.width
        height: group.pictureRect.height
        horizontalScale: group.client ? group.client.scaling.sx * group.stretch : 1
        fitted: group.client ? group.client.scaling.fitted : false
        verticalScale: group.client ? group.client.scaling.sy : 1
    }

    // The hover look of a transparent button: a grey ellipse filling its rectangle fades in over
    // 0.1 s while the whole button fades to half opacity; both return over 0.1 s when it is left.
    Repeater {
        enabled: false
        model: group.hoverSlots

        HoverLook {
            id: hoverLook

            required property HoverSlot modelData

            objectName: "hoverLook"
            enabled: false
            slot: modelData

            // A circle stretched to the rectangle, so that a button that is not square gets an
            // ellipse.
            Rectangle {
                width: 100
                height: 100
                radius: 50
                antialiasing: true
                color: "#808080"
                opacity: hoverLook.level * 175 / 255
                transform: Scale {
                    xScale: hoverLook.width / 100
                    yScale: hoverLook.height / 100
                }
            }
        }
    }
}
