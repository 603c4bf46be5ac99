import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The count field of the one-click scan dialog, in the seven-segment font.
// The first click selects the whole text, a further click places the cursor;
// a double-click selects the integer or the fractional part.
BaseBackground {
    id: root

    property string defaultText: "600.000"
    property string unit: ""
    property bool signVisible: true
    property bool decimalVisible: true
    property bool selected: false
    property int decimalPlaces: 2
    property string flag: ""
    property alias inputItem: input

    signal editingFinished(var currentValue)
    signal formatValueFinshed(var currentValue)
    signal currentValueChanged(var currentValue)

    function setText(value) {
        input.text = value
    }

    function setFocus(status) {
        if (status)
            input.forceActiveFocus()
        else
            input.focus = false
    }

    // The first number in the text with exactly three decimals, or null.
    function extractValue(value) {
        var match = String(value).match(/[-+]?(\d+(\.\d*)?|\.\d+)/)
        if (match === null)
            return null
        var number = match[0]
        number = number.replace(/^([-+]?)\./, "$10.")
        return parseFloat(number).toFixed(3)
    }

    // A count of signals: a whole number from 0 to 999. A negative entry is
    // 0 whatever its size, and text without a number is 0 as well.
    function formatNumber(value) {
        var number = parseFloat(value)
        if (isNaN(number) || number < 0)
            return 0
        if (Math.abs(number) >= 999)
            return 999
        return Math.round(number)
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

        // Enter ends the edit here, so the field does not also report it
        // through its own signal; losing the focus reports it once more.
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
