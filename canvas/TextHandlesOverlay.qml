// Until the text handles are built: nothing over the image.
import QtQuick

Item {
    // The displayed size of the shown image and its size in pixels.
    property size frame
    property size imageSize
}
