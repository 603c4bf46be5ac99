import QtQuick 2.15
import QtQuick.Controls 2.15
import Orvik.MainWin.Common 1.0

// The host of a drop-down menu: a transparent, modal pop-up whose paddings place
// the menu content; a click anywhere beside the content closes it.
Popup {
    id: root

    width: _window.screenWidth
    height: _window.screenHeight
    padding: 0
    modal: true
    focus: true
    dim: false
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside | Popup.CloseOnPressOutsideParent
                 | Popup.CloseOnReleaseOutside

    background: BaseBackground {
        width: root.width
        height: root.height
        pressedColor: "transparent"
        releasedColor: "transparent"
        pressedBorderColor: "transparent"
        releasedBorderColor: "transparent"
        onClicked: root.close()
    }
}
