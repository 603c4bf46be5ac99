import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The scan range: start and stop frequency in MHz. The fields always show the
// model's texts; a finished edit goes to the model, which snaps it to the grid
// and the band, and the field then shows the normalised text.
BaseBackground {
    id: root

    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    // Back to the model's text first, so a value the model leaves unchanged
    // still replaces what was typed.
    function applyStart(entered) {
        startInput.setText(freqScanSetModel.startFreqStr)
        startInput.setFocus(false)
        freqScanSetModel.startFreqStr = startInput.extractValue(entered)
    }

    function applyStop(entered) {
        stopInput.setText(freqScanSetModel.stopFreqStr)
        stopInput.setFocus(false)
        freqScanSetModel.stopFreqStr = stopInput.extractValue(entered)
    }

    Image {
        anchors.fill: parent
        source: "qrc:/res/panel_bg.png"
        smooth: true
    }

    readonly property real fieldY: root.height * 0.14
    readonly property real fieldHeight: root.height * 0.44

    FreInput {
        id: startInput
        objectName: "startFreInput"
        x: root.width * 0.04
        y: root.fieldY
        width: root.width * 0.3
        height: root.fieldHeight
        defaultText: freqScanSetModel.startFreqStr
        onEditingFinished: root.applyStart(currentValue)
    }

    GeneralLabel {
        x: startInput.x + startInput.width
        y: root.fieldY
        width: root.width * 0.06
        height: root.fieldHeight
        horizontalAlignment: Text.AlignHCenter
        text: "-"
    }

    FreInput {
        id: stopInput
        objectName: "stopFreInput"
        x: root.width * 0.4
        y: root.fieldY
        width: root.width * 0.3
        height: root.fieldHeight
        defaultText: freqScanSetModel.stopFreqStr
        onEditingFinished: root.applyStop(currentValue)
    }

    GeneralLabel {
        x: stopInput.x + stopInput.width
        y: root.fieldY
        width: root.width * 0.14
        height: root.fieldHeight
        horizontalAlignment: Text.AlignHCenter
        text: "MHz"
    }

    // Looks like a confirm button; the fields apply their value on their own.
    Image {
        objectName: "freConfirmButton"
        x: root.width * 0.85
        y: root.fieldY + (root.fieldHeight - height) / 2
        width: Math.min(root.width * 0.11, root.fieldHeight * 1.1)
        height: width
        source: "qrc:/res/confirm_icon.png"
        sourceSize.width: width * 2
        sourceSize.height: height * 2
        smooth: true
        opacity: confirmArea.pressed ? 0.7 : 1.0

        MouseArea {
            id: confirmArea
            anchors.fill: parent
            cursorShape: Qt.PointingHandCursor
        }
    }

    GeneralLabel {
        x: startInput.x
        y: root.height * 0.62
        width: startInput.width
        height: root.height * 0.3
        horizontalAlignment: Text.AlignHCenter
        pixelSize: winManager.fontSize - 1
        text: "开始频率"
    }

    GeneralLabel {
        x: stopInput.x
        y: root.height * 0.62
        width: stopInput.width
        height: root.height * 0.3
        horizontalAlignment: Text.AlignHCenter
        pixelSize: winManager.fontSize - 1
        text: "结束频率"
    }

    Connections {
        target: freqScanSetModel
        function onStartFreqStrChanged() {
            startInput.setText(freqScanSetModel.startFreqStr)
        }
        function onStopFreqStrChanged() {
            stopInput.setText(freqScanSetModel.stopFreqStr)
        }
    }
}
