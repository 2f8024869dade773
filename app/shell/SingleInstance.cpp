#include "app/shell/SingleInstance.h"

#include "share/files/PrivateFolder.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <memory>

namespace zephrin {

SingleInstance::SingleInstance(QString socketPath, QObject* parent) : QObject(parent), m_path(std::move(socketPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath()
{
    // Qt hands out the runtime folder only when it is the user's alone (theirs,
    // mode 0700).
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return QDir(runtime).filePath(QStringLiteral("zephrin.socket"));
    // Without one, a folder of the user's own: a name in a shared folder could
    // be taken first by another user, who would then receive every launch.
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    const QString folder = QDir(cache).filePath(QStringLiteral("Zephrin/instance"));
    return makePrivateFolder(folder) ? QDir(folder).filePath(QStringLiteral("zephrin.socket")) : QString();
}

bool SingleInstance::forward(const QString& socketPath, const QStringList& arguments, int timeoutMs)
{
    if (socketPath.isEmpty())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray message;
    for (const QString& argument : arguments)
        message += argument.toUtf8() + '\n';
    if (arguments.isEmpty())
        message = "\n";
    socket.write(message);
    // Once the kernel holds the bytes the receiver reads them even after we
    // are gone; the close tells it that nothing more comes.
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(timeoutMs);
    return true;
}

bool SingleInstance::listen()
{
    // Plain bind, which fails on an existing socket: the access options would
    // make Qt move a fresh socket over the path and steal it from a running
    // instance. The socket's folder is the user's alone anyway.
    if (m_path.isEmpty())
        return true; // no folder of the user's own for it: run alone
    m_server = new QLocalServer(this);
    if (!m_server->listen(m_path)) {
        if (m_server->serverError() != QAbstractSocket::AddressInUseError)
            return true;  // no socket to be had: run alone rather than not at all
        // Either another instance is there, or one died and left its socket.
        QLocalSocket probe;
        probe.connectToServer(m_path);
        if (probe.waitForConnected(300)) {
            probe.abort();
            return false;
        }
        QLocalServer::removeServer(m_path);
        if (!m_server->listen(m_path))
            return true;
    }
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        // The sender writes everything and closes; what it wrote is complete
        // when its end is closed.
        auto received = std::make_shared<QByteArray>();
        auto finished = std::make_shared<bool>(false);
        const auto finish = [this, socket, received, finished] {
            if (*finished)
                return;
            *finished = true;
            *received += socket->readAll();
            socket->deleteLater();
            if (received->isEmpty())
                return;  // a probe, or a launch that gave up
            QStringList arguments;
            for (const QByteArray& line : received->split('\n'))
                if (!line.isEmpty())
                    arguments << QString::fromUtf8(line);
            emit argumentsReceived(arguments);
        };
        connect(socket, &QLocalSocket::readyRead, socket, [socket, received] { *received += socket->readAll(); });
        connect(socket, &QLocalSocket::disconnected, this, finish);
        if (socket->state() != QLocalSocket::ConnectedState)
            finish();
    }
}

} // namespace zephrin
