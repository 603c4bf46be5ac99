import QtQuick 2.15
import MyModel 1.0
import Orvik.MainWin.Common 1.0

// The connection state as a lamp and a text. The lamp blinks while connected
// and goes dark shortly after a disconnect.
Rectangle {
    id: root

    readonly property int blinkIntervalMs: 1000
    readonly property int offDelayMs: 500
    readonly property int connectState: serialPortModel.connectState
    property bool lampOn: false

    radius: height / 2
    color: "#1a1a1a"

    onConnectStateChanged: {
        if (connectState === SerialPortModel.DISCONNECTED)
            offTimer.restart()
    }

    Image {
        objectName: "connectLamp"
        x: 8
        anchors.verticalCenter: parent.verticalCenter
        height: root.height * 0.6
        width: height
        source: root.lampOn ? "qrc:/res/connected_icon.png" : "qrc:/res/disconnect_icon.png"
        sourceSize.width: width * 2
        sourceSize.height: height * 2
        smooth: true
    }

    GeneralLabel {
        objectName: "connectStatusText"
        anchors.centerIn: parent
        pixelSize: root.height * 0.4
        text: {
            switch (root.connectState) {
            case SerialPortModel.CONNECTING:
                return "连接中..."
            case SerialPortModel.CONNECTED:
                return "已连接"
            case SerialPortModel.DISCONNECTED:
                return "未连接"
            }
            return ""
        }
    }

    Timer {
        id: blinkTimer
        interval: root.blinkIntervalMs
        repeat: true
        running: root.connectState === SerialPortModel.CONNECTED
        onTriggered: root.lampOn = !root.lampOn
    }

    Timer {
        id: offTimer
        interval: root.offDelayMs
        onTriggered: root.lampOn = false
    }
}
