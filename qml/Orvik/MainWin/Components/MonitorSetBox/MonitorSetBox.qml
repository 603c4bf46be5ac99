import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The monitoring points: the priority frequencies of the last one-click scan
// in the automatic mode, the points placed on the chart in the manual mode.
// Every change goes through monitorModel; the lists only show it.
BaseBackground {
    id: root

    readonly property bool autoMode: freqScanSetModel.monitorStatus === "auto"
    readonly property int titleHeightPx: 20
    readonly property int rowHeightPx: 40

    function anySelected() {
        var points = monitorModel.autoMonitorPoints
        for (var i = 0; i < points.count(); ++i) {
            var entry = points.at(i)
            if (entry && entry.select)
                return true
        }
        return false
    }

    pressedColor: "transparent"
    releasedColor: "transparent"
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    // ---- title bar -----------------------------------------------------------

    Item {
        id: titleBar
        objectName: "monitorTitleBar"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: root.titleHeightPx

        GeneralLabel {
            anchors.left: parent.left
            anchors.leftMargin: 6
            height: parent.height
            text: "监控列表"
        }

        Row {
            anchors.right: parent.right
            anchors.rightMargin: 6
            height: parent.height
            spacing: 6

            GeneralLabel {
                height: parent.height
                visible: root.autoMode
                text: "全选"
            }

            SelectCheck {
                objectName: "selectAllCheck"
                anchors.verticalCenter: parent.verticalCenter
                width: 16
                height: 16
                visible: root.autoMode
                checked: monitorModel.selectAll
                onClicked: monitorModel.selectAll = !monitorModel.selectAll
            }

            Image {
                objectName: "monitorClearButton"
                anchors.verticalCenter: parent.verticalCenter
                width: 18
                height: 18
                source: "qrc:/res/clear_icon.png"
                sourceSize.width: width * 2
                sourceSize.height: height * 2
                smooth: true
                opacity: clearArea.pressed ? 0.6 : 1.0

                MouseArea {
                    id: clearArea
                    anchors.fill: parent
                    cursorShape: Qt.PointingHandCursor
                    onClicked: {
                        if (root.autoMode)
                            monitorModel.clearAutoMonitorPoints()
                        else
                            monitorModel.clearManualMonitorPoints()
                    }
                }
            }
        }
    }

    // ---- lists ---------------------------------------------------------------

    Item {
        id: body
        anchors.top: titleBar.bottom
        anchors.topMargin: 2
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom

        Image {
            anchors.fill: parent
            source: "qrc:/res/list_bg.png"
            smooth: true
        }

        Item {
            id: autoArea
            objectName: "autoMonitorArea"
            anchors.fill: parent
            visible: root.autoMode

            ListView {
                id: autoList
                objectName: "autoMonitorList"
                anchors.top: parent.top
                anchors.topMargin: 4
                anchors.left: parent.left
                anchors.leftMargin: 4
                anchors.right: parent.right
                anchors.rightMargin: 4
                anchors.bottom: assignButton.top
                anchors.bottomMargin: 6
                clip: true
                boundsBehavior: Flickable.StopAtBounds

                property int currentRow: -1

                // Rows by number, read through at(): every change of the
                // list comes with pointsChanged, which re-reads them.
                model: monitorModel.autoMonitorPoints.count()
                onCountChanged: {
                    if (currentRow >= count)
                        currentRow = -1
                }

                delegate: MonitorRow {
                    readonly property var entry: monitorModel.autoMonitorPoints.at(index)
                    width: autoList.width
                    height: root.rowHeightPx
                    freText: entry ? entry.fre : ""
                    strengthText: entry ? String(entry.strength) : ""
                    checked: entry ? entry.select === true : false
                    current: autoList.currentRow === index
                    onRowPressed: autoList.currentRow = index
                    onSelectClicked: monitorModel.updateAutoMonitorPointSelect(index, checked)
                    onMenuRequested: {
                        var at = mapToItem(root, px, py)
                        autoMenu.rowIndex = index
                        autoMenu.popup(at.x, at.y)
                    }
                }
            }

            GeneralBtn {
                id: assignButton
                objectName: "assignButton"
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 8
                anchors.horizontalCenter: parent.horizontalCenter
                width: parent.width * 0.9
                height: 28
                pixelSize: winManager.fontSize
                text: "将优先频率分配到接收机"
                onClicked: {
                    assignDialog.message = root.anySelected() ? "请连接你的无线话筒接收机 !" : "未选择任何频点 !"
                    assignDialog.open()
                }
            }
        }

        ListView {
            id: manualList
            objectName: "manualMonitorList"
            anchors.fill: parent
            anchors.margins: 4
            visible: !root.autoMode
            clip: true
            boundsBehavior: Flickable.StopAtBounds

            // Kept apart from the delegates: every sweep rewrites the entries,
            // which recreates the rows.
            property int currentRow: -1

            model: monitorModel.manualMonitorPoints
            onCountChanged: {
                if (currentRow >= count)
                    currentRow = -1
            }

            delegate: MonitorRow {
                width: manualList.width
                height: root.rowHeightPx
                freText: modelData.fre
                strengthText: String(modelData.strength)
                checked: true
                current: manualList.currentRow === index
                onRowPressed: manualList.currentRow = index
                onMenuRequested: {
                    var at = mapToItem(root, px, py)
                    manualMenu.rowIndex = index
                    manualMenu.popup(at.x, at.y)
                }
            }
        }
    }

    RowMenu {
        id: autoMenu
        objectName: "autoMonitorMenu"
        onDeleteClicked: {
            autoList.currentRow = -1
            monitorModel.removeAutoListAtIndex(index)
        }
    }

    RowMenu {
        id: manualMenu
        objectName: "manualMonitorMenu"
        onDeleteClicked: {
            manualList.currentRow = -1
            monitorModel.removeManualListAtIndex(index)
        }
    }

    // ---- assignment notice ---------------------------------------------------

    BaseDialog1 {
        id: assignDialog
        objectName: "assignDialog"

        property string message: ""

        BaseBackground {
            id: assignPanel
            anchors.centerIn: parent
            width: assignDialog.width * 0.32
            height: assignDialog.height * 0.3
            radius: 0

            DialogTitle {
                anchors.top: parent.top
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: assignPanel.border.width
                height: 35
                radius: 0
                pressedBorderColor: "transparent"
                releasedBorderColor: "transparent"

                GeneralLabel {
                    anchors.left: parent.left
                    anchors.leftMargin: 14
                    anchors.verticalCenter: parent.verticalCenter
                    text: "注意"
                    pixelSize: winManager.fontSize + 4
                }
            }

            GeneralLabel {
                objectName: "assignNoticeText"
                anchors.centerIn: parent
                text: assignDialog.message
                pixelSize: winManager.fontSize + 4
                horizontalAlignment: Text.AlignHCenter
            }

            DialogOkButtonArea {
                objectName: "assignOkArea"
                anchors.bottom: parent.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.margins: assignPanel.border.width
                height: 50
                radius: 0
                onCloseClicked: assignDialog.close()
            }
        }
    }
}
