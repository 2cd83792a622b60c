import QtQuick

// A picture of the program, assets/pictures/<name>.svg, stretched to its rectangle. It is read
// only when it is first shown, and drawn at the size it has on the screen (its rectangle times
// the scales it is drawn at times the screen's pixel density), so that it stays sharp on a
// large screen. A plain placeholder stands in for a picture that cannot be read.
//
// A picture has no press area of its own: the pictures that take presses all lie within a panel
// that takes them, and the others leave them to what lies beneath. Every pointer event visits
// every item of the page, so a picture is one item.
Image {
    id: picture

    required property string name
    // The scales this rectangle is drawn at: the page's, times any scale of its own group.
    property real horizontalScale: 1
    property real verticalScale: 1
    // Whether those scales are the window's yet; until then the picture is not read, so that it
    // is drawn once, at the size it is shown.
    property bool fitted: true

    // Latches: a picture once read stays read when its group is hidden again.
    property bool shownOnce: visible
    onVisibleChanged: if (visible) shownOnce = true

    source: shownOnce && fitted && name !== ""
            ? "image://pictures/" + name : ""
    sourceSize.width: Math.ceil(width * horizontalScale * Screen.devicePixelRatio)
    sourceSize.height: Math.ceil(height * verticalScale * Screen.devicePixelRatio)
    fillMode: Image.Stretch
    // Read off the user-interface thread: the second core rasterizes while the window is built.
    asynchronous: true
    smooth: true

    Rectangle {
        anchors.fill: parent
        visible: picture.status === Image.Error
        color: "#f4f4f4"
        border.color: "#b0b0b0"
        border.width: 1
    }
}
