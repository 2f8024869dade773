#pragma once
// One running Zephrin per user. The first instance listens on a local socket
// in the user's runtime folder; a later launch connects, hands over its
// arguments (one per line, UTF-8; an empty line when it has none, which only
// asks the window to come forward) and exits. A socket left behind by an
// instance that died is taken over.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace zephrin {

class SingleInstance : public QObject {
    Q_OBJECT

public:
    // `socketPath`: empty for "zephrin.socket" in the runtime folder.
    explicit SingleInstance(QString socketPath = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    QString socketPath() const { return m_path; }

    // Hands `arguments` to a running instance; true when one took them. Needs
    // no application object, so a second launch can leave before building one.
    static bool forward(const QString& socketPath, const QStringList& arguments, int timeoutMs = 1000);

    // Starts listening; false when another instance is running after all (it
    // started at the same moment): then forward() to it instead.
    bool listen();

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
