#pragma once
// Shows a file dialog and hands back what the user chose. The application's
// chooser is DesktopFileChooser; tests put one of their own in its place.

#include "app/shell/FileDialogPlan.h"

#include <QList>
#include <QUrl>

#include <functional>

namespace zephrin {

class FileChooser {
public:
    // The chosen files or folder as local file URLs; empty when cancelled.
    using Answer = std::function<void(const QList<QUrl>& chosen)>;

    virtual ~FileChooser() = default;
    // Opens the dialog and returns at once; `answer` is called once, when it
    // closes. A dialog that is open already is closed first (cancelled).
    virtual void open(const FileDialogRequest& request, Answer answer) = 0;
};

} // namespace zephrin
