import QtQuick 2.15

// An on/off switch drawn from pictures: the track and a round thumb that
// slides to the right end when on. A click only asks for the other state;
// the owner's binding of `checked` decides what is shown.
Item {
    id: root

    property bool checked: false

    signal toggled(bool on)

    implicitWidth: 48
    implicitHeight: 24

    Image {
        anchors.fill: parent
        source: root.checked ? "qrc:/res/toggle_switch_on.png" : "qrc:/res/toggle_switch_off.png"
        sourceSize.width: width * 2
        sourceSize.height: height * 2
        smooth: true
    }

    Image {
        objectName: "thumb"
        width: root.height
        height: root.height
        x: root.checked ? root.width - width : 0
        source: "qrc:/res/toggle_switch_thumb.png"
        sourceSize.width: width * 2
        sourceSize.height: height * 2
        smooth: true

        Behavior on x {
            NumberAnimation {
                duration: 200
                easing.type: Easing.OutQuart
            }
        }
    }

    MouseArea {
        anchors.fill: parent
        cursorShape: Qt.PointingHandCursor
        onClicked: root.toggled(!root.checked)
    }
}
