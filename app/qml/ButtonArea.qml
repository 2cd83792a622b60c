import QtQuick
import QsClient

// A press area that screen readers see as a button: called by its description, else its caption,
// else its name (its command word), and pressed by their press action as by a tap. Every button
// of the window is one; the pages and groups are plain press areas.
PressArea {
    // A caption may be set, but a picture beneath may be the button's face.
    property string text
    // What screen readers call the button, where its caption does not say it.
    property string description

    Accessible.role: Accessible.Button
    Accessible.name: description !== "" ? description : text !== "" ? text : objectName
    // Where a tap cannot reach the button (it is hidden, or takes no presses), neither does the
    // press.
    Accessible.onPressAction: clickWhereTapsReach()
}
