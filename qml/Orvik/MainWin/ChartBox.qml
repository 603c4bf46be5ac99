import QtQuick 2.15
import MyModel 1.0
import Orvik.MainWin.Common 1.0
import Orvik.MainWin.Components 1.0

// The chart area: a framed background with a black plate in the middle that
// holds the mark panel and the spectrum. The mark panel shows while the mark
// switch is on, and the spectrum gives up height for it.
BaseBackground {
    id: root

    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    Image {
        anchors.fill: parent
        source: "qrc:/res/line_chart_bg.png"
    }

    BaseBackground {
        objectName: "chartPlate"
        anchors.centerIn: parent
        width: Math.round(root.width * 0.98)
        height: Math.round(root.height * 0.96)
        pressedColor: "black"
        releasedColor: "black"
        pressedBorderColor: "black"
        releasedBorderColor: "black"
    }

    Column {
        objectName: "chartColumn"
        anchors.centerIn: parent

        // The mark panel, shown while the mark switch is on.
        TrackToolPanel {
            id: markPanel
            objectName: "markPanel"
            width: Math.round(root.width * 0.95)
            height: visible ? 70 : 0
            visible: freqScanSetModel.markSwitch
            z: 1
        }

        FreqSpectrumView {
            id: spectrumView
            objectName: "spectrumView"
            width: Math.round(root.width * 0.95)
            height: markPanel.visible ? Math.round(root.height * 0.83) : Math.round(root.height * 0.95)
            autoScanLabelVisible: freqScanSetModel.autoMonitor
            markPriorityFrequencyVisible: freqScanSetModel.markPriorityFreq
            Component.onCompleted: initCustomPlot()
        }
    }
}
