import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// The build information: date, version and commit of the running program.
BaseDialog1 {
    id: dialog

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
        width: _window.screenWidth * 0.25

        DialogTitle {
            width: parent.width
            height: _window.screenHeight * 0.05
            closeIconVisible: true
            onCloseClicked: dialog.close()
        }

        BaseBackground {
            id: box
            width: parent.width
            height: _window.screenHeight * 0.2
            radius: 0

            Column {
                anchors.left: parent.left
                anchors.leftMargin: box.width * 0.15
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                spacing: box.height * 0.08

                GeneralLabel {
                    objectName: "aboutDateText"
                    width: parent.width
                    text: "日期: " + systemInfo.compileTime
                    pixelSize: winManager.fontSize + 3
                }

                GeneralLabel {
                    objectName: "aboutVersionText"
                    width: parent.width
                    text: "版本: " + systemInfo.version
                    pixelSize: winManager.fontSize + 3
                }

                GeneralLabel {
                    objectName: "aboutCommitText"
                    width: parent.width
                    text: "提交: " + systemInfo.commitid
                    pixelSize: winManager.fontSize + 3
                }
            }
        }
    }
}
