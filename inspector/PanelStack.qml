// The body shared by the cutout, hand refine and colour panels: a
// leading-aligned column, spacing 24 unless the panel says otherwise. A row
// that is not visible takes no room and no spacing, so a panel leaves a
// section out by hiding it. Panels bind to the Editor singleton and write
// through its operations; the stack holds no state of its own.
import QtQuick
import QtQuick.Layouts

ColumnLayout {
    spacing: 24
}
