import QtQuick
import QtQuick.Controls.Basic
import QsClient

// A "......" button that swaps a pair of sign sets: the standard push button, outlined on all
// four sides, its corners rounded to a radius of 3.
Button {
    id: button

    text: "......"
    padding: 0
    focusPolicy: Qt.NoFocus
    containmentMask: QtObject {
        function contains(point: point): bool {
            return point.x >= 0 && point.y >= 0 && point.x <= button.width && point.y <= button.height
        }
    }

    background: Rectangle {
        radius: 3
        color: button.down ? "#c8c8c8" : button.hovered ? "#e8e8e8" : "#e0e0e0"
        border.color: "#8c8c8c"
        border.width: 1
    }
}
