import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// One monitoring point in a list: frequency, check box and level. A left or
// right click on the row makes it current; a right click also asks for the
// row's menu at the pointer.
Rectangle {
    id: root

    property string freText: ""
    property string strengthText: ""
    property bool checked: false
    property bool current: false

    signal selectClicked()
    signal rowPressed()
    signal menuRequested(real px, real py)

    color: root.current ? Qt.rgba(0, 1, 1, 0.1) : "transparent"
    border.color: root.current ? "deepskyblue" : "transparent"
    border.width: 1

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: {
            root.rowPressed()
            if (mouse.button === Qt.RightButton)
                root.menuRequested(mouse.x, mouse.y)
        }
    }

    GeneralLabel {
        objectName: "rowFreText"
        x: root.width * 0.05
        width: root.width * 0.42
        height: root.height
        text: root.freText + " MHz"
    }

    SelectCheck {
        objectName: "rowSelectCheck"
        x: root.width * 0.5 - width / 2
        anchors.verticalCenter: parent.verticalCenter
        width: 18
        height: 18
        checked: root.checked
        onClicked: root.selectClicked()
    }

    GeneralLabel {
        objectName: "rowStrengthText"
        x: root.width * 0.6
        width: root.width * 0.38
        height: root.height
        horizontalAlignment: Text.AlignRight
        rightPadding: root.width * 0.04
        text: root.strengthText + " dBm"
    }

    Rectangle {
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width * 0.92
        height: 1
        color: "#4a4c50"
        visible: !root.current
    }
}
