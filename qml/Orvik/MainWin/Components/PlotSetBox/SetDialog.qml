import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// Sets up and starts a one-click scan: the band to sweep and the number of
// priority frequencies to find. The band is read again from the scan settings
// each time the dialog shows.
BaseDialog1 {
    id: root

    closePolicy: Popup.CloseOnEscape

    background: MouseArea {
        objectName: "setBackdrop"
    }

    onAboutToShow: bandRow.reload()
    // The popup gives the focus back to the field that had it last; a fresh
    // start lets the first click select the whole text again.
    onOpened: {
        bandRow.finishEditing()
        countRow.finishEditing()
    }

    function confirm() {
        bandRow.finishEditing()
        countRow.finishEditing()
        var count = parseInt(countRow.countText, 10)
        var start = bandRow.startText
        var stop = bandRow.stopText
        root.close()
        freqScanSetModel.autoMonitor = true
        freqScanSetModel.continuousScan()
        freqScanSetModel.peakSwitch = true
        freqScanSetModel.markPriorityFreq = false
        freqScanSetModel.priorityFreqNum = isNaN(count) ? 0 : count
        freqScanSetModel.startFreqStr = start
        freqScanSetModel.stopFreqStr = stop
    }

    BaseBackground {
        id: panel
        objectName: "setPanel"
        anchors.centerIn: parent
        width: root.width * 0.36
        height: root.height * 0.34
        radius: 0

        DialogTitle {
            id: title
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

        Column {
            anchors.top: title.bottom
            anchors.bottom: okArea.top
            anchors.horizontalCenter: parent.horizontalCenter
            width: parent.width * 0.88
            topPadding: (height - 2 * 28 - spacing) / 2
            spacing: 16

            FreSetBox {
                id: bandRow
                objectName: "oneClickBandRow"
                width: parent.width
                height: 28
            }

            PointSetBox {
                id: countRow
                objectName: "oneClickCountRow"
                width: parent.width
                height: 28
            }
        }

        DialogOkButtonArea {
            id: okArea
            objectName: "setOkArea"
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.margins: panel.border.width
            height: 50
            radius: 0
            text: "确认"
            onOkClicked: root.confirm()
        }
    }
}
