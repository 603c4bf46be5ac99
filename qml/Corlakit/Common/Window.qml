import QtQuick 2.15

// Root type of every page. The window manager calls the three hooks when the
// page is entered or left; a page overrides only those it needs.
Rectangle {
    id: root

    property string title: ""

    function enterWin() {
    }

    function enterWinWithArgs(args) {
    }

    function exitWin() {
    }

    width: winManager.winWidth
    height: winManager.winHeight
    color: "#f0f3fa"

    // Beneath every child: presses that no control takes end here instead of
    // reaching the widgets behind the view. Taking the focus makes an input
    // that is being edited finish its edit, as a click beside it should.
    MouseArea {
        anchors.fill: parent
        onPressed: root.forceActiveFocus()
    }
}
