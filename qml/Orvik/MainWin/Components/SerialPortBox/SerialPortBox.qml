import QtQuick 2.15

// The device panel: device type, serial port, and connecting with the status
// lamp, one row each. Every decision is taken by serialPortModel.
FocusScope {
    id: root

    readonly property int rowHeightPx: 30

    Column {
        anchors.top: parent.top
        anchors.left: parent.left
        spacing: 5

        DeviceSelection {
            objectName: "deviceSelection"
            width: root.width
            height: root.rowHeightPx
        }

        PortSelection {
            objectName: "portSelection"
            width: root.width
            height: root.rowHeightPx
        }

        ConnectionControl {
            objectName: "connectionControl"
            width: root.width
            height: root.rowHeightPx
        }
    }
}
