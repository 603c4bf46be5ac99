import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0
import Orvik.MainWin.Common.Progressbar 1.0

// The progress of a running update. It has no close icon and ignores Escape:
// the update flow closes it when it has succeeded or failed.
BaseDialog1 {
    id: dialog

    property string title: ""
    property real progress: 0
    property bool successFlag: true
    property color progressColor: "#46fa32"

    // The circular control is drawn at this radius (its own default is larger).
    readonly property real progressRadius: 95
    readonly property real spinnerDefaultRadius: 150

    closePolicy: Popup.NoAutoClose

    Column {
        anchors.centerIn: parent
        width: _window.screenWidth * 0.32

        DialogTitle {
            width: parent.width
            height: _window.screenHeight * 0.05

            GeneralLabel {
                objectName: "upgradeProgressTitle"
                anchors.centerIn: parent
                text: dialog.title
                pixelSize: winManager.fontSize + 2
            }
        }

        BaseBackground {
            width: parent.width
            height: Math.max(_window.screenHeight * 0.3, dialog.progressRadius * 2 + 20)
            radius: 0
            pressedBorderColor: dialog.progressColor
            releasedBorderColor: dialog.progressColor

            Kessa_ProgressBar {
                objectName: "upgradeProgressBar"
                anchors.fill: parent
                progress: dialog.progress
                successFlag: dialog.successFlag
                scale: dialog.progressRadius / dialog.spinnerDefaultRadius
            }
        }
    }
}
