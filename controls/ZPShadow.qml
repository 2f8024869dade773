// A soft shadow or glow behind a rounded shape that fills this item's parent.
//   color, blur (radius of the blur), cornerRadius, offsetX, offsetY
import QtQuick
import Zephrin.Controls

ShadowItem {
    id: shadow
    property real offsetX: 0
    property real offsetY: 0

    spread: Math.ceil(blur * 1.5)
    x: -spread + offsetX
    y: -spread + offsetY
    width: parent ? parent.width + 2 * spread : 0
    height: parent ? parent.height + 2 * spread : 0
}
