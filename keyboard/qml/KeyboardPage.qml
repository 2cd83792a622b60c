import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The sign keyboard page Panel1, the page the program starts on. Its members follow in their
// order from bottom to top: a later member paints over an earlier one and takes the press where
// they overlap. Positions and sizes are in page units (groups) and group units (buttons); each
// group's buttons are listed in their own order, bottom to top, which is not their reading
// order on the picture.
ScaledPage {
    id: page

    objectName: "Panel1"
    panelLook: true

    readonly property QtObject keyboard: client.keyboard

    // 1. Ison letters, first set.
    SignGroup {
        objectName: "PanelIson1"
        client: page.client
        x: 0; y: 530; width: 291; height: 43
        picture: Qt.rect(1, 3, 289, 38)
        buttonWidth: 36; buttonHeight: 36
        buttons: [
            {name: "k3", x: 73, y: 4},
            {name: "k2", x: 37, y: 4},
            {name: "k1", x: 1, y: 4},
            {name: "k6", x: 181, y: 4},
            {name: "k5", x: 145, y: 4},
            {name: "k4", x: 109, y: 4},
            {name: "k8", x: 253, y: 4},
            {name: "k7", x: 217, y: 4},
        ]
    }

    // 2. Flats and sharps, with the toggles of four pop-up groups.
    SignGroup {
        objectName: "Panelyfesi"
        client: page.client
        x: 0; y: 660; width: 291; height: 42
        picture: Qt.rect(1, 2, 289, 38)
        buttonWidth: 36; buttonHeight: 36
        buttons: [
            {name: "sa1", x: 3, y: 3},
            {name: "enallagihfeseis", x: 145, y: 3, handler: "enallagihfeseisClick"},
            {name: "sa2", x: 37, y: 3},
            {name: "enallaghvellh", x: 255, y: 3, handler: "enallaghvellhClick"},
            {name: "sa5", x: 110, y: 3},
            {name: "sa4", x: 73, y: 3},
            {name: "enallagifthores", x: 183, y: 3, handler: "enallagifthoresClick"},
            {name: "enallaghentash", x: 218, y: 3, handler: "enallaghentashClick"},
        ]
    }

    // 3. Tempo signs, with the toggle of the asterisks.
    SignGroup {
        objectName: "PanelxronikiAgogi1"
        client: page.client
        x: 1; y: 617; width: 291; height: 41
        picture: Qt.rect(1, 2, 289, 36)
        buttonWidth: 36; buttonHeight: 36
        buttons: [
            {name: "x8", x: 1, y: 3},
            {name: "x10", x: 73, y: 3},
            {name: "x9", x: 37, y: 3},
            {name: "x11", x: 109, y: 3},
            {name: "x14", x: 218, y: 3},
            {name: "x12", x: 146, y: 3},
            {name: "x13", x: 182, y: 3},
            {name: "enallagi_asterakia", x: 254, y: 3, handler: "enallagi_asterakiaClick"},
        ]
    }

    // 4. Descending signs, second set.
    SignGroup {
        objectName: "PanelKatavasi2"
        client: page.client
        x: 133; y: 363; width: 180; height: 167
        picture: Qt.rect(1, 2, 180, 160)
        buttonWidth: 41; buttonHeight: 41
        buttons: [
            {name: "e9", x: 4, y: 2},
            {name: "e11", x: 4, y: 42},
            {name: "e13", x: 4, y: 82},
            {name: "e12", x: 4, y: 122},
            {name: "d3", x: 48, y: 2},
            {name: "d4", x: 48, y: 42},
            {name: "d5", x: 48, y: 82},
            {name: "d6", x: 48, y: 122},
            {name: "d2", x: 92, y: 2},
            {name: "d8", x: 92, y: 42},
            {name: "d7", x: 92, y: 82},
            {name: "d9", x: 92, y: 122},
            {name: "d12", x: 137, y: 42},
            {name: "f3", x: 137, y: 2},
            {name: "d10", x: 137, y: 82},
            {name: "d11", x: 137, y: 122},
        ]
    }

    // 5. Descending signs, first set.
    SignGroup {
        objectName: "PanelKatavasi1"
        client: page.client
        x: 133; y: 363; width: 180; height: 167
        picture: Qt.rect(1, 2, 178, 162)
        buttonWidth: 41; buttonHeight: 41
        buttons: [
            {name: "c1", x: 3, y: 1},
            {name: "c2", x: 3, y: 43},
            {name: "c3", x: 3, y: 83},
            {name: "c4", x: 3, y: 124},
            {name: "c9", x: 46, y: 1},
            {name: "c10", x: 46, y: 43},
            {name: "c11", x: 46, y: 83},
            {name: "c12", x: 46, y: 124},
            {name: "c5", x: 90, y: 1},
            {name: "c6", x: 90, y: 43},
            {name: "c7", x: 90, y: 83},
            {name: "c8", x: 90, y: 124},
            {name: "c13", x: 135, y: 1},
            {name: "c14", x: 135, y: 43},
            {name: "d1", x: 135, y: 83},
            {name: "f2", x: 135, y: 124},
        ]
    }

    // 6. Further step signs.
    SignGroup {
        objectName: "PanelLoipa"
        client: page.client
        x: 133; y: 240; width: 181; height: 124
        picture: Qt.rect(1, 3, 178, 119)
        buttonWidth: 41; buttonHeight: 41
        buttons: [
            {name: "e5", x: 4, y: 4},
            {name: "e2", x: 4, y: 41},
            {name: "e1", x: 4, y: 80},
            {name: "e7", x: 46, y: 4},
            {name: "e4", x: 46, y: 41},
            {name: "e10", x: 46, y: 80},
            {name: "e6", x: 91, y: 4},
            {name: "e3", x: 91, y: 41},
            {name: "f1", x: 91, y: 80},
            {name: "e8", x: 134, y: 4},
            {name: "f4", x: 134, y: 41},
            {name: "f5", x: 134, y: 80},
        ]
    }

    // 7. Ascending signs, first set.
    SignGroup {
        objectName: "Panelanavasi1"
        client: page.client
        x: 133; y: 1; width: 181; height: 241
        picture: Qt.rect(1, 2, 179, 236)
        buttonWidth: 41; buttonHeight: 42
        buttons: [
            {name: "a15", x: 2, y: 78},
            {name: "a7", x: 2, y: 117},
            {name: "a6", x: 2, y: 155},
            {name: "a1", x: 2, y: 194},
            {name: "a4", x: 46, y: 78},
            {name: "a3", x: 46, y: 117},
            {name: "a8", x: 46, y: 194},
            {name: "b1", x: 90, y: 78},
            {name: "a16", x: 90, y: 117},
            {name: "a5", x: 90, y: 155},
            {name: "a2", x: 90, y: 194},
            {name: "b2", x: 134, y: 78},
            {name: "a14", x: 134, y: 117},
            {name: "a13", x: 134, y: 155},
            {name: "a12", x: 134, y: 194},
            {name: "a9", x: 46, y: 155},
            {name: "b4", x: 134, y: 41},
            {name: "b6", x: 134, y: 2},
            {name: "b3", x: 90, y: 41},
            {name: "b5", x: 90, y: 2},
            {name: "a18", x: 46, y: 41},
            {name: "a20", x: 46, y: 2},
            {name: "a17", x: 2, y: 41},
            {name: "a19", x: 2, y: 2},
        ]
    }

    // 8. Expression signs, second set.
    SignGroup {
        objectName: "PanelPoiotitas2"
        client: page.client
        x: 0; y: 111; width: 49; height: 295
        callout: true
        picture: Qt.rect(1, 0, 47, 295)
        buttonWidth: 44; buttonHeight: 35
        buttons: [
            {name: "g14", x: 2, y: 73},
            {name: "g13", x: 2, y: 111},
            {name: "g24", x: 2, y: 1},
            {name: "g20", x: 2, y: 150},
            {name: "g3", x: 2, y: 38},
            {name: "g25", x: 2, y: 260},
            {name: "g22", x: 2, y: 185},
            {name: "g23", x: 2, y: 224},
        ]
    }

    // 9. Bar lines and measure numbers, with the toggle of the measure numbers 5 to 8.
    SignGroup {
        objectName: "Paneldiastoles"
        client: page.client
        x: 1; y: 451; width: 132; height: 79
        picture: Qt.rect(1, 4, 131, 71)
        buttonHeight: 40
        buttons: [
            {name: "di2", x: 54, y: 37, w: 41},
            {name: "di3", x: 1, y: 2, w: 51},
            {name: "di4", x: 1, y: 37, w: 51},
            {name: "di1", x: 92, y: 37, w: 41},
            {name: "di5", x: 54, y: 2, w: 41},
            {name: "di6", x: 92, y: 2, w: 41, handler: "di6Click"},
        ]
    }

    // 10. Martyria letters.
    SignGroup {
        objectName: "PanelMartyries1"
        client: page.client
        x: 1; y: 573; width: 291; height: 42
        picture: Qt.rect(1, 2, 290, 38)
        buttonWidth: 36; buttonHeight: 36
        buttons: [
            {name: "m1", x: 2, y: 3, handler: "m1Click"},
            {name: "m3", x: 73, y: 3, handler: "m1Click"},
            {name: "m2", x: 37, y: 3, handler: "m1Click"},
            {name: "m5", x: 146, y: 3, handler: "m1Click"},
            {name: "m6", x: 182, y: 3, handler: "m1Click"},
            {name: "m4", x: 110, y: 3, handler: "m1Click"},
            {name: "m7", x: 218, y: 3, handler: "m1Click"},
            {name: "m8", x: 253, y: 3, handler: "o5Click"},
        ]
    }

    // 11. Ison letters, second set; its blank tiles have no buttons.
    SignGroup {
        objectName: "PanelIson2"
        client: page.client
        x: 0; y: 530; width: 291; height: 43
        picture: Qt.rect(1, 3, 289, 38)
        buttonWidth: 36; buttonHeight: 36
        buttons: [
            {name: "l3", x: 73, y: 4},
            {name: "l2", x: 36, y: 4},
            {name: "l1", x: 1, y: 4},
        ]
    }

    // 12. Ascending signs, second set; the white places of its picture have no buttons.
    SignGroup {
        objectName: "Panelanavasi2"
        client: page.client
        x: 133; y: 1; width: 181; height: 240
        picture: Qt.rect(1, 2, 177, 235)
        buttonWidth: 41; buttonHeight: 42
        buttons: [
            {name: "b9", x: 4, y: 79},
            {name: "b14", x: 4, y: 117},
            {name: "b12", x: 4, y: 156},
            {name: "b7", x: 4, y: 194},
            {name: "b10", x: 48, y: 79},
            {name: "b13", x: 48, y: 117},
            {name: "b8", x: 48, y: 194},
            {name: "b15", x: 48, y: 156},
            {name: "b18", x: 92, y: 2},
            {name: "b19", x: 92, y: 41},
            {name: "b11", x: 48, y: 2},
            {name: "b17", x: 48, y: 41},
            {name: "b20", x: 4, y: 2},
            {name: "b16", x: 4, y: 41},
            {name: "b21", x: 92, y: 194},
        ]
    }

    // 13. to 15.
    SetButton {
        objectName: "enallagianavasi"
        description: page.client.names.control(objectName)
        x: 319; y: 120; width: 42; height: 42
        onClicked: page.keyboard.enallagianavasiClick()
    }
    SetButton {
        objectName: "enallagiIson"
        description: page.client.names.control(objectName)
        x: 295; y: 529; width: 42; height: 42
        onClicked: page.keyboard.enallagiIsonClick()
    }
    SetButton {
        objectName: "enallagiMartyries"
        description: page.client.names.control(objectName)
        x: 295; y: 575; width: 42; height: 42
        onClicked: page.keyboard.enallagiMartyriesClick()
    }

    // 16. Expression signs, first set.
    SignGroup {
        objectName: "PanelPoiotitas1"
        client: page.client
        x: 0; y: 111; width: 49; height: 295
        callout: true
        picture: Qt.rect(1, 0, 47, 295)
        buttonWidth: 44
        buttons: [
            {name: "g6", x: 2, y: 2, h: 34},
            {name: "g4", x: 2, y: 37, h: 35},
            {name: "g15", x: 2, y: 74, h: 35},
            {name: "g2", x: 2, y: 223, h: 35},
            {name: "g1", x: 2, y: 258, h: 35},
            {name: "g11", x: 2, y: 111, h: 35},
            {name: "g9", x: 2, y: 148, h: 35},
            {name: "g7", x: 2, y: 184, h: 37},
        ]
    }

    // 17.
    SetButton {
        objectName: "CornerButton1"
        description: page.client.names.control(objectName)
        x: 1; y: 406; width: 49; height: 43
        onClicked: page.keyboard.CornerButton1Click()
    }

    // 18. "Κάτω", drawn upright: turned about its centre, its press target with it. A press runs
    // the box's sign press, which toggles the mark only once the send is over; the box itself
    // never toggles.
    CheckBox {
        objectName: "CheckBox1"
        x: 321; y: 569; width: 65; height: 27
        rotation: 270
        padding: 0
        spacing: 2
        text: "Κάτω"
        font.pixelSize: 14
        focusPolicy: Qt.NoFocus
        hoverEnabled: false
        checked: page.keyboard.checkBox1Checked
        // The press area inside is what screen readers see and press.
        Accessible.ignored: true

        ButtonArea {
            anchors.fill: parent
            hoverEnabled: true
            text: parent.text
            Accessible.checkable: true
            Accessible.checked: page.keyboard.checkBox1Checked
            onClicked: page.keyboard.CheckBox1Click("CheckBox1")
        }
    }

    // 19.
    SetButton {
        objectName: "enallagikatavasi"
        description: page.client.names.control(objectName)
        x: 319; y: 425; width: 42; height: 42
        onClicked: page.keyboard.enallagikatavasiClick()
    }

    // 20. Time signs, stretched to 1.1 times their width (a single-precision factor), buttons
    // and presses with them. The two columns overlap by 3 units; the blank tile at the top left
    // has no button.
    SignGroup {
        objectName: "Panelgorgo"
        client: page.client
        x: 50; y: 1; width: 75; height: 450
        stretchX: Math.fround(1.1)
        picture: Qt.rect(1, 3, 73, 444)
        buttonWidth: 38; buttonHeight: 37
        buttons: [
            {name: "xr20", x: 1, y: 346},
            {name: "xr25", x: 1, y: 380},
            {name: "xr24", x: 36, y: 2},
            {name: "xr18", x: 1, y: 312},
            {name: "xr19", x: 1, y: 276},
            {name: "xr16", x: 1, y: 243},
            {name: "xr4", x: 1, y: 176},
            {name: "xr17", x: 36, y: 346},
            {name: "xr26", x: 36, y: 380},
            {name: "kar7", x: 36, y: 413},
            {name: "kar5", x: 1, y: 413},
            {name: "xr1", x: 36, y: 209},
            {name: "xr5", x: 36, y: 243},
            {name: "xr13", x: 36, y: 276},
            {name: "xr15", x: 36, y: 312},
            {name: "xr14", x: 36, y: 35},
            {name: "xr6", x: 1, y: 104},
            {name: "xr7", x: 1, y: 69},
            {name: "xr12", x: 36, y: 69},
            {name: "xr11", x: 36, y: 104},
            {name: "xr10", x: 36, y: 140},
            {name: "xr9", x: 1, y: 140},
            {name: "xr2", x: 36, y: 176},
            {name: "xr3", x: 1, y: 209},
            {name: "xr8", x: 1, y: 35},
        ]
    }

    // 21. Martyria signs, the second row.
    SignGroup {
        objectName: "PanelMartyries2"
        client: page.client
        x: 1; y: 573; width: 291; height: 42
        picture: Qt.rect(1, 2, 290, 38)
        buttonHeight: 36
        buttons: [
            {name: "o1", x: 3, y: 3, w: 29, handler: "o1Click"},
            {name: "o3", x: 63, y: 3, w: 31, handler: "o1Click"},
            {name: "o2", x: 33, y: 3, w: 29, handler: "o1Click"},
            {name: "o6", x: 160, y: 3, w: 31, handler: "o1Click"},
            {name: "o5", x: 127, y: 3, w: 31, handler: "o5Click"},
            {name: "o4", x: 93, y: 3, w: 31, handler: "o1Click"},
            {name: "o8", x: 224, y: 3, w: 31, handler: "o1Click"},
            {name: "o7", x: 190, y: 3, w: 35, handler: "o1Click"},
            {name: "o9", x: 258, y: 3, w: 31, handler: "o1Click"},
        ]
    }

    // 22. The tool column.
    SignGroup {
        objectName: "Panelgrammiergaleion"
        client: page.client
        x: 368; y: 1; width: 45; height: 710
        picture: Qt.rect(1, 0, 43, 710)

        TransparentButton {
            objectName: "SpeedButton35"

            description: page.client.names.control(objectName)
            x: 3; y: 87; width: 41; height: 41
            onClicked: page.keyboard.c13Click(objectName)
        }
        TransparentButton {
            objectName: "SpeedButton25"
            description: page.client.names.control(objectName)
            x: 2; y: 369; width: 41; height: 41
            onClicked: page.keyboard.c13Click(objectName)
        }
        TransparentButton {
            objectName: "move_client"
            description: page.client.names.control(objectName)
            x: 3; y: 312; width: 41; height: 41
            onClicked: page.client.move_clientClick()
        }
        TransparentButton {
            objectName: "SpeedButton31"
            description: page.client.names.control(objectName)
            x: 1; y: 377; width: 41; height: 41
            onClicked: page.keyboard.c13Click(objectName)
        }
        TransparentButton {
            objectName: "SpeedButton14"
            description: page.client.names.control(objectName)
            x: 3; y: 157; width: 41; height: 41
            onClicked: page.keyboard.c13Click(objectName)
        }
        TransparentButton {
            objectName: "off"
            description: page.client.names.control(objectName)
            x: 3; y: 8; width: 41; height: 41
            onClicked: page.client.offClick()
        }
        TransparentButton {
            id: connectionButton
            objectName: "con_SpeedButton"
            description: page.client.names.control(objectName)
            x: 6; y: 573; width: 35; height: 35
            onClicked: page.client.link.con_SpeedButtonClick()

            // The connection indicator: below its button, sharing the button's hover look; a
            // press on it reaches the column's picture.
            Picture {
                objectName: "ImageControl1"
                x: 0; y: 51; width: 35; height: 35
                name: page.client.link.indicatorConnected
                      ? "connection-on" : "connection-off"
                horizontalScale: page.client.scaling.sx
                fitted: page.client.scaling.fitted
                verticalScale: page.client.scaling.sy
            }
        }
        TransparentButton {
            objectName: "SpeedButton15"
            description: page.client.names.control(objectName)
            x: 3; y: 258; width: 41; height: 41
            onClicked: page.keyboard.c13Click(objectName)
        }
        TransparentButton {
            objectName: "rythmiseisshow"
            description: page.client.names.control(objectName)
            x: 2; y: 504; width: 41; height: 41
            onClicked: page.client.pages.rythmiseisshowClick()
        }
        TransparentButton {
            objectName: "N5"
            description: page.client.names.control(objectName)
            x: 1; y: 118; width: 41; height: 41
            onClicked: page.keyboard.c13Click(objectName)
        }
        TransparentButton {
            objectName: "SpeedButton36"
            description: page.client.names.control(objectName)
            x: 3; y: 210; width: 41; height: 41
            onClicked: page.keyboard.c13Click(objectName)
        }
    }

    // 23. The top-left block; the blank bottom tile has no button.
    SignGroup {
        objectName: "Panelkoumpiahxos"
        client: page.client
        x: 1; y: 1; width: 49; height: 112
        picture: Qt.rect(0, 1, 47, 107)

        TransparentButton {
            objectName: "martyriesshow"

            description: page.client.names.control(objectName)
            x: 1; y: 2; width: 44; height: 34
            onClicked: page.client.pages.martyriesshowClick()
        }
        TransparentButton {
            objectName: "enallagiendikseis"
            description: page.client.names.control(objectName)
            x: 1; y: 37; width: 44; height: 34
            onClicked: page.keyboard.enallagiendikseisClick()
        }
    }

    // 24. to 30. The pop-up groups, over everything else while they are open.

    // 24. Modulation signs, over the ison, martyria and tempo rows.
    SignGroup {
        objectName: "Panelfthores"
        client: page.client
        x: 1; y: 530; width: 291; height: 127
        picture: Qt.rect(1, 2, 289, 124)
        buttonWidth: 36; buttonHeight: 36
        buttons: [
            {name: "ft6", x: 181, y: 88},
            {name: "ft7", x: 218, y: 88},
            {name: "ft8", x: 253, y: 88},
            {name: "ft5", x: 145, y: 88},
            {name: "ft13", x: 146, y: 45},
            {name: "ft14", x: 182, y: 45},
            {name: "ft15", x: 218, y: 45},
            {name: "ft3", x: 72, y: 88},
            {name: "ft2", x: 36, y: 88},
            {name: "ft1", x: 1, y: 88},
            {name: "ft11", x: 0, y: 45},
            {name: "ft10", x: 109, y: 45},
            {name: "ft9", x: 73, y: 45},
            {name: "ft4", x: 109, y: 88},
            {name: "ft21", x: 73, y: 3},
            {name: "ft18", x: 36, y: 3, h: 37},
            {name: "ft17", x: 0, y: 3},
            {name: "ft12", x: 37, y: 45},
            {name: "ft16", x: 253, y: 45},
        ]
    }

    // 25. Measure numbers 5 to 8; picture and buttons stick out at the right.
    SignGroup {
        objectName: "Panelmetra"
        client: page.client
        x: 98; y: 255; width: 47; height: 205
        picture: Qt.rect(1, 1, 50, 202)
        buttonWidth: 49; buttonHeight: 48
        buttons: [
            {name: "dm16", x: 2, y: 152},
            {name: "dm15", x: 2, y: 102},
            {name: "dm14", x: 2, y: 52},
            {name: "dm13", x: 2, y: 2},
        ]
    }

    // 26. Asterisks.
    SignGroup {
        objectName: "Panelasterakia"
        client: page.client
        x: 258; y: 415; width: 55; height: 202
        picture: Qt.rect(1, 1, 50, 202)
        buttonWidth: 49
        buttons: [
            {name: "SpeedButton11", x: 2, y: 42, h: 40},
            {name: "par4", x: 2, y: 3, h: 46},
            {name: "par3", x: 2, y: 52, h: 46},
            {name: "par1", x: 2, y: 153, h: 46},
            {name: "par2", x: 2, y: 104, h: 46},
        ]
    }

    // 27. Letter indications, just right of their toggle in the top-left block.
    SignGroup {
        objectName: "Panelendikseis"
        client: page.client
        x: 48; y: 38; width: 191; height: 301
        picture: Qt.rect(3, 4, 185, 293)
        buttonWidth: 75; buttonHeight: 36
        buttons: [
            {name: "en2", x: 3, y: 221},
            {name: "en3", x: 3, y: 185},
            {name: "en4", x: 3, y: 149},
            {name: "en5", x: 3, y: 113},
            {name: "en6", x: 3, y: 78},
            {name: "en8", x: 97, y: 5},
            {name: "en7", x: 3, y: 41},
            {name: "en15", x: 97, y: 41},
            {name: "en13", x: 97, y: 111},
            {name: "en10", x: 97, y: 220},
            {name: "en11", x: 97, y: 183},
            {name: "en9", x: 97, y: 257},
            {name: "en16", x: 3, y: 5},
            {name: "en14", x: 97, y: 77},
            {name: "en12", x: 97, y: 146},
            {name: "en1", x: 3, y: 257},
        ]
    }

    // 28. Further flats and sharps, with their own close button.
    SignGroup {
        objectName: "Panelyfeseis2"
        client: page.client
        x: 138; y: 463; width: 53; height: 205
        picture: Qt.rect(1, 1, 50, 202)
        buttonWidth: 49; buttonHeight: 40
        buttons: [
            {name: "ft20", x: 2, y: 42},
            {name: "ft_close", x: 2, y: 3, handler: "ft_closeClick"},
            {name: "sa6", x: 2, y: 82},
            {name: "ft19", x: 2, y: 122},
            {name: "sa3", x: 2, y: 161},
        ]
    }

    // 29. Dynamics words; its buttons reach three units into the tool column.
    SignGroup {
        objectName: "Panelentasi"
        client: page.client
        x: 218; y: 384; width: 151; height: 273
        picture: Qt.rect(1, 2, 152, 273)
        buttonWidth: 151; buttonHeight: 40
        buttons: [
            {name: "is6", x: 2, y: 39},
            {name: "is7", x: 2, y: 0},
            {name: "is5", x: 2, y: 79},
            {name: "is4", x: 2, y: 119},
            {name: "is3", x: 2, y: 158},
            {name: "is2", x: 2, y: 198},
            {name: "is1", x: 2, y: 238},
        ]
    }

    // 30. Arrows.
    SignGroup {
        objectName: "Panelpena"
        client: page.client
        x: 258; y: 498; width: 50; height: 162
        picture: Qt.rect(0, 0, 50, 163)
        buttonWidth: 49; buttonHeight: 40
        buttons: [
            {name: "pen4", x: 2, y: 4},
            {name: "pen3", x: 2, y: 44},
            {name: "pen2", x: 2, y: 84},
            {name: "pen1", x: 2, y: 123},
        ]
    }
}
