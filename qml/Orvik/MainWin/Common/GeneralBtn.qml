import QtQuick 2.15
import QtQuick.Controls 2.15

// The push button of the interface: a picture face, white text (green while
// pressed or selected) and an optional icon in front of the text.
Button {
    id: control

    property bool selected: false
    property bool iconVisible: false
    property string imageUrl: ""
    property int pixelSize: height * 0.35

    padding: 0
    hoverEnabled: true

    contentItem: Item {
        Row {
            anchors.centerIn: parent
            spacing: 5

            Image {
                visible: control.iconVisible
                width: control.height * 0.6
                height: width
                anchors.verticalCenter: parent.verticalCenter
                source: control.iconVisible ? control.imageUrl : ""
                sourceSize.width: width * 2
                sourceSize.height: height * 2
                fillMode: Image.PreserveAspectFit
                smooth: true
            }

            GeneralLabel {
                anchors.verticalCenter: parent.verticalCenter
                text: control.text
                pixelSize: control.pixelSize
                color: !control.enabled ? "#ffffff" : ((control.pressed || control.selected) ? "#8cc0aa" : "#ffffff")
            }
        }
    }

    // The face picture carries its shadow below the button, so it is drawn a
    // little higher than the button itself.
    background: Item {
        Image {
            width: control.width
            height: control.height * 1.2
            anchors.verticalCenter: parent.verticalCenter
            source: control.pressed ? "qrc:/res/general_btn_bg_pressed.png" : "qrc:/res/general_btn_bg_normal.png"
            smooth: true
        }
    }
}
