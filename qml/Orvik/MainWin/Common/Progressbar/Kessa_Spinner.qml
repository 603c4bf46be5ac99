import QtQuick 2.15

// A ring of bars with a bright arc running round it; bars turn green from the
// start of the ring as the progress grows.
Item {
    id: root

    property real radius: 150
    property real c_progress: 0
    property alias running: ticker.running

    readonly property int barCount: 25
    readonly property int positionLimit: 50000000
    property int position: 0

    width: 2 * radius
    height: 2 * radius

    function isLit(barIndex) {
        var d = Math.abs(barIndex - position % barCount)
        return Math.min(d, barCount - d) <= 2
    }

    Timer {
        id: ticker
        interval: 100
        repeat: true
        running: true
        onTriggered: root.position = root.position >= root.positionLimit ? 0 : root.position + 1
    }

    Repeater {
        model: root.barCount

        Rectangle {
            id: bar

            readonly property real theta: 360 / root.barCount * (root.barCount - index)
            readonly property real thetaRad: theta * Math.PI / 180
            readonly property bool lit: root.isLit(index)

            // The middle of the bar's left edge stands on the circle and is
            // the point the bar turns about.
            x: root.width / 2 + 0.8 * root.radius * Math.cos(thetaRad)
            y: root.height / 2 - 0.8 * root.radius * Math.sin(thetaRad) - height / 2
            width: lit ? 22 : 5
            height: 15
            radius: Math.min(width, height) / 2
            opacity: lit ? 1 : 0
            color: index + 1 <= root.c_progress / 4 ? "#46fa32" : "#80b9ff"
            antialiasing: true

            transform: Rotation {
                origin.x: 0
                origin.y: bar.height / 2
                angle: 360 - bar.theta
            }

            Behavior on opacity {
                NumberAnimation {
                    duration: bar.lit ? 200 : 2400
                    easing.type: bar.lit ? Easing.Linear : Easing.OutInQuint
                }
            }

            Behavior on width {
                NumberAnimation {
                    duration: bar.lit ? 220 : 1600
                    easing.type: bar.lit ? Easing.Linear : Easing.OutInQuint
                }
            }

            Behavior on color {
                ColorAnimation {
                    duration: 1000
                }
            }
        }
    }
}
