import QtQuick 2.15
import MyModel 1.0
import Orvik.MainWin.Common 1.0

// Connects to or disconnects from the chosen port, beside the status display.
Item {
    id: root

    Row {
        spacing: 10

        GeneralBtn {
            objectName: "connectButton"
            width: root.width * 0.4
            height: root.height
            text: "连接设备"
            onClicked: {
                if (serialPortModel.currentPortName === "")
                    return
                // The handshake is under way and decides on its own.
                if (serialPortModel.connectState === SerialPortModel.CONNECTING)
                    return
                if (serialPortModel.connectState === SerialPortModel.CONNECTED)
                    serialPortModel.closeSerialPort()
                else
                    serialPortModel.openSerialPort()
            }
        }

        ConnectStatus {
            objectName: "connectStatus"
            width: root.width * 0.6 - 10
            height: root.height
        }
    }
}
