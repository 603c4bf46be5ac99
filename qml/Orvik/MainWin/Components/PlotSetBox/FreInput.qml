import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// A frequency field in the seven-segment font; any text may be typed, the
// owner extracts the number. The first click selects the whole text, a
// further click places the cursor; a double-click selects the integer or the
// fractional part.
BaseBackground {
    id: root

    property string defaultText: "600.000"
    property bool selected: false
    property alias inputItem: input

    signal editingFinished(var currentValue)

    function setText(value) {
        input.text = value
    }

    function setFocus(status) {
        if (status)
            input.forceActiveFocus()
        else
            input.focus = false
    }

    // The first number in the text with three decimals, or null.
    function extractValue(value) {
        var match = /([+-]?)(\d*\.?\d+)/.exec(String(value))
        if (match === null)
            return null
        var digits = match[2]
        if (digits.charAt(0) === ".")
            digits = "0" + digits
        return parseFloat(match[1] + digits).toFixed(3)
    }

    function selectPartAt(position) {
        var t = input.text
        var dot = t.indexOf(".")
        if (dot < 0) {
            input.selectAll()
            return
        }
        if (position <= dot) {
            var start = (t.charAt(0) === "-" || t.charAt(0) === "+") ? 1 : 0
            input.select(start, dot)
        } else {
            var end = t.indexOf(" ", dot + 1)
            input.select(dot + 1, end < 0 ? t.length : end)
        }
    }

    text: input.text
    textItem.visible: false
    radius: 0
    border.width: 2
    pressedColor: "black"
    releasedColor: "black"
    releasedBorderColor: input.activeFocus ? "#00BFFF" : "#828282"
    pressedBorderColor: releasedBorderColor
    cursorShape: Qt.PointingHandCursor

    FontLoader {
        id: digitFont
        source: "qrc:/font/DS-DIGII.TTF"
    }

    TextInput {
        id: input
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 4
        text: root.defaultText
        clip: true
        color: root.selected ? "#00BFFF" : "white"
        selectionColor: "#00BFFF"
        selectByMouse: false
        verticalAlignment: TextInput.AlignVCenter
        horizontalAlignment: TextInput.AlignHCenter
        font.family: digitFont.status === FontLoader.Ready ? digitFont.name : "Helvetica"
        font.pixelSize: winManager.fontSize - 2

        Keys.onReturnPressed: finishFromKey()
        Keys.onEnterPressed: finishFromKey()
        onActiveFocusChanged: {
            if (!activeFocus)
                root.editingFinished(input.text)
        }

        function finishFromKey() {
            input.deselect()
            root.editingFinished(input.text)
        }

        MouseArea {
            anchors.fill: parent
            cursorShape: Qt.IBeamCursor
            onClicked: {
                if (!input.activeFocus) {
                    input.forceActiveFocus()
                    input.selectAll()
                } else {
                    input.deselect()
                    input.cursorPosition = input.positionAt(mouse.x, mouse.y)
                }
            }
            onDoubleClicked: {
                input.forceActiveFocus()
                root.selectPartAt(input.positionAt(mouse.x, mouse.y))
            }
        }
    }
}
