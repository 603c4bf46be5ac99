import QtQuick 2.15
import Corlakit.Common 1.0
import Orvik.MainWin.Components 1.0

// The main page: title bar, control column at the left, menu strip and chart
// at the right, and the window edges in the margins around them.
Window {
    id: mainWin
    objectName: "mainWin"

    width: _window.screenWidth
    height: _window.screenHeight
    title: "主页"
    color: "#333333"

    // The edges lie beneath everything else, so they only get the pointer in
    // the margins that no panel covers.
    DraggableArea {
        objectName: "rightEdgeArea"
        x: parent.width * 0.9
        y: 0
        width: parent.width - x
        height: parent.height
        hoverEnabled: true
    }

    DraggableArea {
        objectName: "leftEdgeArea"
        x: 0
        y: 0
        width: parent.width * 0.1
        height: parent.height
        hoverEnabled: true
    }

    DraggableArea {
        objectName: "bottomEdgeArea"
        x: 0
        y: parent.height * 0.9
        width: parent.width
        height: parent.height - y
        hoverEnabled: true
    }

    TitleBar {
        id: titleBar
        objectName: "titleBar"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: 40
    }

    SetBox {
        id: setBox
        objectName: "setBox"
        width: Math.min(parent.width * 0.18, 230)
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.top: titleBar.bottom
        anchors.topMargin: 10
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
    }

    MenuBox {
        id: menuBox
        objectName: "menuBox"
        anchors.left: setBox.right
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.top: titleBar.bottom
        anchors.topMargin: 10
        height: 30
    }

    ChartBox {
        id: chartBox
        objectName: "chartBox"
        anchors.left: setBox.right
        anchors.leftMargin: 5
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.top: menuBox.bottom
        anchors.topMargin: 5
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
    }
}
