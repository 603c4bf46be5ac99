import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// A message with a single button: every refusal of a preset operation is shown here.
BaseDialog1 {
    id: dialog

    property string message: ""

    function show(text) {
        message = text
        open()
    }

    BaseBackground {
        objectName: "presetWarningBox"
        anchors.centerIn: parent
        width: _window.screenWidth * 0.32
        height: _window.screenHeight * 0.3
        radius: 0
        releasedBorderColor: "transparent"
        pressedBorderColor: "transparent"

        DialogTitle {
            id: title
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
            height: 35
            radius: 0
            closeIconVisible: true
            onCloseClicked: dialog.close()

            GeneralLabel {
                anchors.left: parent.left
                anchors.leftMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                text: "注意"
                pixelSize: winManager.fontSize + 4
            }
        }

        GeneralLabel {
            objectName: "presetWarningText"
            anchors.centerIn: parent
            width: Math.min(implicitWidth, parent.width - 20)
            horizontalAlignment: Text.AlignHCenter
            text: dialog.message
            pixelSize: winManager.fontSize + 4
        }

        DialogOkButtonArea {
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            height: 50
            radius: 0
            pressedColor: "transparent"
            releasedColor: "transparent"
            onOkClicked: dialog.close()
        }
    }
}
