#include "app/shell/DesktopFileChooser.h"

#include <QFileDialog>

namespace zephrin {

QFileDialog* DesktopFileChooser::makeDialog(const FileDialogRequest& request)
{
    using Kind = FileDialogRequest::Kind;
    auto* dialog = new QFileDialog(nullptr, request.title, request.folder);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    switch (request.kind) {
    case Kind::openFile:
        dialog->setFileMode(QFileDialog::ExistingFile);
        break;
    case Kind::openFiles:
        dialog->setFileMode(QFileDialog::ExistingFiles);
        break;
    case Kind::saveFile:
        // Replacing an existing file asks first (QFileDialog's own question).
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        break;
    case Kind::chooseFolder:
        // Accepting with no folder selected takes the one the user is in.
        dialog->setFileMode(QFileDialog::Directory);
        dialog->setOption(QFileDialog::ShowDirsOnly);
        break;
    }
    if (!request.nameFilters.isEmpty())
        dialog->setNameFilters(request.nameFilters);
    if (!request.defaultSuffix.isEmpty())
        dialog->setDefaultSuffix(request.defaultSuffix);
    if (!request.acceptLabel.isEmpty())
        dialog->setLabelText(QFileDialog::Accept, request.acceptLabel);
    if (!request.places.isEmpty()) {
        QList<QUrl> places;
        for (const QString& place : request.places)
            places << QUrl::fromLocalFile(place);
        dialog->setSidebarUrls(places);
    }
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    return dialog;
}

void DesktopFileChooser::open(const FileDialogRequest& request, Answer answer)
{
    if (m_dialog)
        m_dialog->reject();
    QFileDialog* dialog = makeDialog(request);
    m_dialog = dialog;
    if (m_window) {
        dialog->winId();
        if (QWindow* handle = dialog->windowHandle())
            handle->setTransientParent(m_window);
    }
    dialog->setWindowModality(Qt::ApplicationModal);
    // Answered once: a dialog that closes is done, whatever it emits later.
    QObject::connect(
        dialog, &QFileDialog::finished, dialog,
        [this, dialog, answer = std::move(answer)](int result) {
            if (m_dialog == dialog)
                m_dialog = nullptr;
            answer(result == QDialog::Accepted ? dialog->selectedUrls() : QList<QUrl>());
        },
        Qt::SingleShotConnection);
    dialog->open();
}

} // namespace zephrin
