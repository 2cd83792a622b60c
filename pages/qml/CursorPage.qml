import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The cursor page Panel4, 409 units wide: an arrow pad of four keys, two large arrows and the
// return button. Entered and left with a "move_client" line each.
ScaledPage {
    id: page

    objectName: "Panel4"
    width: 409

    // Every member's place is the layout table's (app/window-layout.json), by object name.
    TextButton {
        objectName: "Button3"
        onClicked: page.client.press(objectName)
    }

    // The large arrows, each in a framed box. They react to nothing themselves; the transparent
    // buttons over them take the presses.
    Repeater {
        model: ["ImageControl2", "ImageControl3"]

        Rectangle {
            id: box

            required property string modelData
            readonly property rect place: page.client.layout.rect(modelData)

            objectName: modelData
            x: place.x; y: place.y; width: place.width; height: place.height
            color: palette.base
            border.color: palette.mid
            border.width: 1

            // The arrow pictures are square: fitted into the box with their proportions kept and
            // centred, they fill a square as high as the box's inside.
            Picture {
                objectName: box.modelData + "Picture"
                name: box.modelData
                anchors.centerIn: parent
                width: Math.min(parent.width, parent.height) - 4
                height: width
                horizontalScale: page.client.scaling.sx
                fitted: page.client.scaling.fitted
                verticalScale: page.client.scaling.sy
            }
        }
    }

    ArrowKey {
        objectName: "SpeedButton10"

        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
        onClicked: page.client.press(objectName)
    }
    TransparentButton {
        objectName: "moveL"
        description: page.client.names.control(objectName)
        onClicked: page.client.press(objectName)
    }
    // The right arrow's button lies 7 units right of and 9 units above its picture; the strips
    // of the picture it leaves uncovered take presses and do nothing.
    TransparentButton {
        objectName: "moveR"
        description: page.client.names.control(objectName)
        onClicked: page.client.press(objectName)
    }
    ArrowKey {
        objectName: "SpeedButton7"
        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
        onClicked: page.client.press(objectName)
    }
    ArrowKey {
        objectName: "SpeedButton8"
        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
        onClicked: page.client.press(objectName)
    }
    ArrowKey {
        objectName: "SpeedButton9"
        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
        onClicked: page.client.press(objectName)
    }
}
