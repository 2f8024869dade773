// The settings: Auto Subject on import, the stored export defaults, and the
// acknowledgements of the segmentation model, the backdrop photos and the
// fonts. Each control writes its key at once; there is no apply step.
import QtQuick
import QtQuick.Controls.Basic
import QtQuick.Layouts
import Zephrin.Controls
import Zephrin.Shell

ColumnLayout {
    id: view
    spacing: 12

    component SectionTitle: Text {
        font: Theme.captionFont
        color: Theme.textTertiary
        Layout.topMargin: 8
    }
    component Group: Rectangle {
        default property alias content: column.data
        Layout.fillWidth: true
        implicitHeight: column.implicitHeight + 24
        radius: 12
        color: Theme.surface
        border.color: Theme.accentTintSoft
        border.width: 1
        ColumnLayout {
            id: column
            anchors.fill: parent
            anchors.margins: 12
            spacing: 12
        }
    }
    component Credit: Text {
        font: Theme.captionFont
        color: Theme.textSecondary
        wrapMode: Text.WordWrap
        Layout.fillWidth: true
    }

    SectionTitle { text: qsTr("Import") }
    Group {
        ZPToggleRow {
            objectName: "autoSubjectRow"
            Layout.fillWidth: true
            label: "Run Auto Subject on import"
            on: Settings.autoSubjectOnImport
            onToggled: (value) => Settings.autoSubjectOnImport = value
        }
    }

    SectionTitle { text: qsTr("Export defaults") }
    Group {
        ZPMenuRow {
            objectName: "formatRow"
            Layout.fillWidth: true
            label: "Format"
            options: Settings.formatChoices
            selection: Settings.defaultExportFormat
            onSelected: (option) => Settings.defaultExportFormat = option
        }
        ZPMenuRow {
            objectName: "longEdgeRow"
            Layout.fillWidth: true
            label: "Long edge"
            options: Settings.longEdgeChoices.map((n) => n + " px")
            selection: Settings.defaultLongEdge + " px"
            onSelected: (option) => Settings.defaultLongEdge = parseInt(option)
        }
    }

    SectionTitle { text: qsTr("Acknowledgments") }
    Group {
        ColumnLayout {
            objectName: "isnetCredit"
            visible: Settings.isnetAvailable
            Layout.fillWidth: true
            spacing: 8
            property bool expanded: false

            Disclosure {
                id: disclosure
                objectName: "isnetDisclosure"
                text: Settings.isnetCredit
                expanded: parent.expanded
                onClicked: parent.expanded = !parent.expanded
            }
            Loader {
                objectName: "isnetNotice"
                active: parent.expanded
                visible: active
                Layout.fillWidth: true
                sourceComponent: ColumnLayout {
                    spacing: 8
                    TextEdit {
                        Layout.fillWidth: true
                        readOnly: true
                        selectByMouse: true
                        wrapMode: TextEdit.WordWrap
                        text: Settings.isnetNotice()
                        font: Theme.captionFont
                        color: Theme.textPrimary
                        selectionColor: Theme.accent
                    }
                    ScrollView {
                        id: licenseView
                        readonly property string license: Settings.isnetLicense()
                        visible: license !== ""
                        Layout.fillWidth: true
                        Layout.preferredHeight: 200
                        TextArea {
                            objectName: "isnetLicense"
                            readOnly: true
                            selectByMouse: true
                            wrapMode: TextEdit.WordWrap
                            text: licenseView.license
                            font: Theme.smallCaptionFont
                            color: Theme.textSecondary
                            background: null
                        }
                    }
                }
            }
        }
        Credit {
            objectName: "subjectLiftCredit"
            visible: !Settings.isnetAvailable
            text: "Subject detection by Subject Lift."
        }
        Credit {
            text: "Backdrop photos come from Debian's wallpaper packages through your content server; "
                  + "each is published there with its licence."
        }
        Credit {
            text: "Fonts are open-licensed families from Debian's font packages, under the SIL Open Font "
                  + "License 1.1 or the Apache License 2.0; each font's licence is published with it on the "
                  + "content server."
        }
    }
}
