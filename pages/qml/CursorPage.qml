import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The cursor page Panel4, 409 units wide: entered and left with a "move_client" line each.
ScaledPage {
    id: page

    objectName: "Panel4"
    width: 409

    Button {
        objectName: "Button3"
        x: 17; y: 567; width: 384; height: 66
        text: "Επιστροφή"
        onClicked: page.client.Button3Click()
    }
}
