import QtQuick 2.15

// A picture button that shows its hover picture while the pointer is over it.
Item {
    id: root

    property string normalSource: ""
    property string hoverSource: ""

    signal btnClicked()

    width: 22
    height: 22

    Image {
        anchors.fill: parent
        source: mouseArea.containsMouse && root.hoverSource !== "" ? root.hoverSource : root.normalSource
        sourceSize.width: width * 2
        sourceSize.height: height * 2
        smooth: true
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        cursorShape: Qt.PointingHandCursor
        onClicked: root.btnClicked()
    }
}
