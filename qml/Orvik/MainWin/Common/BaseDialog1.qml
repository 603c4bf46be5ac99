import QtQuick 2.15
import QtQuick.Controls 2.15

// A modal popup over the whole page. Escape closes it, and so does a press
// beside its content (the content itself takes its presses).
Popup {
    id: root

    parent: Overlay.overlay
    x: 0
    y: 0
    width: _window.screenWidth
    height: _window.screenHeight
    padding: 0
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside

    Overlay.modal: Item {
    }

    background: Item {
        MouseArea {
            anchors.fill: parent
            onPressed: root.close()
        }
    }
}
