import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// Shows or hides the mark panel above the chart.
BaseBackground {
    id: root

    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    Image {
        anchors.fill: parent
        source: "qrc:/res/panel_bg.png"
        smooth: true
    }

    Row {
        anchors.centerIn: parent
        spacing: root.width * 0.06

        GeneralLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: "关闭跟踪"
            color: freqScanSetModel.markSwitch ? "#999999" : "white"
        }

        ToggleSwitch {
            objectName: "markToggleSwitch"
            anchors.verticalCenter: parent.verticalCenter
            height: Math.round(root.height * 0.46)
            width: height * 2
            checked: freqScanSetModel.markSwitch
            onToggled: freqScanSetModel.markSwitch = on
        }

        GeneralLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: "开启跟踪"
            color: freqScanSetModel.markSwitch ? "white" : "#999999"
        }
    }
}
