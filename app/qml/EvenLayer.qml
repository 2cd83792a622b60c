import QtQuick

// What it holds is drawn at one scale across and down, however much wider than high its page is
// stretched: it covers its parent, in units that are the design's at the tighter of the two
// scales, so that a caption keeps its letter shapes and an outline is as thick at the sides as
// at the top. A look only: it takes no input.
Item {
    id: layer

    // The scales its parent is drawn at: its page's, times any stretch of its own group.
    property real horizontalScale: 1
    property real verticalScale: 1
    readonly property real even: Math.min(horizontalScale, verticalScale)
    // The width of an outline one unit thick, in the layer's units: never thinner than a pixel,
    // so that on a small screen an outline is not lost between two rows of pixels.
    readonly property real hairline: Math.max(1, 1 / even)

    enabled: false
    width: parent ? parent.width * horizontalScale / even : 0
    height: parent ? parent.height * verticalScale / even : 0
    transform: Scale {
        xScale: layer.even / layer.horizontalScale
        yScale: layer.even / layer.verticalScale
    }
}
