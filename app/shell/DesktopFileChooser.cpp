#include "app/shell/DesktopFileChooser.h"

#include "output/service/NativePath.h"
#include "output/service/OutputFile.h"

#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>

namespace zephrin {

namespace {

// Qt's own save dialog, accepting a typed name as a user means it:
// - the name of an existing folder goes into that folder (Qt would save
//   "album.png"), with the suggested name back in the field;
// - a name in a folder that is missing or cannot be written to ("nowhere/",
//   "nowhere/duck.png"), or a name the folder cannot take (too long with
//   its extension), keeps the dialog open and says why;
// - a name gets the format's extension unless it ends in one of the format's
//   ("logo v1.2" saves "logo v1.2.png"; Qt adds one only to a name without a
//   dot), before Qt asks about replacing a file of that name.
// (The desktop's own choosers do their own accepting; FileDialogs adds the
// extension to what they answer.)
class ChooserDialog final : public QFileDialog {
public:
    ChooserDialog(const QString& title, const QString& folder, QString suggestedName, QStringList extensions)
        : QFileDialog(nullptr, title, folder), m_suggestedName(std::move(suggestedName)),
          m_extensions(std::move(extensions))
    {
    }

    void accept() override
    {
        auto* field = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = field ? field->text().trimmed() : QString();
        if (acceptMode() != AcceptSave || typed.isEmpty()) {
            QFileDialog::accept();
            return;
        }
        const QString path = directory().absoluteFilePath(typed);
        if (QFileInfo(path).isDir()) {
            setDirectory(path);
            field->setText(m_suggestedName);
            return;
        }
        const bool namesFolder = typed.endsWith(u'/');
        const QString folder = namesFolder ? QDir::cleanPath(path) : QFileInfo(path).absolutePath();
        // The name the file is written under: the typed one with its extension.
        const QString name = namesFolder ? m_suggestedName : withExtension(QFileInfo(path).fileName(), m_extensions);
        const QString refusal = OutputFile::folderRefusal(nativePath(QDir(folder).filePath(name)));
        if (!refusal.isEmpty()) {
            // The folder is at fault unless it would take a short name.
            const bool nameAtFault =
                OutputFile::folderRefusal(nativePath(QDir(folder).filePath(QStringLiteral("x")))).isEmpty();
            const QString shown = namesFolder ? typed.chopped(1) : QFileInfo(typed).path();
            QMessageBox::warning(
                this, windowTitle(),
                nameAtFault ? QStringLiteral("Couldn't save “%1”: %2.").arg(shortened(name), refusal)
                            : QStringLiteral("Couldn't save in “%1”: %2.")
                                  .arg(shown == QLatin1String(".") ? directory().dirName() : shown, refusal));
            // Back to the name for mending (no window manager would hand
            // the keys back from the closed box).
            activateWindow();
            return;
        }
        field->setText(withExtension(typed, m_extensions));
        QFileDialog::accept();
    }

private:
    // A name too long to read whole: its beginning and its end.
    static QString shortened(const QString& name)
    {
        constexpr qsizetype kShown = 24;
        return name.size() <= 2 * kShown ? name : name.left(kShown) + u'…' + name.right(kShown);
    }

    QString m_suggestedName;
    QStringList m_extensions;
};

// Qt's dialog names each file's type by its MIME type, which Qt guesses from
// the file's first bytes where the name says nothing, on the GUI thread: a
// kernel file such as /proc/kmsg never answers, and the editor would stop
// for good as soon as the dialog or its completion looked into /proc. Here
// the name alone tells.
class TypesByName final : public QFileIconProvider {
public:
    QString type(const QFileInfo& info) const override
    {
        if (!info.isFile())
            return QFileIconProvider::type(info);
        const QMimeType mime = m_types.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        return mime.comment().isEmpty() ? mime.name() : mime.comment();
    }

private:
    QMimeDatabase m_types;
};

} // namespace

QFileDialog* DesktopFileChooser::makeDialog(const FileDialogRequest& request)
{
    using Kind = FileDialogRequest::Kind;
    auto* dialog = new ChooserDialog(request.title, request.folder, request.fileName, request.extensions);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Shared by every dialog, and outliving each (its file model and the
    // model's gathering thread use it until they are gone).
    static TypesByName types;
    dialog->setIconProvider(&types);
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
    if (!request.extensions.isEmpty())
        dialog->setDefaultSuffix(request.extensions.first());
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
            // The keys go back to the window (no window manager would).
            if (m_window)
                m_window->requestActivate();
            answer(result == QDialog::Accepted ? dialog->selectedUrls() : QList<QUrl>());
        },
        Qt::SingleShotConnection);
    dialog->open();
}

} // namespace zephrin
