import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The sign keyboard page Panel1, the page the program starts on.
ScaledPage {
    id: page

    objectName: "Panel1"

    // The tool column along the right edge.
    Pane {
        objectName: "Panelgrammiergaleion"
        x: 368; y: 1; width: 45; height: 710
        padding: 0

        MouseArea { anchors.fill: parent }

        TransparentButton {
            objectName: "off"
            x: 3; y: 8; width: 41; height: 41
            onPressed: page.client.offClick()
        }
        TransparentButton {
            objectName: "move_client"
            x: 3; y: 312; width: 41; height: 41
            onPressed: page.client.move_clientClick()
        }
        TransparentButton {
            objectName: "rythmiseisshow"
            x: 2; y: 504; width: 41; height: 41
            onPressed: page.client.pages.rythmiseisshowClick()
        }
    }

    // The top-left block.
    Pane {
        objectName: "Panelkoumpiahxos"
        x: 1; y: 1; width: 49; height: 112
        padding: 0

        MouseArea { anchors.fill: parent }

        TransparentButton {
            objectName: "martyriesshow"
            x: 1; y: 2; width: 44; height: 34
            onPressed: page.client.pages.martyriesshowClick()
        }
    }
}
