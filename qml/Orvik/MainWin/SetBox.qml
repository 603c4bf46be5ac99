import QtQuick 2.15
import Orvik.MainWin.Common 1.0
import Orvik.MainWin.Components 1.0

// The control column: device, frequency, scan, tracking and plot panels from
// the top, the monitoring list in the rest of the height.
Item {
    id: root

    Column {
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        spacing: 5

        SerialPortBox {
            objectName: "serialPortBox"
            width: root.width
            height: root.width * 0.45
        }

        FreSetBox {
            objectName: "freSetBox"
            width: root.width
            height: root.width * 0.25
        }

        ScanControlBox {
            objectName: "scanControlBox"
            width: root.width
            height: root.width * 0.2
        }

        TrackSetBox {
            objectName: "trackSetBox"
            width: root.width
            height: root.width * 0.2
        }

        PlotSetBox {
            objectName: "plotSetBox"
            width: root.width
            height: root.width * 0.6
        }
    }

    MonitorSetBox {
        objectName: "monitorSetBox"
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        height: root.height - 1.7 * root.width - 25
    }
}
