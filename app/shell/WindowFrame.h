#pragma once
// Whether the desktop frames a window with a title bar, and with it a close
// button. Where no window manager runs (a bare X server) nothing frames it,
// so the window has to offer its own way to close. Known once the window is
// shown and taken in by the window manager.

#include <QObject>

class QWindow;

namespace zephrin {

class WindowFrame : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    Q_INVOKABLE bool hasTitleBar(QWindow* window) const;
};

} // namespace zephrin
