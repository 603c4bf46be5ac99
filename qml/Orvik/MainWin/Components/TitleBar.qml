import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The title bar of the frameless window: window buttons at the left, the
// product name in the middle, and the rest of the bar for moving the window.
Item {
    id: root

    implicitWidth: 800
    implicitHeight: 480

    Image {
        width: parent.width
        height: parent.height + 5
        source: "qrc:/res/title_bar_bg.png"
    }

    Row {
        id: actionButtons
        objectName: "actionButtons"
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        spacing: 5
        visible: !winManager.fullWinFlag

        IconButton {
            objectName: "closeButton"
            width: 20
            height: 20
            normalSource: "qrc:/res/window_close_icon_normal.png"
            hoverSource: "qrc:/res/window_close_icon_hover.png"
            onBtnClicked: winManager.closeWin()
        }

        IconButton {
            objectName: "minimizeButton"
            width: 20
            height: 20
            normalSource: "qrc:/res/window_shrink_icon_normal.png"
            hoverSource: "qrc:/res/window_shrink_icon_hover.png"
            onBtnClicked: {
                if (!winManager.fullScreen)
                    winManager.customShowMinimized()
            }
        }

        IconButton {
            objectName: "fullScreenButton"
            width: 20
            height: 20
            normalSource: "qrc:/res/full_screen_icon_normal.png"
            hoverSource: "qrc:/res/full_screen_icon_hover.png"
            onBtnClicked: {
                if (winManager.fullScreen)
                    winManager.showNormal()
                else
                    winManager.showFullScreen()
            }
        }
    }

    Row {
        objectName: "titleTexts"
        anchors.centerIn: parent
        spacing: 10

        GeneralLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: "VELTRO"
            ttfUrl: "qrc:/font/BankGothicMediumBT.ttf"
            pixelSize: root.height * 0.45
        }

        GeneralLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: "Orvik"
            ttfUrl: "qrc:/font/BankGothicMediumBT.ttf"
            pixelSize: root.height * 0.45
        }

        GeneralLabel {
            anchors.verticalCenter: parent.verticalCenter
            text: "维澜"
            pixelSize: root.height * 0.35
        }
    }

    TitleDraggableArea {
        objectName: "titleDraggableArea"
        anchors.left: actionButtons.right
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        enabled: !winManager.fullWinFlag
    }
}
