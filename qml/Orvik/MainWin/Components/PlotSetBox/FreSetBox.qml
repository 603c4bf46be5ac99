import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The band row of the one-click scan dialog. It holds the typed range until
// the dialog is confirmed; `reload` fills it from the scan settings.
Item {
    id: root

    readonly property string startText: startInput.text
    readonly property string stopText: stopInput.text

    function reload() {
        startInput.setText(freqScanSetModel.startFreqStr)
        stopInput.setText(freqScanSetModel.stopFreqStr)
    }

    // Ends a pending edit, so its text is normalised before it is read.
    function finishEditing() {
        startInput.setFocus(false)
        stopInput.setFocus(false)
    }

    GeneralLabel {
        id: caption
        x: 0
        width: root.width * 0.3
        height: root.height
        text: "输入扫描的频段"
    }

    FreInput {
        id: startInput
        objectName: "oneClickStartInput"
        x: root.width * 0.32
        width: root.width * 0.26
        height: root.height
        defaultText: freqScanSetModel.startFreqStr
        onEditingFinished: setText(extractValue(currentValue))
    }

    GeneralLabel {
        x: startInput.x + startInput.width
        width: root.width * 0.06
        height: root.height
        horizontalAlignment: Text.AlignHCenter
        text: "-"
    }

    FreInput {
        id: stopInput
        objectName: "oneClickStopInput"
        x: root.width * 0.64
        width: root.width * 0.26
        height: root.height
        defaultText: freqScanSetModel.stopFreqStr
        onEditingFinished: setText(extractValue(currentValue))
    }

    GeneralLabel {
        x: stopInput.x + stopInput.width
        width: root.width * 0.1
        height: root.height
        horizontalAlignment: Text.AlignHCenter
        text: "MHz"
    }
}
