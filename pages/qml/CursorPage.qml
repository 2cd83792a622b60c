import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The cursor page Panel4, 409 units wide: an arrow pad of four keys, two large arrows and the
// return button. Entered and left with a "move_client" line each.
ScaledPage {
    id: page

    objectName: "Panel4"
    width: 409

    TextButton {
        objectName: "Button3"
        x: 17; y: 567; width: 384; height: 66
        text: "Επιστροφή"
        onClicked: page.client.Button3Click()
    }

    // The large arrows, each in a framed box. They react to nothing themselves; the transparent
    // buttons over them take the presses.
    Repeater {
        model: [
            { name: "ImageControl2", x: 25 },
            { name: "ImageControl3", x: 273 }
        ]

        Rectangle {
            id: box

            required property var modelData

            objectName: modelData.name
            x: modelData.x; y: 353; width: 104; height: 96
            color: palette.base
            border.color: palette.mid
            border.width: 1

            // The arrow pictures are square: fitted into the box with their proportions kept and
            // centred, they fill a square as high as the box's inside.
            Picture {
                objectName: box.modelData.name + "Picture"
                name: box.modelData.name
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
        x: 56; y: 112
        direction: 270
        onClicked: page.client.ark1Click(objectName)
    }
    TransparentButton {
        objectName: "moveL"
        description: page.client.names.control(objectName)
        x: 24; y: 352; width: 105; height: 97
        onClicked: page.client.moveLClick()
    }
    // The right arrow's button lies 7 units right of and 9 units above its picture; the strips
    // of the picture it leaves uncovered take presses and do nothing.
    TransparentButton {
        objectName: "moveR"
        description: page.client.names.control(objectName)
        x: 280; y: 344; width: 105; height: 97
        onClicked: page.client.moveRClick()
    }
    ArrowKey {
        objectName: "SpeedButton7"
        description: page.client.names.control(objectName)
        x: 157; y: 16
        direction: 0
        onClicked: page.client.ark1Click(objectName)
    }
    ArrowKey {
        objectName: "SpeedButton8"
        description: page.client.names.control(objectName)
        x: 256; y: 112
        direction: 90
        onClicked: page.client.ark1Click(objectName)
    }
    ArrowKey {
        objectName: "SpeedButton9"
        description: page.client.names.control(objectName)
        x: 155; y: 206
        direction: 180
        onClicked: page.client.ark1Click(objectName)
    }
}
