// A menu as wide as its widest entry, so a title and its key (MenuEntry)
// stand side by side rather than one over the other.
import QtQuick
import QtQuick.Controls.Basic

Menu {
    width: {
        let widest = implicitBackgroundWidth
        for (let i = 0; i < count; ++i) {
            const entry = itemAt(i)
            if (entry)
                widest = Math.max(widest, entry.implicitWidth + leftPadding + rightPadding)
        }
        return widest
    }
}
