pragma Singleton
import QtQuick

// Colours, fonts and sizes shared by every screen. Two palettes: light paper
// for the day and, for reading at night, dark paper with soft light ink
// (about 11:1 between ink and paper, so the text stays sharp without glare).
// "colorScheme" (the user's choice, or the desktop's preference) picks one.
QtObject {
    readonly property bool dark: forcedDark || (typeof colorScheme !== "undefined"
                                                && colorScheme !== null && colorScheme.dark)
    // Dark whatever the setting, without changing it (the screenshot tour).
    property bool forcedDark: false

    readonly property color paper: dark ? "#1c1916" : "#f4ecd8"
    readonly property color ink: dark ? "#d8cfc0" : "#2b2118"
    readonly property color inkSoft: dark ? "#a39888" : "#6f6254"
    readonly property color accent: dark ? "#b5653a" : "#a0522d"
    readonly property color accentSoft: dark ? "#3d3026" : "#e8d5bd"
    readonly property color bar: dark ? "#0f0d0b" : "#3b2f25"
    readonly property color barText: dark ? "#d8cfc0" : "#f4ecd8"
    readonly property color shelf: dark ? "#171411" : "#efe6d2"
    readonly property color divider: dark ? "#3a332c" : "#d9ccb4"
    readonly property color badge: dark ? "#a8382c" : "#c0392b"
    readonly property color gray: dark ? "#7d7366" : "#b3a894"
    // Text and marks drawn on accent, badge and toast backgrounds.
    readonly property color textOnAccent: dark ? "#f2ebe0" : "#ffffff"
    // The current row of a list.
    readonly property color currentRow: dark ? "#2e261f" : "#efe1c8"
    // Dims the screen behind a dialog.
    readonly property color scrim: Qt.rgba(0, 0, 0, dark ? 0.6 : 0.45)
    readonly property color toast: dark ? Qt.rgba(0.22, 0.19, 0.16, 0.95)
                                        : Qt.rgba(0.1, 0.08, 0.06, 0.85)
    // Title-bar buttons when pressed or highlighted: light on the dark bar.
    readonly property color barPressed: Qt.rgba(1, 1, 1, dark ? 0.12 : 0.18)
    readonly property color barHighlight: Qt.rgba(1, 1, 1, dark ? 0.08 : 0.12)

    readonly property string bodyFont: "Noto Serif CJK SC"
    readonly property string uiFont: "Noto Sans CJK SC"
    readonly property int barHeight: 64
    readonly property int readerFontSize: 28
}
