// The right-hand column: the one panel of the current tool, scrolling, and
// with showsFooterExport the export button fixed below it. The panel is made
// afresh on every tool change, so a panel's own view state (the adjust
// target, the text panel's open pickers) starts again each time.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Model
import Zephrin.Pickers

Item {
    id: inspector
    property bool showsFooterExport: false

    // The seven text colours offered by the text panel, in this order.
    readonly property var textSwatches: [
        Qt.rgba(1, 1, 1, 1), Qt.rgba(0, 0, 0, 1),
        Qt.rgba(0.5450980392156862, 0.3607843137254902, 0.9647058823529412, 1),
        Qt.rgba(0.93, 0.26, 0.36, 1), Qt.rgba(0.98, 0.75, 0.18, 1),
        Qt.rgba(0.2, 0.62, 0.95, 1), Qt.rgba(0.25, 0.72, 0.45, 1)
    ]

    readonly property var panels: ({
        "cutout": cutoutPanel, "background": backgroundPanel, "effects": effectsPanel,
        "adjust": adjustPanel, "text": textPanel, "resize": resizePanel, "sheet": sheetPanel
    })

    Component { id: cutoutPanel; SmartCutoutPanel {} }
    Component { id: backgroundPanel; BackgroundPanel {} }
    Component { id: effectsPanel; EffectsPanel {} }
    Component { id: adjustPanel; AdjustPanel {} }
    Component {
        id: textPanel
        TextPanel {
            showFonts: false
            showShapes: false
            swatches: inspector.textSwatches
        }
    }
    Component { id: resizePanel; ResizePanel {} }
    Component { id: sheetPanel; SheetPanel {} }

    PanelBackground {
        anchors.fill: parent
        cornerRadius: 16
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        ScrollView {
            id: scroller
            objectName: "inspectorScroll"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            contentWidth: availableWidth
            ScrollBar.vertical.policy: ScrollBar.AsNeeded

            Loader {
                id: panel
                objectName: "inspectorPanel"
                x: 16
                y: 16
                width: scroller.availableWidth - 32
                // Changing the tool swaps the component, which makes the panel
                // anew, and it opens at its top.
                sourceComponent: inspector.panels[Editor.tool] || null
                onLoaded: scroller.contentItem.contentY = 0
            }
            // The panel's height plus the 16-point padding above and below.
            contentHeight: (panel.item ? panel.item.implicitHeight : 0) + 32

            // A panel that shows something new asks for it to be seen.
            Connections {
                target: panel.item
                ignoreUnknownSignals: true
                function onReveal(item) {
                    const flick = scroller.contentItem
                    const top = item.mapToItem(panel, 0, 0).y + panel.y - 16
                    const bottom = top + item.height + 32
                    const lowest = Math.max(0, flick.contentHeight - flick.height)
                    if (top < flick.contentY)
                        flick.contentY = Math.max(0, top)
                    else if (bottom > flick.contentY + flick.height)
                        flick.contentY = Math.min(bottom - flick.height, lowest)
                }
            }
        }

        Item {
            visible: inspector.showsFooterExport
            Layout.fillWidth: true
            Layout.preferredHeight: 44 + 32
            ExportSplitButton {
                objectName: "inspectorExport"
                anchors.fill: parent
                anchors.margins: 16
                fullWidth: true
            }
        }
    }
}
