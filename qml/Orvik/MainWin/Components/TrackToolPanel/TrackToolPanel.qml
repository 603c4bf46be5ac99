import QtQuick 2.15
import Orvik.MainWin.Common 1.0

// The eight mark slots above the chart, each on its own colour, with a legend
// of the peak and valley switches at the left.
Item {
    id: root

    readonly property var slotColors: ["#946a00", "#ff0000", "#ff7b00", "#fffb00",
                                       "#48ff00", "#00BFFF", "#b700ff", "#818181"]
    readonly property int slotSpacingPx: 25
    readonly property real legendWidth: Math.min(root.width * 0.13, 120)

    Column {
        id: legend
        objectName: "markLegend"
        x: 4
        anchors.verticalCenter: parent.verticalCenter
        width: root.legendWidth
        spacing: 2

        Row {
            spacing: 4
            height: root.height * 0.28

            Image {
                height: parent.height
                width: height
                source: "qrc:/res/track_peak_icon_on.png"
                sourceSize.width: width * 2
                sourceSize.height: height * 2
                smooth: true
            }

            GeneralLabel {
                height: parent.height
                text: "跟踪峰值"
            }
        }

        Row {
            spacing: 4
            height: root.height * 0.28

            Image {
                height: parent.height
                width: height
                source: "qrc:/res/track_valley_icon_on.png"
                sourceSize.width: width * 2
                sourceSize.height: height * 2
                smooth: true
            }

            GeneralLabel {
                height: parent.height
                text: "跟踪谷值"
            }
        }

        GeneralLabel {
            height: root.height * 0.28
            text: "FREQ MHZ"
        }
    }

    ListView {
        id: markList
        objectName: "markList"
        anchors.left: legend.right
        anchors.leftMargin: 6
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: parent.bottom
        orientation: ListView.Horizontal
        spacing: root.slotSpacingPx
        interactive: false
        clip: true

        readonly property int slotCount: markModel.marks.length
        readonly property real slotWidth: slotCount > 0 ? (width - (slotCount - 1) * spacing) / slotCount : 0

        // By number, so a sweep updates the slots in place instead of
        // rebuilding them under a field the user is typing in.
        model: slotCount

        delegate: Item {
            id: slot
            objectName: "markSlot" + index
            readonly property var mark: markModel.marks[index]
            width: markList.slotWidth
            height: markList.height

            GeneralLabel {
                id: number
                width: 12
                height: parent.height
                horizontalAlignment: Text.AlignHCenter
                text: slot.mark ? String(slot.mark.id + 1) : ""
            }

            MarkSetBox {
                objectName: "markSetBox" + index
                anchors.left: number.right
                anchors.leftMargin: 2
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                height: parent.height - 6
                markId: slot.mark ? slot.mark.id : index
                fre: slot.mark ? slot.mark.fre : ""
                dbm: slot.mark ? slot.mark.dbm : ""
                type: slot.mark ? slot.mark.type : ""
                slotColor: root.slotColors[index % root.slotColors.length]
            }
        }
    }
}
