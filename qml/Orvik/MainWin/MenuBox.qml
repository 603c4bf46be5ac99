import QtQuick 2.15
import Orvik.MainWin.Common 1.0
import Orvik.MainWin.Components 1.0

// The menu strip above the chart: presets at the left, media from fourteen
// strip heights in, system management at the right.
BaseBackground {
    id: root

    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    PresetsBox {
        objectName: "presetsBox"
        anchors.left: parent.left
        anchors.top: parent.top
        height: root.height
    }

    MediaBox {
        objectName: "mediaBox"
        x: root.height * 14
        anchors.top: parent.top
        height: root.height
    }

    SystemManagerBox {
        objectName: "systemManagerBox"
        anchors.right: parent.right
        anchors.rightMargin: 10
        anchors.top: parent.top
        height: root.height
    }
}
