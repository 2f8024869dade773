// The checkerboard that marks transparent areas, in the theme's colours.
//   cell: side of one square (positive)
//   cornerRadius: rounds the board's corners (0: square)
import QtQuick
import Zephrin.Controls

CheckerboardItem {
    cell: 8
    lightColor: Theme.checkerLight
    darkColor: Theme.checkerDark
}
