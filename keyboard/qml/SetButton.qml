import QtQuick
import QsClient

// A "......" button that swaps a pair of sign sets: a push button outlined on all four sides,
// its corners rounded to a radius of 3. It takes no focus: the keyboard page is for touch.
TextButton {
    text: "......"
    radius: 3
    activeFocusOnTab: false
}
