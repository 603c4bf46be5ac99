import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// The end of an update: the restart prompt or the failure message. Only its
// button closes it, because the update flow goes on from that confirmation.
BaseDialog1 {
    id: dialog

    property string message: ""

    signal confirmed()

    closePolicy: Popup.NoAutoClose

    enter: Transition {
        NumberAnimation {
            property: "opacity"
            from: 0.0
            to: 1.0
            duration: 500
        }
    }

    exit: Transition {
        NumberAnimation {
            property: "opacity"
            from: 1.0
            to: 0.0
            duration: 500
        }
    }

    Column {
        anchors.centerIn: parent
        width: _window.screenWidth * 0.32

        DialogTitle {
            width: parent.width
            height: _window.screenHeight * 0.05

            GeneralLabel {
                anchors.centerIn: parent
                text: "注意"
                pixelSize: winManager.fontSize + 4
            }
        }

        BaseBackground {
            width: parent.width
            height: _window.screenHeight * 0.25
            radius: 0

            GeneralLabel {
                objectName: "upgradeMessageText"
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.verticalCenter: parent.verticalCenter
                anchors.verticalCenterOffset: -parent.height * 0.12
                width: Math.min(implicitWidth, parent.width - 20)
                horizontalAlignment: Text.AlignHCenter
                text: dialog.message
                pixelSize: winManager.fontSize + 4
            }

            DialogOkButtonArea {
                anchors.bottom: parent.bottom
                anchors.bottomMargin: parent.height * 0.08
                anchors.horizontalCenter: parent.horizontalCenter
                width: parent.width - 2
                height: parent.height * 0.25
                pressedColor: "transparent"
                releasedColor: "transparent"
                text: "确认"
                onOkClicked: {
                    dialog.close()
                    dialog.confirmed()
                }
            }
        }
    }
}
