import QtQuick 2.15
import MyModel 1.0
import Orvik.MainWin.Common 1.0

// The serial port, chosen from the ports serialPortModel lists; the model
// remembers the choice.
Item {
    id: root

    readonly property bool disconnected: serialPortModel.connectState === SerialPortModel.DISCONNECTED
    readonly property bool connected: serialPortModel.connectState === SerialPortModel.CONNECTED

    Row {
        spacing: 10

        GeneralBtn {
            objectName: "portSelectButton"
            width: root.width * 0.4
            height: root.height
            text: "端口号"
            enabled: root.disconnected
            onClicked: {
                if (serialPortModel.connected)
                    return
                portCombox.popup.open()
            }
        }

        Item {
            width: root.width * 0.6 - 10
            height: root.height

            GeneralCombox {
                id: portCombox
                objectName: "portCombox"
                anchors.fill: parent
                pixelSize: 13
                model: serialPortModel.portList
                textRole: "aliasName"
                currentIndex: serialPortModel.currentIndex
                // From the model's index, so a list that shrinks under the
                // chosen port shows nothing instead of a stale name.
                displayText: {
                    var ports = serialPortModel.portList
                    var index = serialPortModel.currentIndex
                    return (index >= 0 && index < ports.length) ? ports[index].aliasName : ""
                }
                onActivated: serialPortModel.setCurrentIndex(index)
            }

            // Keeps the list shut while the analyser is connected.
            MouseArea {
                objectName: "portComboxBlocker"
                anchors.fill: parent
                enabled: root.connected
            }
        }
    }
}
