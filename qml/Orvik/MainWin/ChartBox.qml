import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The chart area: a framed background with a black plate in the middle that
// holds the mark panel and the spectrum.
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
    }
}
