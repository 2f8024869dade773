#pragma once
// One running Zephrin per user. The first instance listens on a local socket
// in the user's runtime folder (else in a folder of the user's own in their
// cache folder, never in a shared one); a later launch connects, hands over
// its arguments (one per line, UTF-8; an empty line when it has none, which
// only asks the window to come forward) and exits. A socket left behind by an
// instance that died is taken over. Without a folder for the socket every
// launch runs alone.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace zephrin {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `socketPath`: usually defaultSocketPath(); empty to run alone.
    explicit SingleInstance(QString socketPath, QObject* parent = nullptr);
    ~SingleInstance() override;

    QString socketPath() const { return m_path; }

    // Hands `arguments` to a running instance; true when one took them. Needs
    // no application object, so a second launch can leave before building one.
    static bool forward(const QString& socketPath, const QStringList& arguments, int timeoutMs = 1000);

    // Starts listening; false when another instance is running after all (it
    // started at the same moment): then forward() to it instead.
    bool listen();

    // "zephrin.socket" in the runtime folder, or in the folder
    // "Zephrin/instance" (mode 0700) of the cache folder; empty when neither
    // is there or that folder is not the user's own.
    static QString defaultSocketPath();

signals:
    // Arguments handed over by a later launch (possibly none).
    void argumentsReceived(const QStringList& arguments);

private:
    void acceptConnections();

    QString m_path;
    QLocalServer* m_server = nullptr;
};

} // namespace zephrin
