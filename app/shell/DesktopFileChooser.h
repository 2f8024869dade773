#pragma once
// The file dialogs of the desktop: Qt's QFileDialog, which shows the
// desktop's own chooser where Qt's platform theme offers one (the GTK theme
// on GTK desktops, the XDG desktop portal where Qt is told to use it) and
// otherwise Qt Widgets' own complete dialog: typed names and paths, New
// Folder, the question before replacing a file, many files at once. Needs a
// QApplication. Each dialog is modal over the window it is given.

#include "app/shell/FileChooser.h"

#include <QFileDialog>
#include <QPointer>
#include <QWindow>

namespace zephrin {

class DesktopFileChooser final : public FileChooser {
public:
    explicit DesktopFileChooser(QWindow* window = nullptr) : m_window(window) {}

    void setWindow(QWindow* window) { m_window = window; }
    void open(const FileDialogRequest& request, Answer answer) override;

    // The dialog on screen; null when none is (tests drive it).
    QFileDialog* currentDialog() const { return m_dialog; }

    // Builds the dialog for a request without showing it.
    static QFileDialog* makeDialog(const FileDialogRequest& request);

private:
    QPointer<QWindow> m_window;
    QPointer<QFileDialog> m_dialog;
};

} // namespace zephrin
