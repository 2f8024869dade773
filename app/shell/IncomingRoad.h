#pragma once
// Everything that reaches the window from outside: the arguments of this
// launch and of later launches (hand-off URLs and image files), the files
// waiting in the inbox when the window comes on screen, and the answer to
// "Replace the current image?" with the sentence it shows.

#include <QObject>
#include <QStringList>

namespace zephrin {

class EditorState;
class WindowCommands;

class IncomingRoad : public QObject {
    Q_OBJECT
    // What replacing the document with the parked file discards and what
    // carries over; follows the question.
    Q_PROPERTY(QString replaceDetail READ replaceDetail NOTIFY replaceDetailChanged)

public:
    IncomingRoad(EditorState& editor, WindowCommands& commands, QObject* parent = nullptr);

    // Each argument: a zephrin://open?file= URL (a file waiting in the inbox;
    // any other URL of that scheme is ignored), or an image file as an
    // absolute path or a file: URL. One file opens as the document (asking
    // first when that discards work); several go into the batch queue. True
    // when any was opened (or waits for the replace question).
    Q_INVOKABLE bool openArguments(const QStringList& arguments);
    // A later launch handed its arguments over: they are opened; when none
    // opens anything, the newest file waiting in the inbox is (one that was
    // handed over while the editor could not be started).
    Q_INVOKABLE void openForwardedLaunch(const QStringList& arguments);
    // The newest waiting file of the inbox, when there is one.
    Q_INVOKABLE bool openWaitingInboxFile();
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
    EditorState& m_editor;
    WindowCommands& m_commands;
};

} // namespace zephrin
