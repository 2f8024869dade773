// The body shared by the inspector's panels: a leading-aligned column with
// the panel's spacing. Panels bind to the Editor singleton directly and
// write through its operations; the stack holds no state of its own.
import QtQuick
import QtQuick.Layouts

ColumnLayout {
    spacing: 24
}
