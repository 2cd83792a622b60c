import QtQuick
import QtQuick.Controls.Basic
import QsClient

// A mouse area whose press target is its whole rectangle with all four edges: an item on its
// own leaves out its right and bottom edges, where two neighbours that touch would otherwise
// hand the shared edge to the earlier one.
MouseArea {
    id: area

    containmentMask: QtObject {
        function contains(point: point): bool {
            return point.x >= 0 && point.y >= 0 && point.x <= area.width && point.y <= area.height
        }
    }
}
