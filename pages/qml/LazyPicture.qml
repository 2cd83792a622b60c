import QtQuick
import QtQuick.Controls.Basic
import QsClient

// A picture of the program's own, stretched to its rectangle. It is read only when it is first
// shown, so that hidden pages and hidden mode panels cost nothing at start-up, and it is drawn
// at the size it covers on screen (its rectangle times the page's scales), so that it stays sharp
// on a large screen. Until the picture is there, a plain light box stands in its place.
Item {
    id: picture

    objectName: name

    // The file name under assets/pictures, without ".svg".
    required property string name
    // The scales of the page the picture lies on.
    property real xScale: 1
    property real yScale: 1
    property alias fillMode: image.fillMode
    readonly property alias status: image.status
    readonly property alias sourceSize: image.sourceSize

    property bool shownOnce: false

    onVisibleChanged: if (visible) shownOnce = true
    Component.onCompleted: if (visible) shownOnce = true

    Rectangle {
        anchors.fill: parent
        visible: image.status !== Image.Ready
        color: "#f0f0f0"
        border.color: "#a0a0a0"
        border.width: 1
    }

    Image {
        id: image

        objectName: picture.name + "Image"
        anchors.fill: parent
        source: picture.shownOnce
                ? "qrc:/qt/qml/QsClient/assets/pictures/" + picture.name + ".svg" : ""
        sourceSize: Qt.size(Math.max(1, Math.ceil(picture.width * picture.xScale)),
                            Math.max(1, Math.ceil(picture.height * picture.yScale)))
        fillMode: Image.Stretch
        smooth: true
    }
}
