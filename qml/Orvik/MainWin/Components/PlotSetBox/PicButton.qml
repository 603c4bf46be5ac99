import QtQuick 2.15

// A button face with a centred icon. `down` shows it pressed whatever the
// mouse does, for buttons that show a state.
Item {
    id: root

    property string iconSource: ""
    property bool down: false
    readonly property bool shownPressed: down || mouseArea.pressed

    signal clicked()

    Image {
        width: root.width
        height: root.height * 1.2
        anchors.verticalCenter: parent.verticalCenter
        source: root.shownPressed ? "qrc:/res/general_btn_bg_pressed.png" : "qrc:/res/general_btn_bg_normal.png"
        smooth: true
    }

    Image {
        anchors.centerIn: parent
        anchors.verticalCenterOffset: root.shownPressed ? 1 : -1
        height: root.height * 0.7
        width: height
        source: root.iconSource
        sourceSize.width: width * 2
        sourceSize.height: height * 2
        smooth: true
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: root.clicked()
    }
}
