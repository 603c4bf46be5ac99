import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// The preset library: the saved presets as a list, and the buttons that add,
// delete, load, import and export them. It covers the whole window, so a click
// anywhere beside its panel closes it.
Popup {
    id: popup

    // The panel's place and side length in window coordinates.
    property real panelX: 0
    property real panelY: 0
    property real panelSize: 390
    property real barHeight: 30
    property int currentRow: -1

    signal addRequested()
    signal deleteRequested(int row)
    signal loadRequested(int row)
    signal exportRequested(int row)
    signal exportAllRequested()
    signal uploadRequested()

    parent: Overlay.overlay
    x: 0
    y: 0
    width: _window.screenWidth
    height: _window.screenHeight
    padding: 0
    modal: true
    dim: false
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside | Popup.CloseOnReleaseOutside

    background: Item {
        MouseArea {
            anchors.fill: parent
            onClicked: popup.close()
        }
    }

    BaseBackground {
        id: panel
        objectName: "presetPanel"
        x: popup.panelX
        y: popup.panelY
        width: popup.panelSize
        height: popup.panelSize
        radius: 0

        Column {
            anchors.fill: parent
            anchors.margins: 1

            Item {
                width: parent.width
                height: 25
                clip: true

                Image {
                    anchors.fill: parent
                    source: "qrc:/res/title_bg.png"
                    fillMode: Image.PreserveAspectCrop
                }

                GeneralLabel {
                    anchors.left: parent.left
                    anchors.leftMargin: 5
                    anchors.verticalCenter: parent.verticalCenter
                    text: "预存库"
                    pixelSize: winManager.fontSize + 2
                }
            }

            Row {
                id: header
                width: parent.width
                height: 40

                Repeater {
                    model: [
                        { title: "预存名称", share: 0.18 },
                        { title: "预存标注", share: 0.18 },
                        { title: "地点", share: 0.33 },
                        { title: "操作范围(Hz)", share: 0.31 }
                    ]

                    GeneralLabel {
                        width: header.width * modelData.share
                        height: header.height
                        horizontalAlignment: Text.AlignHCenter
                        text: modelData.title
                    }
                }
            }

            Rectangle {
                width: parent.width
                height: popup.barHeight * 8
                color: "white"
                clip: true

                ListView {
                    id: list
                    objectName: "presetList"
                    anchors.fill: parent
                    model: presetModel.items
                    boundsBehavior: Flickable.StopAtBounds

                    delegate: Rectangle {
                        id: row
                        readonly property bool current: popup.currentRow === index

                        width: list.width
                        height: 40
                        color: current ? Qt.rgba(0, 1, 1, 0.1) : "transparent"
                        border.width: current ? 1 : 0
                        border.color: current ? "deepskyblue" : "transparent"

                        Row {
                            anchors.fill: parent

                            Repeater {
                                model: [
                                    { key: "name", share: 0.18 },
                                    { key: "remark", share: 0.18 },
                                    { key: "location", share: 0.33 },
                                    { key: "freqRange", share: 0.31 }
                                ]

                                GeneralLabel {
                                    width: row.width * modelData.share
                                    height: row.height
                                    horizontalAlignment: Text.AlignHCenter
                                    color: "black"
                                    text: {
                                        var value = row.entry[modelData.key]
                                        return value === undefined ? "" : value
                                    }
                                }
                            }
                        }

                        readonly property var entry: modelData

                        MouseArea {
                            anchors.fill: parent
                            onClicked: popup.currentRow = index
                        }
                    }
                }
            }

            Item {
                width: parent.width
                height: 5
            }

            Column {
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 5

                Row {
                    anchors.horizontalCenter: parent.horizontalCenter

                    GeneralBtn {
                        objectName: "presetAddButton"
                        width: popup.panelSize / 4
                        height: 35
                        text: "添加预存"
                        onClicked: popup.addRequested()
                    }

                    GeneralBtn {
                        objectName: "presetDeleteButton"
                        width: popup.panelSize / 4
                        height: 35
                        text: "删除预存"
                        onClicked: popup.deleteRequested(popup.currentRow)
                    }

                    GeneralBtn {
                        objectName: "presetLoadButton"
                        width: popup.panelSize / 4
                        height: 35
                        text: "载入预存"
                        onClicked: popup.loadRequested(popup.currentRow)
                    }
                }

                Row {
                    anchors.horizontalCenter: parent.horizontalCenter

                    GeneralBtn {
                        objectName: "presetOpenFileButton"
                        width: popup.panelSize / 4
                        height: 35
                        text: "打开文件"
                        onClicked: presetModel.openFile()
                    }

                    GeneralBtn {
                        objectName: "presetSaveFileButton"
                        width: popup.panelSize / 4
                        height: 35
                        text: "保存文件"
                        onClicked: popup.exportRequested(popup.currentRow)
                    }

                    GeneralBtn {
                        objectName: "presetSaveAllButton"
                        width: popup.panelSize / 4
                        height: 35
                        text: "保存库"
                        onClicked: popup.exportAllRequested()
                    }

                    GeneralBtn {
                        objectName: "presetUploadButton"
                        width: popup.panelSize / 4
                        height: 35
                        text: "在线上传"
                        onClicked: popup.uploadRequested()
                    }
                }
            }
        }
    }
}
