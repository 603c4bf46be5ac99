import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// Offers an available update. It closes only through one of its two answers,
// so the update flow never stays waiting for a question nobody sees.
BaseDialog1 {
    id: dialog

    signal upgradeNow()
    signal upgradeLater()

    closePolicy: Popup.NoAutoClose

    Column {
        anchors.centerIn: parent
        width: _window.screenWidth * 0.32

        DialogTitle {
            width: parent.width
            height: _window.screenHeight * 0.05
        }

        BaseBackground {
            width: parent.width
            height: _window.screenHeight * 0.3
            radius: 0
            pressedBorderColor: "red"
            releasedBorderColor: "red"

            GeneralLabel {
                objectName: "updateConfirmText"
                anchors.horizontalCenter: parent.horizontalCenter
                anchors.verticalCenter: parent.verticalCenter
                anchors.verticalCenterOffset: -parent.height * 0.12
                text: "有新版本可升级 !"
                pixelSize: winManager.fontSize + 3
            }

            DialogYesOrNoButtonArea {
                anchors.bottom: parent.bottom
                anchors.bottomMargin: parent.height * 0.08
                anchors.horizontalCenter: parent.horizontalCenter
                width: parent.width - 2
                height: parent.height * 0.25
                pressedBorderColor: "transparent"
                releasedBorderColor: "transparent"
                pressedColor: "transparent"
                releasedColor: "transparent"
                yesButtonName: "立即升级"
                noButtonName: "稍后升级"
                onYesClicked: {
                    dialog.close()
                    dialog.upgradeNow()
                }
                onNoClicked: {
                    dialog.close()
                    dialog.upgradeLater()
                }
            }
        }
    }
}
