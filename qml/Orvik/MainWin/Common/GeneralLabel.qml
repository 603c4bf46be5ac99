import QtQuick 2.15

// A single-line white label in the interface font.
Text {
    id: root

    property int pixelSize: winManager.fontSize
    property string ttfUrl: "qrc:/font/MicrosoftYaHei.ttf"

    font.family: fontLoader.status === FontLoader.Ready ? fontLoader.name : "Helvetica"
    font.pixelSize: root.pixelSize
    font.bold: false
    color: "white"
    elide: Text.ElideRight
    verticalAlignment: Text.AlignVCenter
    horizontalAlignment: Text.AlignLeft

    FontLoader {
        id: fontLoader
        source: root.ttfUrl
    }
}
