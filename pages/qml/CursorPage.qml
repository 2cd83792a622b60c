import QtQuick
import QsClient

// The cursor page Panel4, narrower than the others: an arrow pad of four keys, two large arrows
// and the return button. Entered and left with a "move_client" line each.
ScaledPage {
    id: page

    // A large arrow in a framed box, placed by the layout table.
    component ArrowBox: Item {
        id: box

        required property MainClient client

        TablePlace.placed: true

        // The frame's outline as thick at the sides as at the top.
        EvenLayer {
            id: frame

            horizontalScale: box.client.scaling.sx
            verticalScale: box.client.scaling.sy

            Rectangle {
                anchors.fill: parent
                color: box.palette.base
                border.color: box.palette.mid
                border.width: frame.hairline
                antialiasing: true
            }
        }

        // The arrow pictures are square: fitted into the box with their proportions kept and
        // centred, they fill a square as high as the box's inside.
        Picture {
            objectName: box.objectName + "Picture"
            name: box.objectName
            anchors.centerIn: parent
            width: Math.min(box.width, box.height) - 4
            height: width
            horizontalScale: box.client.scaling.sx
            fitted: box.client.scaling.fitted
            verticalScale: box.client.scaling.sy
        }
    }

    objectName: "Panel4"

    // Every member's place is the layout table's (base/window-layout.json), by object name. The
    // arrows are given the client, which runs their presses: they repeat while held, and a
    // repeat needs to know whether its press went through.
    TextButton {
        objectName: "Button3"
        onClicked: page.client.press(objectName)
    }

    // The large arrows, each in a framed box. They react to nothing themselves; the transparent
    // buttons over them take the presses.
    ArrowBox { objectName: "ImageControl2"; client: page.client }
    ArrowBox { objectName: "ImageControl3"; client: page.client }

    ArrowKey {
        client: page.client
        objectName: "SpeedButton10"
        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
    }
    TransparentButton {
        objectName: "moveL"
        receiver: page.client
        description: page.client.names.control(objectName)
    }
    // The right arrow's button lies 7 units right of and 9 units above its picture; the strips
    // of the picture it leaves uncovered take presses and do nothing.
    TransparentButton {
        objectName: "moveR"
        receiver: page.client
        description: page.client.names.control(objectName)
    }
    ArrowKey {
        client: page.client
        objectName: "SpeedButton7"
        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
    }
    ArrowKey {
        client: page.client
        objectName: "SpeedButton8"
        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
    }
    ArrowKey {
        client: page.client
        objectName: "SpeedButton9"
        description: page.client.names.control(objectName)
        direction: page.client.layout.direction(objectName)
    }
}
