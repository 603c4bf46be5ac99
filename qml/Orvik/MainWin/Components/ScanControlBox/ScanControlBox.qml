import QtQuick 2.15
import Orvik.MainWin.Common 1.0
import "Components"

// Single, stop and continuous sweeps. The buttons only ask freqScanSetModel;
// the scan engine sets the status that shows which one is pressed.
BaseBackground {
    id: root

    readonly property int flashIntervalMs: 1000
    property bool flashOn: false

    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"
    enabled: serialPortModel.connected

    Image {
        anchors.fill: parent
        source: "qrc:/res/scan_btn_bg.png"
        smooth: true
    }

    Row {
        anchors.centerIn: parent

        ScanButton {
            objectName: "singleScanButton"
            width: root.width * 0.36
            height: root.height
            text: "单次扫描"
            iconNormal: "qrc:/res/single_scan_btn_icon_normal_1.png"
            iconPressed: "qrc:/res/single_scan_btn_icon_pressed_1.png"
            pressed: freqScanSetModel.scanStatus === "single"
            onClicked: {
                // A one-click scan owns the sweeping until it ends.
                if (freqScanSetModel.autoMonitor)
                    return
                freqScanSetModel.singleScan()
            }
        }

        ScanButton {
            objectName: "stopScanButton"
            width: root.width * 0.25
            height: root.height
            text: "停止"
            iconNormal: "qrc:/res/stop_scan_btn_icon_normal_1.png"
            iconPressed: "qrc:/res/stop_scan_btn_icon_pressed_1.png"
            pressed: freqScanSetModel.scanStatus === "stop"
            onClicked: {
                if (freqScanSetModel.autoMonitor)
                    return
                freqScanSetModel.stopScan()
            }
        }

        ScanButton {
            id: continuousButton
            objectName: "continuousScanButton"
            width: root.width * 0.36
            height: root.height
            text: "连续扫描"
            iconNormal: "qrc:/res/continue_scan_btn_icon_normal_1.png"
            iconPressed: root.flashOn ? "qrc:/res/continue_scan_btn_icon_pressed_1.png"
                                      : "qrc:/res/continue_scan_btn_icon_normal_1.png"
            pressed: freqScanSetModel.scanStatus === "continuous"
            onClicked: {
                if (freqScanSetModel.autoMonitor)
                    return
                freqScanSetModel.continuousScan()
            }
        }
    }

    Timer {
        objectName: "continuousFlashTimer"
        interval: root.flashIntervalMs
        repeat: true
        running: continuousButton.pressed || freqScanSetModel.autoMonitor
        onRunningChanged: root.flashOn = false
        onTriggered: root.flashOn = !root.flashOn
    }
}
