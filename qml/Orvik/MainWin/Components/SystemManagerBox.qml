import QtQuick 2.15
import MyModel 1.0
import Orvik.MainWin.Common 1.0
import "SystemManagerBox"

// The system panel at the right end of the menu strip: the update status and
// its button, the maker's download page and the about box. It also leads the
// user through an available update: confirmation, progress, and at the end
// the restart prompt or the failure message.
Item {
    id: root

    // Pacing of the panel's own timers.
    property int latestShownMs: 3000
    property int progressStepMs: 800
    property int restartPromptDelayMs: 2000

    // The progress control's state; the progress is time-based, not a measure of the download.
    property real progress: 0
    property color progressColor: "#46fa32"
    property bool progressSuccess: true
    readonly property int progressHold: 95

    readonly property int upgradeState: upgradeModel.upgradeState
    readonly property bool updateRunning: upgradeState === UpgradeModel.DOWNLOADING
                                          || upgradeState === UpgradeModel.MD5_VERIFYING
                                          || upgradeState === UpgradeModel.INSTALLING
    // The state seen by the last change notification (the model also notifies unchanged values).
    property int lastUpgradeState: UpgradeModel.IDLE

    implicitWidth: height * 8.5
    implicitHeight: 30

    function restartProgress() {
        progress = 0
        progressColor = "#46fa32"
        progressSuccess = true
    }

    function showMessage(text) {
        messageDialog.message = text
        messageDialog.open()
    }

    function progressTitle(state) {
        switch (state) {
        case UpgradeModel.DOWNLOADING:
            return "正在下载软件......"
        case UpgradeModel.MD5_VERIFYING:
            return "正在校验软件......"
        case UpgradeModel.INSTALLING:
            return "正在安装软件......"
        case UpgradeModel.COMPLETED:
            return "软件升级完成!"
        case UpgradeModel.ERROR:
            return "软件升级失败!"
        default:
            return ""
        }
    }

    Row {
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        spacing: 4

        GeneralLabel {
            objectName: "upgradeStatusLabel"
            anchors.verticalCenter: parent.verticalCenter
            visible: !upgradeButton.visible
            rightPadding: 6
            pixelSize: 12
            color: "#f3f3f3"
            text: root.upgradeState === UpgradeModel.CHECKING
                  ? "正在检查更新..."
                  : (upgradeModel.versionStatus === UpgradeModel.VERSION_LASTED ? "有新版本可用" : "当前版本是最新的")
        }

        GeneralBtn {
            id: upgradeButton
            objectName: "upgradeButton"
            width: root.height * 3
            height: root.height
            visible: root.upgradeState === UpgradeModel.IDLE
            text: "升级"
            onClicked: upgradeModel.queryUpdate()
        }

        GeneralBtn {
            objectName: "downloadCenterButton"
            width: root.height * 3
            height: root.height
            text: "下载中心"
            onClicked: Qt.openUrlExternally(upgradeModel.downloadPageUrl())
        }

        GeneralBtn {
            objectName: "aboutButton"
            width: root.height * 3
            height: root.height
            text: "关于"
            onClicked: aboutDialog.open()
        }
    }

    // After a check without an update the status stays readable for a while.
    Timer {
        id: latestTimer
        objectName: "latestTimer"
        interval: root.latestShownMs
        onTriggered: upgradeModel.resetStatus()
    }

    Timer {
        id: progressTimer
        objectName: "progressTimer"
        interval: root.progressStepMs
        repeat: true
        running: progressDialog.visible && root.updateRunning
        onTriggered: root.progress = Math.min(root.progressHold, root.progress + 1)
    }

    Timer {
        id: restartPromptTimer
        objectName: "restartPromptTimer"
        interval: root.restartPromptDelayMs
        onTriggered: {
            progressDialog.close()
            root.showMessage("点击确认后将开始重启软件 !")
        }
    }

    Connections {
        target: upgradeModel

        function onNeedToUpdate(status) {
            if (status)
                confirmDialog.open()
            else
                latestTimer.start()
        }

        function onUpgradeStateChanged() {
            const state = upgradeModel.upgradeState
            const entered = state !== root.lastUpgradeState
            root.lastUpgradeState = state
            if (root.updateRunning) {
                if (entered)
                    root.restartProgress()
            } else if (state === UpgradeModel.COMPLETED) {
                root.progress = 100
                if (entered)
                    restartPromptTimer.start()
            } else if (state === UpgradeModel.ERROR) {
                root.progress = 100
                root.progressColor = "#ff0000"
                root.progressSuccess = false
                if (entered) {
                    progressDialog.close()
                    root.showMessage("软件升级失败，请重新点击升级功能 !")
                }
            }
        }
    }

    UpdateConfirmDialog {
        id: confirmDialog
        objectName: "updateConfirmDialog"
        onUpgradeNow: {
            root.restartProgress()
            progressDialog.open()
            upgradeModel.startUpgrade()
        }
        onUpgradeLater: upgradeModel.resetStatus()
    }

    UpgradeProgressDialog {
        id: progressDialog
        objectName: "upgradeProgressDialog"
        title: root.progressTitle(root.upgradeState)
        progress: root.progress
        successFlag: root.progressSuccess
        progressColor: root.progressColor
    }

    UpgradeMessageDialog {
        id: messageDialog
        objectName: "upgradeMessageDialog"
        onConfirmed: {
            if (upgradeModel.upgradeState === UpgradeModel.COMPLETED)
                upgradeModel.restartSoftware()
            else if (upgradeModel.upgradeState === UpgradeModel.ERROR)
                upgradeModel.resetStatus()
        }
    }

    AboutDialog {
        id: aboutDialog
        objectName: "aboutDialog"
    }
}
