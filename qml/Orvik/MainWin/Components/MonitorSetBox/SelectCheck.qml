import QtQuick 2.15

// A check box picture. It shows `checked` and reports clicks; the owner
// decides what the click changes.
Item {
    id: root

    property bool checked: false

    signal clicked()

    implicitWidth: 18
    implicitHeight: 18

    Image {
        anchors.fill: parent
        source: root.checked ? "qrc:/res/select_check_pressed.png" : "qrc:/res/select_check_released.png"
        sourceSize.width: width * 2
        sourceSize.height: height * 2
        smooth: true
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: root.clicked()
    }
}
