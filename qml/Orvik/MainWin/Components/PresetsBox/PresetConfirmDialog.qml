import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// A yes-or-no question; yes runs the pending action once and then forgets it.
BaseDialog1 {
    id: dialog

    readonly property string defaultMessage: "删除预存后不可恢复，是否继续 ?"
    property string message: defaultMessage
    property var pendingAction: null

    function show(text, action) {
        message = text.length > 0 ? text : defaultMessage
        pendingAction = action
        open()
    }

    BaseBackground {
        anchors.centerIn: parent
        width: _window.screenWidth * 0.32
        height: _window.screenHeight * 0.3
        radius: 0
        releasedBorderColor: "transparent"
        pressedBorderColor: "transparent"

        DialogTitle {
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
            objectName: "presetConfirmText"
            anchors.centerIn: parent
            width: Math.min(implicitWidth, parent.width - 20)
            horizontalAlignment: Text.AlignHCenter
            text: dialog.message
            pixelSize: winManager.fontSize + 4
        }

        DialogYesOrNoButtonArea {
            objectName: "presetConfirmButtons"
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            height: 50
            radius: 0
            pressedColor: "transparent"
            releasedColor: "transparent"
            pressedBorderColor: "transparent"
            releasedBorderColor: "transparent"
            onYesClicked: {
                var action = dialog.pendingAction
                dialog.pendingAction = null
                dialog.close()
                if (action)
                    action()
            }
            onNoClicked: {
                dialog.pendingAction = null
                dialog.close()
            }
        }
    }
}
