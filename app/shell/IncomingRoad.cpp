#include "app/shell/IncomingRoad.h"

#include "app/shell/IncomingFiles.h"
#include "app/shell/WindowCommands.h"
#include "engine/types/Plural.h"
#include "model/editor/EditorState.h"
#include "output/service/NativePath.h"
#include "share/inbox/HandOffUrl.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/OriginalName.h"
#include "share/inbox/QueuedCopies.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <filesystem>
#include <set>

namespace zephrin {

namespace {

template <typename Text> bool isUrl(const Text& argument)
{
    return argument.startsWith("zephrin:") || argument.startsWith("file:") || argument.contains("://");
}

// The files the batch queue names.
std::set<QString> queuedFiles(const BatchState& batch)
{
    std::set<QString> files;
    for (const BatchItem& item : batch.itemsInOrder())
        files.insert(item.url.toLocalFile());
    return files;
}

} // namespace

IncomingRoad::IncomingRoad(EditorState& editor, WindowCommands& commands, QObject* parent)
    : QObject(parent), m_editor(editor), m_commands(commands)
{
    connect(&editor, &EditorState::showIncomingReplaceConfirmChanged, this, &IncomingRoad::replaceDetailChanged);
    connect(&editor, &EditorState::pendingIncomingURLChanged, this, &IncomingRoad::replaceDetailChanged);
    connect(editor.batch(), &BatchState::progressChanged, this, &IncomingRoad::dropCopiesLeftOutOfTheQueue);
}

IncomingRoad::~IncomingRoad()
{
    if (const std::optional<QString> folder = queuedCopiesFolder())
        for (const QString& copy : std::as_const(m_queuedCopies))
            dropQueuedCopy(*folder, copy);
}

QStringList IncomingRoad::absoluteArguments(const QStringList& arguments, const QString& workingFolder)
{
    QStringList result;
    for (const QString& argument : arguments)
        result << (isUrl(argument) || argument.isEmpty() ? argument : QDir(workingFolder).absoluteFilePath(argument));
    return result;
}

QString IncomingRoad::launchArgument(const QByteArray& argument)
{
    const std::filesystem::path path = argument.toStdString();
    if (isTextPath(path))
        return QFile::decodeName(argument);
    // An address is never a file name: its other bytes stay percent-encoded,
    // so an address that is no text names no file of the inbox or elsewhere.
    if (isUrl(argument))
        return QString::fromLatin1(argument.toPercentEncoding(":/?#[]@!$&'()*+,;=%"));
    std::error_code error;
    return fileUrl(std::filesystem::absolute(path, error).lexically_normal()).toString(QUrl::FullyEncoded);
}

bool IncomingRoad::openArguments(const QStringList& arguments)
{
    bool opened = false;
    QList<QUrl> files;
    int unopened = 0;
    for (const QString& argument : arguments) {
        if (argument.startsWith(QLatin1String("zephrin:"))) {
            if (const std::optional<QString> file = handOffFilePath(argument)) {
                gather(*file);
                opened = true;
            } else if (!namesAFileTakenBefore(argument)) {
                ++unopened;
            }
        } else if (argument.startsWith(QLatin1String("file:"))) {
            const QUrl url(argument);
            if (url.isLocalFile())
                files << url;
        } else if (QDir::isAbsolutePath(argument)) {
            files << QUrl::fromLocalFile(argument);
        }
    }
    if (!files.isEmpty())
        m_commands.openFiles(files);
    // Never quietly: the address is not told back, as it may hold anything.
    if (unopened > 0)
        m_editor.setLastError(
            QStringLiteral("%1 couldn't be opened: %2 no shared image waiting in the inbox.")
                .arg(plural::count(unopened, u"zephrin:// address", u"zephrin:// addresses"),
                     plural::word(unopened, u"it names", u"they name")));
    return opened || !files.isEmpty();
}

// A hand-off announced twice (its launch came after a scan that took the
// file) names a file this road has had: it is gone, not forged.
bool IncomingRoad::namesAFileTakenBefore(const QString& address) const
{
    const std::optional<QString> name = handOffFileName(address);
    const std::optional<QString> inbox = name ? sharedInboxFolder() : std::nullopt;
    return inbox && m_gatheredBefore.contains(QDir(*inbox).filePath(*name));
}

void IncomingRoad::openForwardedLaunch(const QStringList& arguments)
{
    if (!openArguments(arguments))
        openWaitingInboxFiles();
}

int IncomingRoad::restoreLeftBehindFiles()
{
    m_restored = returnLeftBehindFiles();
    return m_restored;
}

bool IncomingRoad::openWaitingInboxFiles()
{
    const QStringList files = waitingInboxFiles();
    for (const QString& file : files)
        gather(file);
    return !files.isEmpty();
}

void IncomingRoad::gather(const QString& waitingFile)
{
    if (!m_gathered.contains(waitingFile))
        m_gathered << waitingFile;
    m_gatheredBefore.insert(waitingFile);
    const quint64 arrival = ++m_lastArrival;
    m_editor.runner().after(kGathering, this, [this, arrival] {
        if (arrival == m_lastArrival)
            openGathered();
    });
}

void IncomingRoad::openGathered()
{
    QStringList files = std::exchange(m_gathered, {});
    // Another road may have taken a file meanwhile; the parked one is the
    // question's.
    const QString parked = m_editor.pendingIncomingURL().toLocalFile();
    files.removeIf([&](const QString& file) { return file == parked || !isWaitingInboxFile(file); });
    // One alone opens, unless a question or another file being opened is
    // ahead of it: opening it then would take that one's place unseen. The
    // batch comes into view, but not under such a question nor over such a
    // document: there a notice says where the pictures went.
    const bool nothingAhead = !m_editor.showIncomingReplaceConfirm() && !m_editor.isOpeningDocument();
    if (files.size() == 1 && nothingAhead)
        handleIncomingURL(m_editor, QUrl::fromLocalFile(files.first()));
    else if (!files.isEmpty())
        queueHandedOver(files, nothingAhead);
    if (const int restored = std::exchange(m_restored, 0); restored > 0)
        m_editor.showNotice(
            QStringLiteral("Restored %1 from the last session.").arg(plural::count(restored, u"shared image")));
}

// Each file is copied out of the inbox under its shared name, the copies are
// queued, and only the files whose copy the queue took leave the inbox.
void IncomingRoad::queueHandedOver(const QStringList& waitingFiles, bool showBatch)
{
    const std::optional<QString> folder = queuedCopiesFolder();
    QList<QUrl> copies;
    QStringList copied;
    for (const QString& file : waitingFiles) {
        if (!folder)
            break;
        if (const std::optional<QString> copy = copyForQueue(file, queuedName(originalName(file), file), *folder)) {
            // As the queue names its files: clean and absolute.
            const QString path = QDir::cleanPath(QFileInfo(*copy).absoluteFilePath());
            copies << QUrl::fromLocalFile(path);
            copied << file;
            // Counted as the queue's before it reports its new files.
            m_queuedCopies << path;
        }
    }
    m_editor.batch()->add(copies);

    const std::set<QString> queued = queuedFiles(*m_editor.batch());
    qsizetype taken = 0;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        if (queued.count(copies[i].toLocalFile())) {
            removeHandedOverFile(copied[i]);
            ++taken;
        } else {
            m_queuedCopies.removeOne(copies[i].toLocalFile());
            dropQueuedCopy(*folder, copies[i].toLocalFile());
        }
    }
    if (taken > 0 && showBatch)
        m_editor.setBatchMode(true);
    else if (taken > 0)
        m_editor.showNotice(QStringLiteral("Added %1 to the batch.").arg(plural::count(taken, u"shared image")));
    if (const qsizetype left = waitingFiles.size() - taken; left > 0) {
        m_queueError = QStringLiteral("%1 couldn't be added to the batch and %2 in the inbox for the next start.")
                           .arg(plural::count(left, u"shared image"), plural::word(left, u"waits", u"wait"));
        m_editor.setLastError(m_queueError);
    } else if (taken > 0 && !m_queueError.isEmpty()) {
        // The road works again: what it said of an earlier hand-off is over.
        if (m_editor.lastError() == m_queueError)
            m_editor.clearLastError();
        m_queueError.clear();
    }
}

void IncomingRoad::dropCopiesLeftOutOfTheQueue()
{
    if (m_queuedCopies.isEmpty())
        return;
    const std::optional<QString> folder = queuedCopiesFolder();
    const std::set<QString> queued = queuedFiles(*m_editor.batch());
    m_queuedCopies.removeIf([&](const QString& copy) {
        if (queued.count(copy))
            return false;
        if (folder)
            dropQueuedCopy(*folder, copy);
        return true;
    });
}

void IncomingRoad::confirmReplace()
{
    confirmIncomingReplace(m_editor);
}

// The document stays as it is, and so does the shared picture: it joins the
// batch queue as hand-offs that arrive together do (it may exist nowhere
// else), with the document still in view.
void IncomingRoad::cancelReplace()
{
    const QString parked = m_editor.pendingIncomingURL().toLocalFile();
    cancelIncomingReplace(m_editor);
    if (isWaitingInboxFile(parked))
        queueHandedOver({parked}, false);
}

QString IncomingRoad::replaceDetail() const
{
    return m_editor.showIncomingReplaceConfirm() ? incomingReplaceDetail(m_editor) : QString();
}

} // namespace zephrin
