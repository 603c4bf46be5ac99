import QtQuick 2.15

// An edge of the frameless window: dragging near its left, right or bottom
// side resizes the window from that edge.
MouseArea {
    id: root

    readonly property int leftZonePx: 5
    readonly property real farZoneRatio: 0.9
    // 0: none, 1: left edge, 2: right edge, 3: bottom edge
    property int resizeEdge: 0

    function cursorAt(x, y) {
        if (x <= leftZonePx || x > width * farZoneRatio)
            return Qt.SizeHorCursor
        if (y > height * farZoneRatio)
            return Qt.SizeVerCursor
        return Qt.ArrowCursor
    }

    acceptedButtons: Qt.LeftButton
    cursorShape: Qt.ArrowCursor

    onPositionChanged: {
        if (resizeEdge === 0) {
            cursorShape = cursorAt(mouse.x, mouse.y)
            return
        }
        var global = root.mapToGlobal(mouse.x, mouse.y)
        if (resizeEdge === 1)
            winManager.resizeWindowFromLeftDrag(global.x, 0)
        else if (resizeEdge === 2)
            winManager.resizeWindowFromRightDrag(global.x, 0)
        else
            winManager.resizeWindowFromBottomDrag(0, global.y)
    }

    onExited: {
        if (resizeEdge === 0)
            cursorShape = Qt.ArrowCursor
    }

    onPressed: {
        if (winManager.fullScreen || mouse.button !== Qt.LeftButton)
            return
        if (mouse.x < leftZonePx)
            resizeEdge = 1
        else if (mouse.x > width * farZoneRatio)
            resizeEdge = 2
        else if (mouse.y > height * farZoneRatio)
            resizeEdge = 3
    }

    onReleased: resizeEdge = 0
    onCanceled: resizeEdge = 0
}
