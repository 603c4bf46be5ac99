import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The peak-hold curve and the monitoring mode. In the one-click mode it
// starts a one-click scan through its two dialogs and counts the scan's five
// minutes down.
BaseBackground {
    id: root

    readonly property int scanDurationS: 300
    property int totalTime: scanDurationS
    readonly property bool oneClickShown: modeCombox.displayText === "一键扫描"

    // The mode as the drop-down shows it.
    function writeMonitorStatus() {
        if (modeCombox.displayText === "手动监控")
            freqScanSetModel.monitorStatus = "manual"
        else if (modeCombox.displayText === "一键扫描")
            freqScanSetModel.monitorStatus = "auto"
    }

    function twoDigits(value) {
        return value < 10 ? "0" + value : String(value)
    }

    function countdownText(seconds) {
        var left = Math.max(seconds, 0)
        return twoDigits(Math.floor(left / 60)) + ":" + twoDigits(left % 60)
    }

    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    Image {
        anchors.fill: parent
        source: "qrc:/res/panel_bg.png"
        smooth: true
    }

    readonly property real rowHeight: Math.min(root.height * 0.28, 30)
    readonly property real comboWidth: root.width * 0.45

    // ---- peak curve ----------------------------------------------------------

    Item {
        id: peakRow
        x: root.width * 0.05
        y: root.height * 0.25 - root.rowHeight / 2
        width: root.width * 0.9
        height: root.rowHeight

        GeneralCombox {
            objectName: "peakCurveCombox"
            width: root.comboWidth
            height: parent.height
            model: ["峰值曲线"]
        }

        PicButton {
            objectName: "peakToggleButton"
            x: root.width * 0.5
            width: root.width * 0.18
            height: parent.height
            iconSource: freqScanSetModel.peakSwitch ? "qrc:/res/track_peak_icon_on.png" : "qrc:/res/track_peak_icon_off.png"
            down: freqScanSetModel.peakSwitch
            onClicked: freqScanSetModel.peakSwitch = !freqScanSetModel.peakSwitch
        }

        PicButton {
            objectName: "peakClearButton"
            x: root.width * 0.72
            width: root.width * 0.18
            height: parent.height
            iconSource: "qrc:/res/clear_icon.png"
            onClicked: freqScanSetModel.clearPeakPoints()
        }
    }

    // ---- monitoring mode -----------------------------------------------------

    Item {
        id: modeRow
        x: root.width * 0.05
        y: root.height * 0.7 - root.rowHeight / 2
        width: root.width * 0.9
        height: root.rowHeight

        GeneralCombox {
            id: modeCombox
            objectName: "monitorModeCombox"
            width: root.comboWidth
            height: parent.height
            model: ["手动监控", "一键扫描"]
            Component.onCompleted: {
                if (freqScanSetModel.monitorStatus === "manual")
                    currentIndex = 0
                else if (freqScanSetModel.monitorStatus === "auto")
                    currentIndex = 1
            }
            onPressedChanged: root.writeMonitorStatus()
            // A choice from the list does not press the box itself, so it is
            // written here as well; otherwise the mode would lag behind.
            onActivated: root.writeMonitorStatus()
        }

        GeneralLabel {
            objectName: "countdownLabel"
            x: root.width * 0.48
            width: root.width * 0.22
            height: parent.height
            horizontalAlignment: Text.AlignHCenter
            visible: freqScanSetModel.autoMonitor
            color: "#46fa32"
            ttfUrl: "qrc:/font/DS-DIGII.TTF"
            pixelSize: winManager.fontSize
            text: root.countdownText(root.totalTime)
        }

        PicButton {
            objectName: "oneClickStartButton"
            x: root.width * 0.72
            width: root.width * 0.18
            height: parent.height
            visible: !freqScanSetModel.autoMonitor && root.oneClickShown
            iconSource: "qrc:/res/one_click_start_icon.png"
            onClicked: {
                if (!serialPortModel.connected)
                    return
                tipsDialog.open()
            }
        }

        PicButton {
            objectName: "oneClickStopButton"
            x: root.width * 0.72
            width: root.width * 0.18
            height: parent.height
            visible: freqScanSetModel.autoMonitor && root.oneClickShown
            iconSource: "qrc:/res/one_click_stop_icon.png"
            onClicked: {
                freqScanSetModel.autoMonitor = false
                freqScanSetModel.stopScan()
                freqScanSetModel.markPriorityFreq = true
            }
        }
    }

    Timer {
        id: countdownTimer
        objectName: "countdownTimer"
        interval: 1000
        repeat: true
        running: freqScanSetModel.autoMonitor
        onTriggered: {
            root.totalTime -= 1
            if (root.totalTime <= 0) {
                freqScanSetModel.autoMonitor = !freqScanSetModel.autoMonitor
                freqScanSetModel.markPriorityFreq = true
                freqScanSetModel.stopScan()
            }
        }
        // However the scan ended, the next one starts from the full time.
        onRunningChanged: {
            if (!running)
                root.totalTime = root.scanDurationS
        }
    }

    TipsDialog {
        id: tipsDialog
        objectName: "tipsDialog"
        onConfirmed: setDialog.open()
    }

    SetDialog {
        id: setDialog
        objectName: "setDialog"
    }
}
