import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The modal signatures page Panelmartyries: eight mode tabs along the top, the mode panel of the
// chosen mode with a key over each signature of its picture, the mode strip below, and the
// return button.
ScaledPage {
    id: page

    objectName: "Panelmartyries"

    // The mode panels, each with its picture and the top-left corners of its signature keys in
    // panel units, by rows, left column first.
    readonly property var modePanels: [
        { panel: "Panelhxos_a", picture: "Image18", keyWidth: 112, keys: [
            { name: "ark1", x: 55, y: 45 },  { name: "ark2", x: 175, y: 45 },
            { name: "ark3", x: 56, y: 106 }, { name: "ark5", x: 175, y: 107 },
            { name: "ark4", x: 56, y: 170 }, { name: "ark6", x: 174, y: 171 } ] },
        { panel: "Panelhxos_b", picture: "Image19", keyWidth: 112, keys: [
            { name: "ark7", x: 57, y: 46 },   { name: "ark8", x: 175, y: 46 },
            { name: "ark10", x: 57, y: 107 }, { name: "ark11", x: 175, y: 107 },
            { name: "ark9", x: 57, y: 170 } ] },
        { panel: "Panelhxos_c", picture: "Image20", keyWidth: 112, keys: [
            { name: "ark12", x: 57, y: 48 },  { name: "ark13", x: 176, y: 47 },
            { name: "ark14", x: 57, y: 108 }, { name: "ark15", x: 176, y: 108 } ] },
        { panel: "Panelhxos_d", picture: "Image26", keyWidth: 112, keys: [
            { name: "ark16", x: 58, y: 23 },  { name: "ark17", x: 176, y: 24 },
            { name: "ark18", x: 57, y: 87 },  { name: "ark19", x: 175, y: 87 },
            { name: "ark20", x: 58, y: 151 }, { name: "ark21", x: 176, y: 151 },
            { name: "ark23", x: 58, y: 215 }, { name: "ark22", x: 176, y: 215 } ] },
        { panel: "Panelhxos_pla", picture: "Image27", keyWidth: 112, keys: [
            { name: "ark24", x: 58, y: 47 },  { name: "ark25", x: 177, y: 47 },
            { name: "ark26", x: 58, y: 109 }, { name: "ark27", x: 177, y: 109 } ] },
        { panel: "Panelhxos_plb", picture: "Image28", keyWidth: 119, keys: [
            { name: "ark28", x: 53, y: 26 },  { name: "ark29", x: 178, y: 26 },
            { name: "ark30", x: 52, y: 87 },  { name: "ark31", x: 177, y: 87 },
            { name: "ark32", x: 52, y: 149 }, { name: "ark33", x: 177, y: 149 },
            { name: "ark34", x: 52, y: 210 }, { name: "ark35", x: 177, y: 210 } ] },
        { panel: "Panelhxos_varys", picture: "Image29", keyWidth: 112, keys: [
            { name: "ark36", x: 58, y: 26 },  { name: "ark37", x: 177, y: 25 },
            { name: "ark38", x: 57, y: 87 },  { name: "ark39", x: 176, y: 87 },
            { name: "ark40", x: 57, y: 150 }, { name: "ark41", x: 176, y: 150 },
            { name: "ark42", x: 57, y: 212 }, { name: "ark43", x: 176, y: 211 } ] },
        { panel: "Panelhxos_pld", picture: "Image30", keyWidth: 112, keys: [
            { name: "ark44", x: 59, y: 46 },  { name: "ark46", x: 178, y: 47 },
            { name: "ark47", x: 59, y: 109 }, { name: "ark48", x: 178, y: 108 },
            { name: "ark45", x: 59, y: 170 } ] }
    ]

    // The mode strip's keys over the cells of its picture, all at y 378 and 48 high, in the
    // order they are members of the page (not their reading order): where two keys touch, the
    // later one takes the shared edge.
    readonly property var stripKeys: [
        { name: "mh3", x: 128, width: 48 }, { name: "mh7", x: 321, width: 67 },
        { name: "mh6", x: 272, width: 48 }, { name: "mh5", x: 224, width: 48 },
        { name: "mh4", x: 176, width: 48 }, { name: "mh2", x: 79, width: 48 },
        { name: "mh1", x: 23, width: 56 }
    ]

    // The mode tabs, all at y 2 and 48 by 48.
    readonly property var modeTabs: [
        { name: "hx1", x: 7, text: "α'" },     { name: "hx2", x: 56, text: "β'" },
        { name: "hx3", x: 106, text: "γ'" },   { name: "hx4", x: 156, text: "δ'" },
        { name: "hx5", x: 206, text: "πλ α'" }, { name: "hx6", x: 256, text: "πλ β'" },
        { name: "hx7", x: 306, text: "βαρύς" }, { name: "hx8", x: 356, text: "πλ δ'" }
    ]

    Picture {
        objectName: name
        name: "Image31"
        x: 17; y: 376; width: 376; height: 57
        horizontalScale: page.client.scaling.sx
        fitted: page.client.scaling.fitted
        verticalScale: page.client.scaling.sy
    }

    Repeater {
        model: page.modePanels

        Pane {
            id: modePanel

            required property var modelData

            objectName: modelData.panel
            x: 35; y: 60; width: 345; height: 300
            padding: 0
            visible: page.client.modes.visiblePanel === objectName
            Accessible.name: page.client.names.group(objectName)

            PressArea { anchors.fill: parent }

            Picture {
                objectName: name
                name: modePanel.modelData.picture
                x: 9; y: 18; width: 326; height: 259
                horizontalScale: page.client.scaling.sx
                fitted: page.client.scaling.fitted
                verticalScale: page.client.scaling.sy
            }

            Repeater {
                model: modePanel.modelData.keys

                TransparentButton {
                    required property var modelData

                    objectName: modelData.name
                    description: page.client.names.control(objectName)
                    x: modelData.x; y: modelData.y
                    width: modePanel.modelData.keyWidth; height: 60
                    onClicked: page.client.ark1Click(objectName)
                }
            }
        }
    }

    Repeater {
        model: page.stripKeys

        TransparentButton {
            required property var modelData

            objectName: modelData.name
            description: page.client.names.control(objectName)
            x: modelData.x; y: 378; width: modelData.width; height: 48
            // A strip key is a sign press: after it is sent, the keyboard page goes back to its
            // first sets.
            onClicked: page.client.keyboard.c13Click(objectName)
        }
    }

    TextButton {
        objectName: "Button1"
        x: 62; y: 520; width: 281; height: 49
        text: "Επιστροφή"
        onClicked: page.client.pages.Button1Click()
    }

    Repeater {
        model: page.modeTabs

        TextButton {
            required property var modelData
            required property int index

            objectName: modelData.name
            x: modelData.x; y: 2; width: 48; height: 48
            text: modelData.text
            description: page.client.names.group(page.modePanels[index].panel)
            onClicked: page.client.modes.hxClick(objectName)
        }
    }
}
