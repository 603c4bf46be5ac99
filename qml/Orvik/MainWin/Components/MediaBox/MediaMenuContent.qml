import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The content of a media drop-down: a title strip and the list of entries. It
// unfolds from nothing to its full height each time its menu opens.
BaseBackground {
    id: root

    property var entries: []
    property real fullHeight: 150
    property alias currentIndex: list.currentIndex
    property alias listView: list

    signal entryClicked(int index, string text)

    function unfold() {
        unfoldAnimation.restart()
    }

    height: 0
    radius: 0
    pressedBorderColor: "transparent"
    releasedBorderColor: "transparent"
    clip: true

    PropertyAnimation {
        id: unfoldAnimation
        target: root
        property: "height"
        from: 0
        to: root.fullHeight
        duration: 100
        easing.type: Easing.InOutCubic
    }

    Image {
        id: strip
        anchors.top: parent.top
        width: parent.width
        height: 25
        source: "qrc:/res/title_bg.png"
        fillMode: Image.PreserveAspectCrop
        clip: true
    }

    ListView {
        id: list
        anchors.top: strip.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        clip: true
        interactive: false
        currentIndex: -1
        model: root.entries

        delegate: BaseBackground {
            id: entry

            readonly property bool current: ListView.isCurrentItem
            readonly property color fill: current ? Qt.rgba(0, 1, 1, 0.1) : "transparent"
            readonly property color edge: (current || hovered) ? "deepskyblue" : "transparent"

            objectName: "mediaMenuEntry_" + modelData
            width: list.width
            height: 40
            radius: 0
            pressedColor: fill
            releasedColor: fill
            hoveredColor: fill
            pressedBorderColor: edge
            releasedBorderColor: edge
            hoveredBorderColor: edge
            cursorShape: Qt.PointingHandCursor
            onClicked: root.entryClicked(index, modelData)

            GeneralLabel {
                anchors.centerIn: parent
                text: modelData
                pixelSize: winManager.fontSize
            }

            // Tracks the pointer only; presses go to the entry.
            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.NoButton
                hoverEnabled: true
                cursorShape: Qt.PointingHandCursor
                onEntered: entry.hovered = true
                onExited: entry.hovered = false
            }
        }
    }
}
