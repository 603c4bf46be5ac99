import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// The right-click menu of a monitoring list row.
Menu {
    id: root

    property int rowIndex: -1

    signal deleteClicked(int index)

    implicitWidth: 150
    padding: 1

    background: Rectangle {
        implicitWidth: 150
        color: "#2b2b2b"
        border.color: "#828282"
    }

    delegate: MenuItem {
        id: menuItem
        implicitHeight: 28
        contentItem: GeneralLabel {
            leftPadding: 10
            text: menuItem.text
            color: "white"
        }
        background: Rectangle {
            color: menuItem.highlighted ? Qt.rgba(0, 0.75, 1, 0.35) : "transparent"
        }
    }

    Action {
        objectName: "deleteMonitorPointAction"
        text: "删除当前监测点"
        onTriggered: root.deleteClicked(root.rowIndex)
    }

    Action {
        objectName: "blankMonitorMenuAction"
        text: ""
    }
}
