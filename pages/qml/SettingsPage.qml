import QtQuick
import QtQuick.Controls.Basic
import QsClient

// The settings page Panel5, centred in the window by its scaled size: the editor's address,
// connecting by hand, the connection log and the display option. Every member's place is the
// layout table's (base/window-layout.json), by object name (TablePlace).
ScaledPage {
    id: page

    readonly property ClientFields fields: client.fields
    // The fields and the check box keep their letter shapes: each is laid out in units
    // that are the design's at the tighter of the page's two scales, as much wider or higher as
    // the page is stretched beyond that, and drawn back into its place.
    readonly property real even: Math.min(scaling.sx, scaling.sy)
    readonly property real wide: scaling.sx / even
    readonly property real high: scaling.sy / even

    // The width of an outline one unit thick: never thinner than a pixel.
    readonly property real hairline: Math.max(1, 1 / even)

    component EvenScale: Scale {
        required property real wide
        required property real high

        xScale: 1 / wide
        yScale: 1 / high
    }
    // A field's frame as the style draws it, but with an outline never thinner than a pixel, so
    // that on a screen smaller than the page's design the outline is not lost.
    component FieldFrame: Rectangle {
        required property Item field
        required property real hairline

        color: field.palette.base
        border.color: field.activeFocus ? field.palette.highlight : field.palette.mid
        border.width: (field.activeFocus ? 2 : 1) * hairline
        antialiasing: true
    }

    objectName: "Panel5"
    x: client.scaling.settingsPageX
    y: client.scaling.settingsPageY

    TextButton {
        id: connectDisconnect

        objectName: "ConnectDisconnect"
        radius: 3
        KeyNavigation.tab: button4
        KeyNavigation.backtab: edit2
        onClicked: page.client.press(objectName)
    }

    // The address fields follow the program's values (settings file, discovery) and hand what the
    // user types back to them; a later value from discovery replaces the typed text.
    TextField {
        id: edit2

        objectName: "Edit2"
        TablePlace.wider: page.wide
        TablePlace.higher: page.high
        Accessible.name: page.client.names.control(objectName)
        transform: EvenScale { wide: page.wide; high: page.high }
        background: FieldFrame { field: edit2; hairline: page.hairline }
        text: page.fields.host
        onTextEdited: page.fields.host = text
        containmentMask: PressArea { width: edit2.width; height: edit2.height }
        KeyNavigation.tab: connectDisconnect
        KeyNavigation.backtab: edit3
    }
    TextField {
        id: edit3

        objectName: "Edit3"
        TablePlace.wider: page.wide
        TablePlace.higher: page.high
        Accessible.name: page.client.names.control(objectName)
        transform: EvenScale { wide: page.wide; high: page.high }
        background: FieldFrame { field: edit3; hairline: page.hairline }
        text: page.fields.port
        onTextEdited: page.fields.port = text
        containmentMask: PressArea { width: edit3.width; height: edit3.height }
        KeyNavigation.tab: edit2
        KeyNavigation.backtab: memo1
    }

    // The connection log. The program only appends lines to it; what the user types stays in the
    // box, before any line appended later, and the program reads it for nothing. Lines are never
    // wrapped: a finger pans the box both ways, and a scroll bar shows once the log is taller than
    // the box.
    ScrollView {
        id: memoView

        // Where the log is scrolled to.
        readonly property Flickable view: contentItem as Flickable

        objectName: "Memo1View"
        TablePlace.placed: true
        ScrollBar.vertical.objectName: "Memo1VerticalBar"
        ScrollBar.vertical.policy: contentHeight > availableHeight ? ScrollBar.AlwaysOn
                                                                   : ScrollBar.AsNeeded

        TextArea {
            id: memo1

            // The box keeps up with the log: the lines the program appends are added at the end,
            // which leaves the user's cursor, selection and undo history where they were. The
            // newest line is brought into view, unless the user has scrolled back from the end
            // to read or is typing in the box.
            function takeLog() {
                const log = page.fields.log
                if (log === text)
                    return
                const view = memoView.view
                const follow = !activeFocus && view.atYEnd
                // The box scrolls to its cursor whenever the cursor moves, and a cursor at the
                // end moves with every line; the reader's place is kept all the same.
                const keptX = view.contentX
                const keptY = view.contentY
                if (log.startsWith(text)) {
                    const cursor = cursorPosition
                    const from = selectionStart
                    const to = selectionEnd
                    insert(text.length, log.slice(text.length))
                    if (from !== to)
                        select(from, to)
                    else
                        cursorPosition = cursor
                } else {
                    text = log
                }
                if (follow) {
                    view.contentX = 0
                    view.contentY = Math.max(0, view.contentHeight - view.height)
                } else {
                    view.contentX = keptX
                    view.contentY = keptY
                }
            }

            objectName: "Memo1"
            Accessible.name: page.client.names.control(objectName)
            textFormat: TextEdit.PlainText
            wrapMode: TextEdit.NoWrap
            // A finger drawn across the log pans it. A text box that selects by dragging keeps
            // every drag to itself, a finger's too, and the log could not be panned at all; text
            // is still selected from the keyboard.
            selectByMouse: false
            Component.onCompleted: takeLog()
            // A typed change goes into the log's own text, so that the next appended line comes
            // after it instead of replacing it.
            onTextChanged: if (text !== page.fields.log) page.fields.log = text
            background: Rectangle {
                color: memo1.palette.base
                border.color: memo1.activeFocus ? memo1.palette.highlight : memo1.palette.mid
                border.width: 1
            }
            // Tab moves on to the next control instead of going into the log; the text box takes
            // Tab before an attached KeyNavigation sees it.
            Keys.onTabPressed: edit3.forceActiveFocus(Qt.TabFocusReason)
            Keys.onBacktabPressed: screenOn.forceActiveFocus(Qt.BacktabFocusReason)

            Connections {
                target: page.fields
                function onLogChanged() { memo1.takeLog() }
            }
            // The log grows by a line at every connection, for as long as the program runs.
            VisibleLinesOnly { textBox: memo1 }
        }
    }

    CheckBox {
        id: screenOn

        objectName: "ScreenOn"
        TablePlace.wider: page.wide
        TablePlace.higher: page.high
        transform: EvenScale { wide: page.wide; high: page.high }
        text: page.client.layout.text(objectName)
        checked: page.fields.screenOn
        onToggled: page.fields.screenOn = checked
        Accessible.ignored: true

        // Presses go to the press area over the box, as on every press target; the box itself
        // still toggles from the keyboard.
        ButtonArea {
            anchors.fill: parent
            text: screenOn.text
            Accessible.checkable: true
            Accessible.checked: screenOn.checked
            onClicked: page.client.press(screenOn.objectName)
        }
        KeyNavigation.tab: memo1
        KeyNavigation.backtab: button4
    }
    TextButton {
        id: button4

        objectName: "Button4"
        onClicked: page.client.press(objectName)
        KeyNavigation.tab: screenOn
        KeyNavigation.backtab: connectDisconnect
    }
    Label {
        objectName: "Label1"
        TablePlace.placed: true
        visible: false
        // Never shown, and nothing reads it: the command exchange keeps the trace of its last
        // answer itself.
        text: page.client.layout.text(objectName)
    }
}
