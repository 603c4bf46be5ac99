import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The count row of the one-click scan dialog: how many priority frequencies
// the search proposes. It keeps what was typed last.
Item {
    id: root

    readonly property string countText: countInput.text

    function finishEditing() {
        countInput.setFocus(false)
    }

    GeneralLabel {
        x: 0
        width: root.width * 0.3
        height: root.height
        text: "输入信号的数量"
    }

    NumInput {
        id: countInput
        objectName: "oneClickCountInput"
        x: root.width * 0.32
        width: root.width * 0.26
        height: root.height
        defaultText: ""
        onEditingFinished: setText(formatNumber(currentValue))
        Component.onCompleted: setText(String(freqScanSetModel.priorityFreqNum))
    }

    GeneralLabel {
        x: countInput.x + countInput.width + root.width * 0.02
        width: root.width * 0.1
        height: root.height
        text: "个"
    }
}
