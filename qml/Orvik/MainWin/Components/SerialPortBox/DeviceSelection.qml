import QtQuick 2.15
import MyModel 1.0
import Orvik.MainWin.Common 1.0

// The device type. Only the first entry is a device this program drives;
// choosing the other one snaps back and tells the user it is not available.
Item {
    id: root

    readonly property bool disconnected: serialPortModel.connectState === SerialPortModel.DISCONNECTED
    readonly property bool connected: serialPortModel.connectState === SerialPortModel.CONNECTED

    Row {
        spacing: 10

        GeneralBtn {
            objectName: "deviceSelectButton"
            width: root.width * 0.4
            height: root.height
            text: "选择设备"
            enabled: root.disconnected
            onClicked: deviceCombox.popup.open()
        }

        Item {
            width: root.width * 0.6 - 10
            height: root.height

            GeneralCombox {
                id: deviceCombox
                objectName: "deviceCombox"
                anchors.fill: parent
                model: ["tinySA", "tinySA Ultra"]
                onActivated: {
                    if (index === 1) {
                        currentIndex = 0
                        noticeDialog.open()
                    }
                }
            }

            // Keeps the list shut while the analyser is connected.
            MouseArea {
                objectName: "deviceComboxBlocker"
                anchors.fill: parent
                enabled: root.connected
            }
        }
    }

    BaseDialog1 {
        id: noticeDialog
        objectName: "deviceNoticeDialog"

        BaseBackground {
            id: noticePanel
            objectName: "deviceNoticePanel"
            anchors.centerIn: parent
            width: noticeDialog.width * 0.32
            height: noticeDialog.height * 0.3
            radius: 0

            DialogTitle {
                id: noticeTitle
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                // Inside the panel's frame, so the frame runs all round.
                anchors.margins: noticePanel.border.width
                height: 35
                radius: 0
                pressedBorderColor: "transparent"
                releasedBorderColor: "transparent"
                onCloseClicked: noticeDialog.close()

                GeneralLabel {
                    anchors.left: parent.left
                    anchors.leftMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: "注意"
                    color: "white"
                    pixelSize: winManager.fontSize + 4
                }
            }

            GeneralLabel {
                objectName: "deviceNoticeText"
                anchors.centerIn: parent
                text: "该功能权限不对外开放，敬请期待 !"
                color: "white"
                pixelSize: winManager.fontSize + 4
                horizontalAlignment: Text.AlignHCenter
            }

            DialogOkButtonArea {
                objectName: "deviceNoticeOkArea"
                anchors.bottom: parent.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: noticePanel.border.width
                height: 50
                radius: 0
                onCloseClicked: noticeDialog.close()
            }
        }
    }
}
