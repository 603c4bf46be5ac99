import QtQuick 2.15

// The circular progress indicator with the percentage (or the outcome) in
// its centre, turning from light grey to green as it fills.
Item {
    id: root

    property real progress: 0
    property bool successFlag: true

    readonly property real fraction: Math.max(0, Math.min(1, progress / 100))

    Kessa_Spinner {
        id: spinner
        anchors.centerIn: parent
        c_progress: root.progress
    }

    Text {
        anchors.centerIn: parent
        font.pixelSize: 35
        font.bold: true
        opacity: 0.8
        text: root.progress < 100 ? Math.round(root.progress) + "%" : (root.successFlag ? "完成!" : "失败!")
        // Cyan and yellow at the progress, no magenta, 10 % black.
        color: !root.successFlag ? "#ff0000"
                                 : Qt.rgba(1 - (root.fraction * 0.9 + 0.1), 0.9, 1 - (root.fraction * 0.9 + 0.1), 1)

        Behavior on color {
            ColorAnimation {
                duration: 1000
            }
        }
    }
}
