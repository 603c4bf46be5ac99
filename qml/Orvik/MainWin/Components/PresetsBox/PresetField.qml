import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// One labelled line of the save dialog: the label in the left quarter, the text
// field in the other three quarters.
Item {
    id: root

    property string label: ""
    property alias text: field.text
    property alias readOnly: field.readOnly
    property alias field: field

    height: 30

    GeneralLabel {
        anchors.left: parent.left
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width * 0.25
        horizontalAlignment: Text.AlignHCenter
        text: root.label
        pixelSize: winManager.fontSize + 1
    }

    TextField {
        id: field
        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: parent.width * 0.75
        height: parent.height
        padding: 4
        color: "white"
        selectByMouse: true
        font.pixelSize: winManager.fontSize + 1
        verticalAlignment: TextInput.AlignVCenter

        background: Rectangle {
            color: "black"
            radius: 4
            border.width: 1
            border.color: "gray"
        }
    }
}
