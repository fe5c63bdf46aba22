pragma Singleton
import QtQuick

// Colours, fonts and sizes shared by every screen.
QtObject {
    readonly property color paper: "#f4ecd8"
    readonly property color ink: "#2b2118"
    readonly property color inkSoft: "#6f6254"
    readonly property color accent: "#a0522d"
    readonly property color accentSoft: "#e8d5bd"
    readonly property color bar: "#3b2f25"
    readonly property color barText: "#f4ecd8"
    readonly property color shelf: "#efe6d2"
    readonly property color divider: "#d9ccb4"
    readonly property color badge: "#c0392b"
    readonly property color gray: "#b3a894"
    readonly property string bodyFont: "Noto Serif CJK SC"
    readonly property string uiFont: "Noto Sans CJK SC"
    readonly property int barHeight: 64
    readonly property int readerFontSize: 28
}
