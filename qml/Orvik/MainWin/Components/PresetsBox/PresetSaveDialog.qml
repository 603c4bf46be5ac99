import QtQuick 2.15
import MyModel 1.0
import Orvik.MainWin.Common 1.0

// Saves the current sweep as a new preset with a name, a remark and the
// location of this place; the ranges come from the scan settings.
BaseDialog1 {
    id: dialog

    // Receives the text of the outcome to show.
    signal finished(string message)

    function clearInput() {
        nameField.text = ""
        remarkField.text = ""
    }

    function confirm() {
        if (nameField.text.length === 0 || remarkField.text.length === 0)
            return
        dialog.close()
        var result = presetModel.save(nameField.text, remarkField.text, locationField.text,
                                      freqScanSetModel.startFreqStr, freqScanSetModel.stopFreqStr,
                                      freqScanSetModel.lowerDbmStr, freqScanSetModel.upperDbmStr,
                                      monitorModel.latestPoints)
        if (result === PresetModel.SAVE_FAILED)
            dialog.finished("预存保存失败 !")
        else if (result === PresetModel.NO_ERROR)
            dialog.finished("预存保存成功 !")
        else if (result === PresetModel.NAME_IS_USED)
            dialog.finished("预存保存失败, 名称已被使用 !")
        clearInput()
    }

    BaseBackground {
        objectName: "presetSaveBox"
        anchors.centerIn: parent
        width: _window.screenWidth * 0.35
        height: _window.screenHeight * 0.37
        radius: 0
        releasedBorderColor: "transparent"
        pressedBorderColor: "transparent"

        DialogTitle {
            id: title
            anchors.top: parent.top
            anchors.left: parent.left
            anchors.right: parent.right
            height: 35
            radius: 0
            closeIconVisible: true
            onCloseClicked: dialog.close()

            GeneralLabel {
                anchors.left: parent.left
                anchors.leftMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                text: "将当前存入库"
                pixelSize: winManager.fontSize + 4
            }
        }

        Column {
            anchors.top: title.bottom
            anchors.bottom: buttons.top
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.leftMargin: 10
            anchors.rightMargin: 10
            topPadding: Math.max(0, (height - 5 * 30 - 4 * spacing) / 2)
            spacing: 7

            PresetField {
                id: nameField
                objectName: "presetNameField"
                width: parent.width
                label: "预存名称"
            }

            PresetField {
                id: remarkField
                objectName: "presetRemarkField"
                width: parent.width
                label: "预存标注"
            }

            PresetField {
                id: locationField
                objectName: "presetLocationField"
                width: parent.width
                label: "当前地点"
                readOnly: true
                // Asked when the dialog is built and again at every opening.
                text: presetModel.queryLocation()
                onVisibleChanged: {
                    if (visible)
                        text = presetModel.queryLocation()
                }
            }

            PresetField {
                objectName: "presetFreqRangeField"
                width: parent.width
                label: "频率范围"
                readOnly: true
                text: "%1 ~ %2".arg(freqScanSetModel.startFreqStr).arg(freqScanSetModel.stopFreqStr)
            }

            PresetField {
                objectName: "presetLevelRangeField"
                width: parent.width
                label: "强度范围"
                readOnly: true
                text: "%1 ~ %2".arg(freqScanSetModel.lowerDbmStr).arg(freqScanSetModel.upperDbmStr)
            }
        }

        DialogYesOrNoButtonArea {
            id: buttons
            objectName: "presetSaveButtons"
            anchors.bottom: parent.bottom
            anchors.left: parent.left
            anchors.right: parent.right
            height: 50
            radius: 0
            pressedColor: "transparent"
            releasedColor: "transparent"
            pressedBorderColor: "transparent"
            releasedBorderColor: "transparent"
            yesButtonName: "确认"
            onYesClicked: dialog.confirm()
            onNoClicked: {
                dialog.close()
                dialog.clearInput()
            }
        }
    }
}
