import QtQuick 2.15
import QtQuick.Controls 2.15

// The drop-down of the interface: a black box with its text centred and a
// white list below it that marks the item under the pointer and the current one.
ComboBox {
    id: control

    property int hoveredIndex: -1
    property int pixelSize: 12
    property bool hoveredEnable: true
    property int controlBorderRadius: 0
    property int borderWidth: 1
    property int scrollBarSize: 10
    property color textColor: "#ffffff"
    property color boxColor: "black"
    property color boxBorderColor: "gray"
    property color boxActiveBorderColor: "white"
    property color popupColor: "white"
    property color itemColor: "white"
    property color itemHoveredColor: "#eff8fd"
    property color itemCurrentColor: "#dddddd"
    property color itemBorderColor: "white"
    property color itemHoveredBorderColor: "#00BFFF"
    property color itemCurrentBorderColor: "#c5c5c5"

    signal close()

    function itemText(modelData, model) {
        if (!control.textRole)
            return modelData
        return Array.isArray(control.model) ? modelData[control.textRole] : model[control.textRole]
    }

    leftPadding: 4
    rightPadding: 4
    hoverEnabled: true
    focusPolicy: Qt.NoFocus
    indicator: Item {
    }

    // Focus belongs to the box exactly while its list is open.
    onActiveFocusChanged: {
        if (!activeFocus && popup.visible)
            popup.close()
    }

    contentItem: GeneralLabel {
        text: control.displayText
        pixelSize: control.pixelSize
        color: control.textColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        implicitWidth: 120
        implicitHeight: 30
        radius: control.controlBorderRadius
        color: control.enabled ? control.boxColor : Qt.darker(control.boxColor, 2)
        border.width: control.borderWidth
        border.color: (control.popup.visible || (control.hoveredEnable && control.hovered))
                      ? control.boxActiveBorderColor : control.boxBorderColor
    }

    delegate: ItemDelegate {
        id: itemDelegate
        width: control.width
        height: control.height
        padding: 0
        hoverEnabled: false

        readonly property bool underPointer: control.hoveredIndex === index
        readonly property bool current: control.currentIndex === index

        contentItem: GeneralLabel {
            text: control.itemText(modelData, model)
            pixelSize: control.pixelSize
            color: "black"
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }

        background: Rectangle {
            color: itemDelegate.underPointer ? control.itemHoveredColor
                                             : (itemDelegate.current ? control.itemCurrentColor : control.itemColor)
            border.color: itemDelegate.underPointer ? control.itemHoveredBorderColor
                                                    : (itemDelegate.current ? control.itemCurrentBorderColor : control.itemBorderColor)
        }

        // Only tracks the pointer: no button is accepted, so every press and
        // click reaches the delegate.
        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.NoButton
            hoverEnabled: true
            onEntered: control.hoveredIndex = index
            onExited: {
                if (control.hoveredIndex === index)
                    control.hoveredIndex = -1
            }
        }
    }

    popup: Popup {
        y: control.height
        width: control.width
        implicitHeight: contentItem.implicitHeight
        padding: 0

        onOpened: control.forceActiveFocus()
        onClosed: {
            control.hoveredIndex = -1
            control.focus = false
            control.close()
        }

        contentItem: ListView {
            clip: true
            implicitHeight: contentHeight
            model: control.popup.visible ? control.delegateModel : null
            currentIndex: control.highlightedIndex
            boundsBehavior: Flickable.StopAtBounds

            ScrollBar.vertical: ScrollBar {
                width: control.scrollBarSize
                policy: ScrollBar.AsNeeded
            }
        }

        background: Rectangle {
            color: control.popupColor
        }
    }
}
