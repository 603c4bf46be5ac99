import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// Tells the user how long a one-click scan takes before it is set up. Only
// its own buttons close it: the backdrop takes the clicks beside the panel.
BaseDialog1 {
    id: root

    signal confirmed()

    closePolicy: Popup.CloseOnEscape

    background: MouseArea {
        objectName: "tipsBackdrop"
    }

    BaseBackground {
        id: panel
        objectName: "tipsPanel"
        anchors.centerIn: parent
        width: root.width * 0.32
        height: root.height * 0.3
        radius: 0

        DialogTitle {
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: panel.border.width
            height: 35
            radius: 0
            pressedBorderColor: "transparent"
            releasedBorderColor: "transparent"
            closeIconVisible: true
            onCloseClicked: root.close()

            GeneralLabel {
                anchors.left: parent.left
                anchors.leftMargin: 14
                anchors.verticalCenter: parent.verticalCenter
                text: "信号扫描提示"
                pixelSize: winManager.fontSize + 4
            }
        }

        GeneralLabel {
            objectName: "tipsText"
            anchors.centerIn: parent
            width: parent.width * 0.85
            text: "整个扫描过程将持续5分钟，用于统计时间段内信道信号强度！"
            pixelSize: winManager.fontSize + 4
            wrapMode: Text.Wrap
            elide: Text.ElideNone
            horizontalAlignment: Text.AlignHCenter
        }

        DialogOkButtonArea {
            objectName: "tipsOkArea"
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: panel.border.width
            height: 50
            radius: 0
            text: "确认"
            onOkClicked: {
                root.close()
                root.confirmed()
            }
        }
    }
}
