import QtQuick 2.15

// The title strip of a dialog, with an optional close icon at the right.
BaseBackground {
    id: root

    property bool closeIconVisible: false

    Image {
        anchors.fill: parent
        source: "qrc:/res/title_bg.png"
        fillMode: Image.PreserveAspectCrop
        clip: true
    }

    Image {
        visible: root.closeIconVisible
        width: 26
        height: 26
        anchors.right: parent.right
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        source: "qrc:/res/close.png"
        smooth: true

        MouseArea {
            anchors.fill: parent
            enabled: root.closeIconVisible
            cursorShape: Qt.PointingHandCursor
            onClicked: root.closeClicked()
        }
    }
}
