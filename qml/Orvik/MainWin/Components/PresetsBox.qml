import QtQuick 2.15
import Orvik.MainWin.Common 1.0
import "PresetsBox"

// The presets panel at the left end of the menu strip: the preset library, a
// box for the name of the shown preset and the button that saves the current
// sweep. Every refusal is shown in the warning dialog; the preset store only logs.
Item {
    id: root

    readonly property real barHeight: height

    implicitWidth: barHeight * 13

    function hasSweep() {
        return monitorModel.latestPoints.length > 0
    }

    // The row chosen in the library, or -1.
    function validRow(row) {
        return row >= 0 && row < presetModel.items.count()
    }

    function saveCurrent(fromPopup) {
        if (fromPopup)
            presetPopup.close()
        if (!hasSweep())
            warningDialog.show("未检查到频谱数据，无法存入预存库 !")
        else
            saveDialog.open()
    }

    function openLibrary() {
        var place = root.mapToItem(null, 0, root.height)
        presetPopup.panelX = place.x
        presetPopup.panelY = place.y
        presetPopup.open()
    }

    Row {
        anchors.fill: parent

        GeneralBtn {
            objectName: "presetLibraryButton"
            width: root.barHeight * 4
            height: root.barHeight
            text: "预存库"
            onClicked: root.openLibrary()
        }

        Rectangle {
            objectName: "presetNameBox"
            width: root.barHeight * 5
            height: root.barHeight
            color: "black"
            border.width: 1
            border.color: "white"

            GeneralLabel {
                anchors.centerIn: parent
                text: ""
            }
        }

        GeneralBtn {
            objectName: "presetSaveCurrentButton"
            width: root.barHeight * 4
            height: root.barHeight
            text: "将当前存入库"
            onClicked: root.saveCurrent(false)
        }
    }

    PresetPopup {
        id: presetPopup
        objectName: "presetPopup"
        panelSize: root.implicitWidth
        barHeight: root.barHeight

        onAddRequested: root.saveCurrent(true)

        onDeleteRequested: {
            if (!root.validRow(row)) {
                warningDialog.show("请选择需要删除的预存 !")
                return
            }
            var name = presetModel.items.at(row).name
            confirmDialog.show("是否删除预存: %1 ? 删除预存无法恢复 !".arg(name), function () {
                // The row is forgotten with its preset, so no other preset
                // becomes selected without being clicked.
                if (presetModel.remove(row))
                    presetPopup.currentRow = -1
            })
        }

        onLoadRequested: {
            if (!root.validRow(row)) {
                warningDialog.show("请选择需要载入的预存 !")
                return
            }
            presetModel.loadData(row)
            presetPopup.close()
        }

        onExportRequested: {
            if (!root.validRow(row)) {
                warningDialog.show("请选择需要导出的预存 !")
                return
            }
            presetModel.saveFile(row)
        }

        onExportAllRequested: {
            if (presetModel.items.count() <= 0) {
                warningDialog.show("当前无预存数据，无法导出 !")
                return
            }
            presetModel.saveFiles()
        }

        onUploadRequested: warningDialog.show("该功能权限不对外开放，敬请期待")
    }

    PresetSaveDialog {
        id: saveDialog
        objectName: "presetSaveDialog"
        onFinished: warningDialog.show(message)
    }

    PresetWarningDialog {
        id: warningDialog
        objectName: "presetWarningDialog"
    }

    PresetConfirmDialog {
        id: confirmDialog
        objectName: "presetConfirmDialog"
    }
}
