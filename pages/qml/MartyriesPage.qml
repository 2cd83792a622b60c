import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The modal signatures page Panelmartyries.
ScaledPage {
    id: page

    objectName: "Panelmartyries"

    Button {
        objectName: "Button1"
        x: 62; y: 520; width: 281; height: 49
        text: "Επιστροφή"
        onClicked: page.client.pages.Button1Click()
    }
}
