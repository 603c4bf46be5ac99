import QtQuick 2.15

// A rounded panel that reacts to the mouse: the base of the dialog pieces and
// of several panels. Its colours follow pressed, hovered and released states.
Rectangle {
    id: root

    property color pressedColor: "#363636"
    property color releasedColor: "#363636"
    property color hoveredColor: pressedColor
    property color pressedBorderColor: "white"
    property color releasedBorderColor: "white"
    property color hoveredBorderColor: pressedBorderColor
    property string text: ""
    property color textReleasedColor: "black"
    property color textPressedColor: textReleasedColor
    property color textHoverColor: textPressedColor
    property int textSize: winManager.fontSize
    property int cursorShape: Qt.ArrowCursor
    property bool pressed: false
    property bool hovered: false
    property bool pressedFlag: false
    // The built-in text label, so that derived controls that show their text
    // in a control of their own can hide it.
    property alias textItem: label

    signal btnPressed(var mouse)
    signal clicked(var mouse)
    signal released()
    signal positionChanged(var mouse)
    signal closeClicked()

    function show() {
        visible = true
    }

    function open() {
        visible = true
    }

    function hide() {
        visible = false
    }

    function close() {
        visible = false
    }

    readonly property bool showsPressed: pressed || pressedFlag

    radius: 10
    color: showsPressed ? pressedColor : (hovered ? hoveredColor : releasedColor)
    border.color: showsPressed ? pressedBorderColor : (hovered ? hoveredBorderColor : releasedBorderColor)

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        cursorShape: root.cursorShape
        onPressed: {
            root.pressedFlag = true
            root.btnPressed(mouse)
        }
        onReleased: {
            root.pressedFlag = false
            root.released()
        }
        onCanceled: root.pressedFlag = false
        onClicked: root.clicked(mouse)
        onPositionChanged: root.positionChanged(mouse)
    }

    Text {
        id: label
        anchors.centerIn: parent
        visible: root.text.length > 0
        text: root.text
        font.pixelSize: root.textSize
        color: root.showsPressed ? root.textPressedColor : (root.hovered ? root.textHoverColor : root.textReleasedColor)
    }
}
