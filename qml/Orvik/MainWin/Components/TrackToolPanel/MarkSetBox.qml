import QtQuick 2.15
import Orvik.MainWin.Common 1.0
import Orvik.MainWin.Common.TextInput 1.0

// One mark slot on its colour: peak and valley switches, the frequency and
// the level. Every change is a request to markModel, which recomputes the
// slot and sends the new values back through the bindings.
Rectangle {
    id: root

    property int markId: 0
    property string fre: ""
    property string dbm: ""
    property string type: ""
    property color slotColor: "#818181"

    readonly property bool peakOn: root.type === "peak" || root.type === "both"
    readonly property bool valleyOn: root.type === "valley" || root.type === "both"

    color: root.slotColor
    radius: 4

    // Placed by bindings rather than a positioner, so their places hold from
    // the moment the panel shows.
    Item {
        id: icons
        anchors.top: parent.top
        anchors.topMargin: 2
        anchors.left: parent.left
        anchors.right: parent.right
        height: root.height * 0.3

        readonly property real gap: root.width * 0.12

        Image {
            objectName: "peakIcon"
            x: icons.width / 2 - icons.gap / 2 - width
            height: parent.height
            width: height
            source: root.peakOn ? "qrc:/res/track_peak_icon_on.png" : "qrc:/res/track_peak_icon_off.png"
            sourceSize.width: width * 2
            sourceSize.height: height * 2
            smooth: true

            MouseArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: markModel.markUpdated(root.markId, root.fre, root.dbm, root.type === "peak" ? "" : "peak")
            }
        }

        Image {
            objectName: "valleyIcon"
            x: icons.width / 2 + icons.gap / 2
            height: parent.height
            width: height
            source: root.valleyOn ? "qrc:/res/track_valley_icon_on.png" : "qrc:/res/track_valley_icon_off.png"
            sourceSize.width: width * 2
            sourceSize.height: height * 2
            smooth: true

            MouseArea {
                anchors.fill: parent
                cursorShape: Qt.PointingHandCursor
                onClicked: markModel.markUpdated(root.markId, root.fre, root.dbm, root.type === "valley" ? "" : "valley")
            }
        }
    }

    NumInput {
        id: freInput
        objectName: "markFreInput"
        anchors.top: icons.bottom
        anchors.topMargin: 2
        anchors.horizontalCenter: parent.horizontalCenter
        width: root.width * 0.9
        height: root.height * 0.34
        defaultText: root.fre
        pressedColor: root.slotColor
        releasedColor: root.slotColor
        inputItem.color: "black"
        onEditingFinished: {
            markModel.markUpdated(root.markId, currentValue, root.dbm, "both")
            // Back to the slot's own text, also when the model keeps the
            // value it had and so sends no new one.
            inputItem.text = Qt.binding(function() { return root.fre })
        }
    }

    GeneralLabel {
        objectName: "markDbmLabel"
        anchors.top: freInput.bottom
        anchors.bottom: parent.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        horizontalAlignment: Text.AlignHCenter
        pixelSize: winManager.fontSize - 1
        color: "black"
        text: root.dbm + " dBm"
    }
}
