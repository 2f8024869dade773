#pragma once
// Everything that reaches the window from outside: the arguments of this
// launch and of later launches (hand-off URLs and image files), the files
// waiting in the inbox when the window comes on screen, and the answer to
// "Replace the current image?" with the sentence it shows.
//
// Hand-offs come one per zephrin-share, each through a launch of its own, so
// several shared at once arrive one after another. They are gathered until
// none has come for kGathering: one alone opens as the document (asking first
// when that discards work, IncomingFiles.h); several, or any while the
// question is up for another or another file is being opened, go into the
// batch queue as files given together do, and so does one the user declined
// to open ("Keep Working"). A file leaves the inbox only once its picture is
// opened or queued; one the queue could not take stays there, and the status
// says so.

#include <QObject>
#include <QSet>
#include <QStringList>

#include <chrono>

namespace zephrin {

class EditorState;
class WindowCommands;

class IncomingRoad : public QObject {
    Q_OBJECT
    // What replacing the document with the parked file discards and what
    // carries over; follows the question.
    Q_PROPERTY(QString replaceDetail READ replaceDetail NOTIFY replaceDetailChanged)

public:
    // How long hand-offs are gathered after the last one came.
    static constexpr std::chrono::milliseconds kGathering{500};

    IncomingRoad(EditorState& editor, WindowCommands& commands, QObject* parent = nullptr);
    // Queued copies of handed-over files go with the queue that named them.
    ~IncomingRoad() override;

    // Each argument: a zephrin://open?file= URL (a file waiting in the inbox,
    // gathered with the hand-offs around it; any other URL of that scheme
    // opens nothing, and lastError says so), or an image file as an absolute path or a file: URL. One file
    // opens as the document (asking first when that discards work); several
    // go into the batch queue. True when any was opened or gathered (or waits
    // for the replace question).
    Q_INVOKABLE bool openArguments(const QStringList& arguments);
    // A later launch handed its arguments over: they are opened; when none
    // opens anything, the files waiting in the inbox are (ones handed over
    // while the editor could not be started).
    Q_INVOKABLE void openForwardedLaunch(const QStringList& arguments);
    // At the start: puts back into the inbox what an editor that did not end
    // cleanly left outside it (QueuedCopies.h), for the first scan to take;
    // once the scan has opened or queued them, a notice says how many came
    // back. Returns that number.
    int restoreLeftBehindFiles();
    // Gathers every file waiting in the inbox; true when there was one.
    Q_INVOKABLE bool openWaitingInboxFiles();
    Q_INVOKABLE void confirmReplace();
    Q_INVOKABLE void cancelReplace();
    QString replaceDetail() const;

    // Arguments made independent of the working folder of the launch that
    // received them: relative paths become absolute, URLs stay as they are.
    static QStringList absoluteArguments(const QStringList& arguments, const QString& workingFolder);

    // A launch argument, given as its bytes, as the text the road carries: the
    // argument itself when it is UTF-8 text, else (a file name of other bytes)
    // a file: URL of its absolute path that keeps every byte.
    static QString launchArgument(const QByteArray& argument);

signals:
    void replaceDetailChanged();

private:
    void gather(const QString& waitingFile);
    void openGathered();
    // `showBatch`: the batch comes into view; else a notice says where the
    // pictures went.
    void queueHandedOver(const QStringList& waitingFiles, bool showBatch);
    void dropCopiesLeftOutOfTheQueue();
    bool namesAFileTakenBefore(const QString& address) const;

    EditorState& m_editor;
    WindowCommands& m_commands;
    QStringList m_gathered;          // waiting files of the inbox, in the order they came
    QSet<QString> m_gatheredBefore;  // every waiting file ever gathered
    quint64 m_lastArrival = 0;       // counts hand-offs, so only the last one's wait opens them
    QStringList m_queuedCopies;      // copies the batch queue names (QueuedCopies.h)
    int m_restored = 0;              // files put back at the start, not yet announced
    QString m_queueError;            // the error the last hand-offs the queue could not take set
};

} // namespace zephrin
