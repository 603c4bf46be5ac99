import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0
import "MediaBox"

// The media panel of the menu strip: screen recording, saving the chart or the
// sweep, and an online upload that is not offered (its entries only show a notice).
BaseBackground {
    id: root

    // The blink phase of the record icon while a recording runs.
    property bool timerTriggered: false
    readonly property real stripHeight: height

    implicitWidth: 3 * 2.5 * height
    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    Row {
        anchors.fill: parent

        GeneralBtn {
            objectName: "recordButton"
            width: 3 * root.stripHeight
            height: root.stripHeight
            text: "录制视频"
            iconVisible: true
            imageUrl: root.timerTriggered ? "qrc:/res/video_record_icon_pressed.png"
                                          : "qrc:/res/video_record_icon_normal.png"
            onClicked: {
                if (!videoModel.running)
                    videoModel.start()
                else
                    videoModel.stop()
            }
        }

        GeneralBtn {
            objectName: "saveAsButton"
            width: 3 * root.stripHeight
            height: root.stripHeight
            text: "另存为"
            onClicked: saveAsMenu.open()
        }

        GeneralBtn {
            objectName: "uploadButton"
            width: 3 * root.stripHeight
            height: root.stripHeight
            text: "在线上传"
            onClicked: uploadMenu.open()
        }
    }

    Timer {
        objectName: "recordBlinkTimer"
        interval: 1000
        repeat: true
        running: videoModel.running
        onTriggered: root.timerTriggered = !root.timerTriggered
        onRunningChanged: {
            if (!running)
                root.timerTriggered = false
        }
    }

    ComboxMenuBox {
        id: saveAsMenu
        objectName: "saveAsMenu"
        width: 5.5 * root.stripHeight + 200
        height: root.width
        topPadding: 35
        leftPadding: 100
        z: 3
        onAboutToShow: saveAsContent.unfold()

        MediaMenuContent {
            id: saveAsContent
            objectName: "saveAsMenuContent"
            width: 5.5 * root.stripHeight
            fullHeight: 5 * root.stripHeight
            entries: ["图片", "CSV", "CSV(最大值)"]
            onEntryClicked: {
                saveAsMenu.close()
                currentIndex = index
                if (text === "图片")
                    resModel.savePng()
                else if (text === "CSV")
                    resModel.saveCsv("Veltro_%1.csv", monitorModel.latestPoints)
                else if (text === "CSV(最大值)")
                    resModel.saveCsv("Veltro_%1.csv.max", monitorModel.peakPoints)
            }
        }
    }

    BaseDialog1 {
        id: noticeDialog
        objectName: "uploadNoticeDialog"
        parent: root.parent && root.parent.parent ? root.parent.parent : Overlay.overlay

        BaseBackground {
            anchors.centerIn: parent
            width: noticeDialog.width * 0.32
            height: noticeDialog.height * 0.3
            radius: 0
            pressedBorderColor: "transparent"
            releasedBorderColor: "transparent"

            DialogTitle {
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                height: 35
                radius: 0
                closeIconVisible: true
                onCloseClicked: noticeDialog.close()

                GeneralLabel {
                    anchors.left: parent.left
                    anchors.leftMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: "注意"
                    pixelSize: winManager.fontSize + 4
                }
            }

            GeneralLabel {
                objectName: "uploadNoticeText"
                anchors.centerIn: parent
                text: "该功能权限不对外开放，敬请期待 !"
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
                text: "关闭"
                onOkClicked: noticeDialog.close()
            }
        }
    }

    ComboxMenuBox {
        id: uploadMenu
        objectName: "uploadMenu"
        width: 5.5 * root.stripHeight + 500
        height: root.width
        topPadding: 35
        leftPadding: 185
        z: 3
        onAboutToShow: uploadContent.unfold()

        MediaMenuContent {
            id: uploadContent
            objectName: "uploadMenuContent"
            width: 5.5 * root.stripHeight
            fullHeight: 3.5 * root.stripHeight
            entries: ["当前扫描", "所有预存"]
            onEntryClicked: {
                uploadMenu.close()
                noticeDialog.open()
            }
        }
    }
}
