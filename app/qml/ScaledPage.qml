import QtQuick
import QtQuick.Controls.Basic

// One page of the window: shown when it is the visible page, drawn at the window's scales about
// its top-left corner. Presses that reach the page itself are taken and do nothing.
Pane {
    id: page

    required property QtObject client

    padding: 0
    width: 415
    height: 710
    visible: client.pages.visiblePage === objectName
    transform: Scale {
        xScale: page.client.scaling.sx
        yScale: page.client.scaling.sy
    }

    MouseArea {
        anchors.fill: parent
    }
}
