import QtQuick
import QsClient

// The modal signatures page Panelmartyries: eight mode tabs along the top, the mode panel of the
// chosen mode with a key over each signature of its picture, the mode strip below, and the
// return button.
ScaledPage {
    id: page

    objectName: "Panelmartyries"

    // The mode strip's picture.
    Picture {
        objectName: name
        name: "Image31"
        TablePlace.placed: true
        horizontalScale: page.client.scaling.sx
        fitted: page.client.scaling.fitted
        verticalScale: page.client.scaling.sy
    }

    // The mode panels, one shown at a time: the chosen mode's, with a key over each signature.
    ModePanel { objectName: "Panelhxos_a"; client: page.client }
    ModePanel { objectName: "Panelhxos_b"; client: page.client }
    ModePanel { objectName: "Panelhxos_c"; client: page.client }
    ModePanel { objectName: "Panelhxos_d"; client: page.client }
    ModePanel { objectName: "Panelhxos_pla"; client: page.client }
    ModePanel { objectName: "Panelhxos_plb"; client: page.client }
    ModePanel { objectName: "Panelhxos_varys"; client: page.client }
    ModePanel { objectName: "Panelhxos_pld"; client: page.client }

    // The mode strip's keys over the cells of its picture, in the order they are members of the
    // page (not their reading order): where two keys touch, the later one takes the shared
    // edge. A strip key is a sign press: after it is sent, the keyboard page goes back to its
    // first sets.
    TransparentButton { objectName: "mh3"; description: page.client.names.control(objectName); onClicked: page.client.press(objectName) }
    TransparentButton { objectName: "mh7"; description: page.client.names.control(objectName); onClicked: page.client.press(objectName) }
    TransparentButton { objectName: "mh6"; description: page.client.names.control(objectName); onClicked: page.client.press(objectName) }
    TransparentButton { objectName: "mh5"; description: page.client.names.control(objectName); onClicked: page.client.press(objectName) }
    TransparentButton { objectName: "mh4"; description: page.client.names.control(objectName); onClicked: page.client.press(objectName) }
    TransparentButton { objectName: "mh2"; description: page.client.names.control(objectName); onClicked: page.client.press(objectName) }
    TransparentButton { objectName: "mh1"; description: page.client.names.control(objectName); onClicked: page.client.press(objectName) }

    TextButton {
        objectName: "Button1"
        onClicked: page.client.press(objectName)
    }

    // The mode tabs; each is called by the mode panel it opens.
    TextButton { objectName: "hx1"; description: page.client.names.group("Panelhxos_a"); onClicked: page.client.press(objectName) }
    TextButton { objectName: "hx2"; description: page.client.names.group("Panelhxos_b"); onClicked: page.client.press(objectName) }
    TextButton { objectName: "hx3"; description: page.client.names.group("Panelhxos_c"); onClicked: page.client.press(objectName) }
    TextButton { objectName: "hx4"; description: page.client.names.group("Panelhxos_d"); onClicked: page.client.press(objectName) }
    TextButton { objectName: "hx5"; description: page.client.names.group("Panelhxos_pla"); onClicked: page.client.press(objectName) }
    TextButton { objectName: "hx6"; description: page.client.names.group("Panelhxos_plb"); onClicked: page.client.press(objectName) }
    TextButton { objectName: "hx7"; description: page.client.names.group("Panelhxos_varys"); onClicked: page.client.press(objectName) }
    TextButton { objectName: "hx8"; description: page.client.names.group("Panelhxos_pld"); onClicked: page.client.press(objectName) }
}
