#pragma once
// The look of the widget dialogs (Qt's own file dialog and its questions)
// where the desktop offers no chooser of its own: Qt's Fusion style in the
// window's dark colours, so a dialog reads as part of the editor. The
// desktop's own choosers keep the desktop's look.

class QApplication;

namespace zephrin {

void applyDialogStyle(QApplication& application);

} // namespace zephrin
