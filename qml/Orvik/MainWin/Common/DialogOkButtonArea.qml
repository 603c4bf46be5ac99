import QtQuick 2.15

// The button area of a dialog with a single button.
BaseBackground {
    id: root

    signal okClicked()

    text: "关闭"
    textItem.visible: false
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"

    GeneralBtn {
        anchors.centerIn: parent
        width: parent.width * 0.28
        height: parent.height * 0.75
        text: root.text
        onClicked: {
            root.closeClicked()
            root.okClicked()
        }
    }
}
