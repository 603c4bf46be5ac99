import QtQuick 2.15

// The free part of the title bar: dragging it moves the frameless window, and
// a drag that starts at its very top resizes the window from the top edge.
MouseArea {
    id: root

    readonly property int resizeCursorZonePx: 15
    readonly property int resizeStartZonePx: 10
    property bool moving: false
    property bool resizing: false
    property real pressX: 0
    property real pressY: 0

    hoverEnabled: true
    acceptedButtons: Qt.LeftButton
    cursorShape: (resizing || mouseY <= resizeCursorZonePx) ? Qt.SizeVerCursor : Qt.ArrowCursor

    onPressed: {
        if (winManager.fullScreen || mouse.button !== Qt.LeftButton)
            return
        pressX = mouse.x
        pressY = mouse.y
        if (mouse.y < resizeStartZonePx)
            resizing = true
        else
            moving = true
    }

    onPositionChanged: {
        if (moving) {
            winManager.winMove(mouse.x - pressX, mouse.y - pressY)
        } else if (resizing) {
            winManager.resizeWindowFromTopDrag(0, root.mapToGlobal(mouse.x, mouse.y).y)
        }
    }

    onReleased: {
        moving = false
        resizing = false
    }

    onCanceled: {
        moving = false
        resizing = false
    }
}
