// Every colour, gradient and font of the interface. No other QML file writes
// a colour literal: views name a token here.
pragma Singleton
import QtQuick

QtObject {
    // Surfaces, darkest first.
    readonly property color background: "#0B0713"
    readonly property color sidebar: "#121020"
    readonly property color panel: "#171024"
    readonly property color surface: "#1E1630"
    readonly property color control: "#221633"
    readonly property color imageWell: "#2A2930"
    readonly property color border: "#342847"

    // Accents and states.
    readonly property color accent: "#8B5CF6"
    readonly property color accentLight: "#B794F6"
    readonly property color accentPink: "#D946EF"
    readonly property color success: "#46C783"
    // The ring round the control that has the keyboard focus.
    readonly property color focusRing: accentLight
    // Failures in the batch views (no token of the design's palette).
    readonly property color failure: Qt.rgba(226 / 255, 75 / 255, 74 / 255, 1)

    // Text and icons.
    readonly property color textPrimary: "#F6F2FF"
    readonly property color textSecondary: "#A89DB8"
    readonly property color textTertiary: "#756C82"

    // Transparency checkerboard.
    readonly property color checkerLight: "#46454D"
    readonly property color checkerDark: "#36353C"

    // Translucent tokens.
    readonly property color accentTint: Qt.rgba(0xB7 / 255, 0x94 / 255, 0xF6 / 255, 0.16)
    readonly property color accentTintSoft: Qt.rgba(0xB7 / 255, 0x94 / 255, 0xF6 / 255, 0.12)
    readonly property color accentGlow: Qt.rgba(0x8B / 255, 0x5C / 255, 0xF6 / 255, 0.28)
    readonly property color shadow: Qt.rgba(0, 0, 0, 0.42)
    // The progress badge's backdrop: the window background at 0.85.
    readonly property color badgeBackground: Qt.rgba(0x0B / 255, 0x07 / 255, 0x13 / 255, 0.85)
    // The hairline between the two parts of the export button.
    readonly property color splitDivider: Qt.rgba(1, 1, 1, 0.18)
    // Shadows under the slider thumb and the switch knob.
    readonly property color thumbShadow: Qt.rgba(0, 0, 0, 0.35)
    readonly property color knobShadow: Qt.rgba(0, 0, 0, 0.3)
    // The shadow under a picker tile's badge.
    readonly property color badgeShadow: Qt.rgba(0, 0, 0, 0.33)
    readonly property color transparent: "transparent"
    // The sticker sheet on the canvas: the paper's drop shadow, and the white
    // veil over a sticker's old place while it is being moved.
    readonly property color sheetShadow: Qt.rgba(0, 0, 0, 0.5)
    readonly property color sheetVacatedFill: Qt.rgba(1, 1, 1, 0.75)
    // The canvas: the erase brush's preview (drawn at 0.55), the compare
    // view's labels, the drop highlight's fill.
    readonly property color eraseMark: "#E24B4A"
    readonly property color pillBackground: Qt.rgba(0x0B / 255, 0x07 / 255, 0x13 / 255, 0.7)
    readonly property color dropFill: Qt.rgba(0x8B / 255, 0x5C / 255, 0xF6 / 255, 0.08)
    // The text handles on the canvas: the image's bounds, a hovered layer's
    // outline, the resize handle's fill.
    readonly property color handleBounds: Qt.rgba(1, 1, 1, 0.35)
    readonly property color handleHover: Qt.rgba(1, 1, 1, 0.5)
    readonly property color handleFill: "#FFFFFF"
    // A failed font download in the font picker.
    readonly property color failureText: "#FF453A"

    // Gradients, leading edge to trailing edge.
    readonly property Gradient accentGradient: Gradient {
        orientation: Gradient.Horizontal
        GradientStop { position: 0; color: "#7C3AED" }
        GradientStop { position: 1; color: "#9333EA" }
    }
    readonly property Gradient selectionGradient: Gradient {
        orientation: Gradient.Horizontal
        GradientStop { position: 0; color: Qt.rgba(0x8B / 255, 0x5C / 255, 0xF6 / 255, 0.28) }
        GradientStop { position: 1; color: Qt.rgba(0x8B / 255, 0x5C / 255, 0xF6 / 255, 0.10) }
    }
    // The window's glow: a radial gradient centred on the middle of the top
    // edge, from glowInner at radius 0 to glowOuter at glowRadius.
    readonly property color glowInner: Qt.rgba(0x7C / 255, 0x3A / 255, 0xED / 255, 0.18)
    readonly property color glowOuter: Qt.rgba(0x0B / 255, 0x07 / 255, 0x13 / 255, 0)
    readonly property real glowRadius: 900

    // Fonts: Inter stands in for the system font.
    readonly property string fontFamily: "Inter"
    readonly property font titleFont: systemFont(20, Font.Bold)
    readonly property font headlineFont: systemFont(15, Font.DemiBold)
    readonly property font sidebarFont: systemFont(14, Font.Medium)
    readonly property font bodyFont: systemFont(13, Font.Normal)
    readonly property font buttonFont: systemFont(13, Font.DemiBold)
    readonly property font captionFont: systemFont(11, Font.Medium)
    readonly property font smallCaptionFont: systemFont(10, Font.Normal)
    readonly property font chipFont: systemFont(10, Font.Medium)

    function systemFont(size, weight) {
        return Qt.font({ family: fontFamily, pixelSize: size, weight: weight })
    }
}
