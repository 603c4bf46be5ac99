import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// One button of the scan panel: text and icon on a highlight while pressed.
// "pressed" shows the scan state; it is set by the panel, not by the mouse.
Item {
    id: root

    property string text: ""
    property bool pressed: false
    property string iconNormal: ""
    property string iconPressed: ""
    property color textColorEnable: "white"
    property color textColorDisable: "#999999"

    signal clicked()

    Image {
        objectName: "highlight"
        visible: root.pressed
        width: root.width
        height: root.height * 0.78
        anchors.centerIn: parent
        anchors.verticalCenterOffset: -2
        source: "qrc:/res/scan_pressed_bg.png"
        smooth: true
    }

    Row {
        anchors.centerIn: parent
        anchors.verticalCenterOffset: -2
        spacing: 2

        GeneralLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: root.text
            pixelSize: winManager.fontSize
            color: root.enabled ? root.textColorEnable : root.textColorDisable
        }

        Image {
            objectName: "icon"
            anchors.verticalCenter: parent.verticalCenter
            width: root.height * 0.3
            height: width
            source: (root.pressed && root.enabled) ? root.iconPressed : root.iconNormal
            sourceSize.width: width * 2
            sourceSize.height: height * 2
            smooth: true
        }
    }

    MouseArea {
        anchors.fill: parent
        enabled: root.enabled
        cursorShape: Qt.PointingHandCursor
        onClicked: root.clicked()
    }
}
