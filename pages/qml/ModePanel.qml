import QtQuick
import QsClient

// A mode panel of the modal signatures page: the mode's picture with a key over each signature,
// shown while its mode is the chosen one.
SignGroup {
    visible: client ? client.modes.visiblePanel === objectName : false
}
