import QtQuick
import QtQuick.Controls.Basic
import QsClient

// A picture of the program, assets/pictures/<name>.svg, stretched to its rectangle. It is read
// only when it is first shown, and drawn at the size it has on the screen (its rectangle times
// the scales it is drawn at times the screen's pixel density), so that it stays sharp on a
// large screen. A plain placeholder stands in for a picture that cannot be read.
Item {
    id: picture

    required property string name
    // The scales this rectangle is drawn at: the page's, times any scale of its own group.
    property real horizontalScale: 1
    property real verticalScale: 1
    // Whether those scales are the window's yet; until then the picture is not read, so that it
    // is drawn once, at the size it is shown.
    property bool fitted: true
    // Most pictures take the presses that reach them and do nothing with them; some leave them
    // to what lies beneath.
    property bool takesPresses: true

    readonly property alias status: image.status

    // Latches: a picture once read stays read when its group is hidden again.
    property bool shownOnce: visible
    onVisibleChanged: if (visible) shownOnce = true

    PressArea {
        anchors.fill: parent
        enabled: picture.takesPresses
        hoverEnabled: picture.takesPresses
    }

    Image {
        id: image
        anchors.fill: parent
        source: picture.shownOnce && picture.fitted && picture.name !== ""
                ? "qrc:/qt/qml/QsClient/assets/pictures/" + picture.name + ".svg" : ""
        sourceSize.width: Math.ceil(picture.width * picture.horizontalScale * Screen.devicePixelRatio)
        sourceSize.height: Math.ceil(picture.height * picture.verticalScale * Screen.devicePixelRatio)
        fillMode: Image.Stretch
        asynchronous: true
        smooth: true
    }

    Rectangle {
        anchors.fill: parent
        visible: image.status === Image.Error
        color: "#f4f4f4"
        border.color: "#b0b0b0"
        border.width: 1
    }
}
