import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The sign keyboard page Panel1, the page the program starts on. Its members follow in their
// child order, bottom to top: a later member paints over an earlier one and takes the press
// where they overlap. Every member's place, and each group's picture and buttons, are the
// layout table's (base/window-layout.json), looked up by object name.
ScaledPage {
    id: page

    objectName: "Panel1"
    panelLook: true
    // The page follows every pointer over its members itself: the sign groups, the "......"
    // buttons and the box's press area join it.
    gathersPresses: true

    // 1. Ison letters, first set.
    SignGroup { objectName: "PanelIson1"; client: page.client }

    // 2. Flats and sharps, with the toggles of four pop-up groups.
    SignGroup { objectName: "Panelyfesi"; client: page.client }

    // 3. Tempo signs, with the toggle of the asterisks.
    SignGroup { objectName: "PanelxronikiAgogi1"; client: page.client }

    // 4. Descending signs, second set.
    SignGroup { objectName: "PanelKatavasi2"; client: page.client }

    // 5. Descending signs, first set.
    SignGroup { objectName: "PanelKatavasi1"; client: page.client }

    // 6. Further step signs.
    SignGroup { objectName: "PanelLoipa"; client: page.client }

    // 7. Ascending signs, first set.
    SignGroup { objectName: "Panelanavasi1"; client: page.client }

    // 8. Expression signs, second set.
    SignGroup { objectName: "PanelPoiotitas2"; client: page.client }

    // 9. Bar lines and measure numbers, with the toggle of the measure numbers 5 to 8.
    SignGroup { objectName: "Paneldiastoles"; client: page.client }

    // 10. Martyria letters.
    SignGroup { objectName: "PanelMartyries1"; client: page.client }

    // 11. Ison letters, second set; its blank tiles have no buttons.
    SignGroup { objectName: "PanelIson2"; client: page.client }

    // 12. Ascending signs, second set; the white places of its picture have no buttons.
    SignGroup { objectName: "Panelanavasi2"; client: page.client }

    // 13.
    SetButton {
        objectName: "enallagianavasi"
        description: page.client.names.control(objectName)
        onClicked: page.client.press(objectName)
    }

    // 14.
    SetButton {
        objectName: "enallagiIson"
        description: page.client.names.control(objectName)
        onClicked: page.client.press(objectName)
    }

    // 15.
    SetButton {
        objectName: "enallagiMartyries"
        description: page.client.names.control(objectName)
        onClicked: page.client.press(objectName)
    }

    // 16. Expression signs, first set.
    SignGroup { objectName: "PanelPoiotitas1"; client: page.client }

    // 17.
    SetButton {
        objectName: "CornerButton1"
        description: page.client.names.control(objectName)
        onClicked: page.client.press(objectName)
    }

    // 18. "Κάτω", drawn upright: turned about its centre, its press target with it. A press runs
    // the box's sign press, which toggles the mark only once the send is over; the box itself
    // never toggles.
    CheckBox {
        id: downBox

        objectName: "CheckBox1"
        TablePlace.placed: true
        // The press area inside takes every press, through the page; disabled, the box and all
        // it holds are passed over when the window looks for what lies under a pointer.
        enabled: false
        rotation: 270
        padding: 0
        spacing: 2
        text: "Κάτω"
        font.pixelSize: 14
        focusPolicy: Qt.NoFocus
        hoverEnabled: false
        checked: page.client.keyboard.checkBox1Checked
        // The press area inside is what screen readers see and press.
        Accessible.ignored: true
        // Drawn by the box inside, at one scale across and down: turned, the box's width lies
        // along the page's height.
        indicator: Item {}
        contentItem: Item {}

        EvenLayer {
            horizontalScale: page.client.scaling.sy
            verticalScale: page.client.scaling.sx

            CheckBox {
                anchors.fill: parent
                // Drawn as the enabled box it stands for, though the window passes over it.
                palette.disabled.base: downBox.palette.active.base
                palette.disabled.light: downBox.palette.active.light
                palette.disabled.mid: downBox.palette.active.mid
                palette.disabled.text: downBox.palette.active.text
                palette.disabled.windowText: downBox.palette.active.windowText
                padding: 0
                spacing: 2
                text: "Κάτω"
                font.pixelSize: 14
                focusPolicy: Qt.NoFocus
                hoverEnabled: false
                checked: page.client.keyboard.checkBox1Checked
                Accessible.ignored: true
            }
        }

        ButtonArea {
            anchors.fill: parent
            hoverEnabled: true
            text: parent.text
            Accessible.checkable: true
            Accessible.checked: page.client.keyboard.checkBox1Checked
            onClicked: page.client.press("CheckBox1")
        }
    }

    // 19.
    SetButton {
        objectName: "enallagikatavasi"
        description: page.client.names.control(objectName)
        onClicked: page.client.press(objectName)
    }

    // 20. Time signs, stretched to 1.1 times their width, buttons and presses with them.
    SignGroup { objectName: "Panelgorgo"; client: page.client }

    // 21. Martyria signs, the second row.
    SignGroup { objectName: "PanelMartyries2"; client: page.client }

    // 22. The tool column.
    SignGroup {
        id: toolColumn

        objectName: "Panelgrammiergaleion"
        client: page.client

        // The connection indicator, below the connect button and fading with its hover look; a
        // press on it reaches the column's picture.
        Picture {
            id: indicator

            readonly property rect button: toolColumn.buttonRect("con_SpeedButton")
            property real hoverLevel: 0
            Behavior on hoverLevel { NumberAnimation { duration: 100 } }

            objectName: "ImageControl1"
            enabled: false
            x: button.x; y: button.y + 51; width: 35; height: 35
            opacity: 1 - 0.5 * hoverLevel
            name: page.client.indicatorConnected ? "connection-on" : "connection-off"
            horizontalScale: page.client.scaling.sx
            fitted: page.client.scaling.fitted
            verticalScale: page.client.scaling.sy

            Connections {
                target: toolColumn
                function onHoveredButtonsChanged() {
                    indicator.hoverLevel = toolColumn.isHovered("con_SpeedButton") ? 1 : 0
                }
            }
        }
    }

    // 23. The top-left block; the blank bottom tile has no button.
    SignGroup { objectName: "Panelkoumpiahxos"; client: page.client }

    // 24. Pop-up: modulation signs, over the ison, martyria and tempo rows.
    SignGroup { objectName: "Panelfthores"; client: page.client }

    // 25. Pop-up: measure numbers 5 to 8; picture and buttons stick out at the right.
    SignGroup { objectName: "Panelmetra"; client: page.client }

    // 26. Pop-up: asterisks.
    SignGroup { objectName: "Panelasterakia"; client: page.client }

    // 27. Pop-up: letter indications, just right of their toggle in the top-left block.
    SignGroup { objectName: "Panelendikseis"; client: page.client }

    // 28. Pop-up: further flats and sharps, with their own close button.
    SignGroup { objectName: "Panelyfeseis2"; client: page.client }

    // 29. Pop-up: dynamics words; its buttons reach three units into the tool column.
    SignGroup { objectName: "Panelentasi"; client: page.client }

    // 30. Pop-up: arrows.
    SignGroup { objectName: "Panelpena"; client: page.client }
}
