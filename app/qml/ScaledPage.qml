import QtQuick
import QsClient

// One page of the window: shown when it is the visible page, drawn at the window's scales about
// its top-left corner. A press that meets none of its members does nothing, as no other page lies
// beneath a shown one. A page may take its members' presses itself (gathersPresses), which spares
// every pointer event a visit to each of them.
PressSurface {
    id: page

    required property MainClient client
    // The ordinary panel look, a light grey fill with a thin grey outline, instead of plain
    // white: what shows between the page's groups.
    property bool panelLook: false
    // The scales the page is drawn at, for what it holds that keeps its shape (EvenLayer).
    readonly property PageScaling scaling: client.scaling

    // Its design size, the layout table's.
    width: client.layout.size(objectName).width
    height: client.layout.size(objectName).height
    visible: client.pages.visiblePage === objectName
    Accessible.role: Accessible.Pane
    Accessible.name: client.names.group(objectName)
    transform: Scale {
        xScale: page.client.scaling.sx
        yScale: page.client.scaling.sy
    }

    // Its look only: the layer is disabled, so that the window passes over it when it looks for
    // what lies under a pointer; its outline is as thick at the sides as at the top.
    EvenLayer {
        id: look

        horizontalScale: page.scaling.sx
        verticalScale: page.scaling.sy

        Rectangle {
            anchors.fill: parent
            color: page.panelLook ? "#f0f0f0" : "#ffffff"
            border.color: "#a0a0a0"
            border.width: page.panelLook ? look.hairline : 0
            antialiasing: true
        }
    }
}
