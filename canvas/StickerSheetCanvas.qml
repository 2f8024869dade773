// Until the sticker-sheet canvas is built: an empty workspace.
import QtQuick

Item {}
