#include "app/shell/DesktopFileChooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace zephrin {

namespace {

// Qt's own save dialog takes the name of an existing folder, typed and
// entered, for a file name and adds the format's extension ("album" saves
// "album.png"). Here it goes into the folder, with the suggested name back in
// the field. (The desktop's own choosers do their own accepting.)
class ChooserDialog final : public QFileDialog {
public:
    ChooserDialog(const QString& title, const QString& folder, QString suggestedName)
        : QFileDialog(nullptr, title, folder), m_suggestedName(std::move(suggestedName))
    {
    }

    void accept() override
    {
        auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (acceptMode() == AcceptSave && field && !field->text().trimmed().isEmpty()) {
            const QFileInfo typed(directory().absoluteFilePath(field->text().trimmed()));
            if (typed.isDir()) {
                setDirectory(typed.absoluteFilePath());
                field->setText(m_suggestedName);
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    QString m_suggestedName;
};

} // namespace

QFileDialog* DesktopFileChooser::makeDialog(const FileDialogRequest& request)
{
    using Kind = FileDialogRequest::Kind;
    auto* dialog = new ChooserDialog(request.title, request.folder, request.fileName);
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
