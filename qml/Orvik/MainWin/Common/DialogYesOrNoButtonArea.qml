import QtQuick 2.15

// The button area of a dialog that asks yes or no.
BaseBackground {
    id: root

    property string yesButtonName: "确定"
    property string noButtonName: "关闭"

    signal yesClicked()
    signal noClicked()

    Row {
        anchors.centerIn: parent
        spacing: root.width * 0.1

        GeneralBtn {
            width: root.width * 0.28
            height: root.height * 0.75
            text: root.yesButtonName
            onClicked: root.yesClicked()
        }

        GeneralBtn {
            width: root.width * 0.28
            height: root.height * 0.75
            text: root.noButtonName
            onClicked: root.noClicked()
        }
    }
}
