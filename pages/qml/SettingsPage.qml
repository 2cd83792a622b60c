import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The settings page Panel5, 415 by 362, centred in the window by its scaled size: the editor's
// address, the connection log and the display option.
ScaledPage {
    id: page

    readonly property QtObject fields: client.fields

    objectName: "Panel5"
    x: client.scaling.settingsPageX
    y: client.scaling.settingsPageY
    height: 362

    TextField {
        objectName: "Edit2"
        x: 248; y: 8; width: 113; height: 32
        text: page.fields.edit2
        onTextEdited: page.fields.edit2 = text
    }
    TextField {
        objectName: "Edit3"
        x: 264; y: 64; width: 73; height: 32
        text: page.fields.edit3
        onTextEdited: page.fields.edit3 = text
    }
    CheckBox {
        objectName: "ScreenOn"
        x: 40; y: 216; width: 193; height: 19
        text: "Οθόνη πάντα ανοιχτή"
        checked: page.fields.screenOn
        onToggled: page.fields.screenOn = checked
    }
    Button {
        objectName: "Button4"
        x: 40; y: 280; width: 345; height: 57
        text: "Επιστροφή"
        onClicked: page.client.pages.Button4Click()
    }
    Label {
        objectName: "Label1"
        x: 156; y: 92; width: 61; height: 23
        visible: false
        text: page.fields.label1
    }
}
