#include "content/support/StaticHttpServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTcpSocket>

#include <memory>

namespace zephrin::testing {

namespace {

constexpr qsizetype kMaxHead = 16 * 1024;
constexpr int kMaxConnections = 64;
constexpr int kIdleMs = 10000;
// Longer than any suite that keeps one server for all its tests runs, even on
// a machine busy with other builds (the screenshots' takes minutes there);
// ctest ends a test that hangs well before.
constexpr int kLifetimeMs = 30 * 60 * 1000;

QByteArray headOf(int status, qsizetype length, const QByteArray& location)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + (status == 200 ? " OK" : " Status") + "\r\n";
    if (!location.isEmpty())
        head += "Location: " + location + "\r\n";
    head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    head += "Connection: close\r\n\r\n";
    return head;
}

void reply(QTcpSocket* socket, int status, const QByteArray& body, const QByteArray& location = {})
{
    socket->write(headOf(status, body.size(), location) + body);
    socket->disconnectFromHost();
}

// The head at once, then the body a byte at a time.
void replySlowly(QTcpSocket* socket, const QByteArray& body, std::chrono::milliseconds interval)
{
    socket->write(headOf(200, body.size(), {}));
    auto* next = new QTimer(socket);
    auto sent = std::make_shared<qsizetype>(0);
    QObject::connect(next, &QTimer::timeout, socket, [socket, next, body, sent] {
        if (*sent == body.size()) {
            next->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(body.mid((*sent)++, 1));
    });
    next->start(interval);
}

// The path of a request target, percent-decoded ("/a%20b" gives "/a b").
QString requestPath(const QByteArray& target)
{
    const qsizetype query = target.indexOf('?');
    return QUrl::fromPercentEncoding(query < 0 ? target : target.left(query));
}

} // namespace

StaticHttpServer::StaticHttpServer(QString root) : m_root(QDir::cleanPath(std::move(root)))
{
    m_server.setMaxPendingConnections(kMaxConnections);
    if (!m_server.listen(QHostAddress::LocalHost, 0))
        qFatal("the test server cannot listen on the loopback interface");
    m_port = m_server.serverPort();
    QObject::connect(&m_server, &QTcpServer::newConnection, [this] { accept(); });
    m_lifetime.setSingleShot(true);
    QObject::connect(&m_lifetime, &QTimer::timeout, [this] { stop(); });
    m_lifetime.start(kLifetimeMs);
}

StaticHttpServer::~StaticHttpServer()
{
    stop();
}

QUrl StaticHttpServer::address() const
{
    return QUrl(QStringLiteral("http://127.0.0.1:%1").arg(m_port));
}

void StaticHttpServer::respond(const QString& path, int status, const QByteArray& body)
{
    m_fixed.insert(path, {status, body, {}, {}});
}

void StaticHttpServer::redirect(const QString& path, const QByteArray& location)
{
    m_fixed.insert(path, {302, {}, location, {}});
}

void StaticHttpServer::drip(const QString& path, const QByteArray& body, std::chrono::milliseconds interval)
{
    m_fixed.insert(path, {200, body, {}, interval});
}

int StaticHttpServer::requests(const QString& path) const
{
    return m_requests.value(path);
}

int StaticHttpServer::totalRequests() const
{
    int total = 0;
    for (const int count : m_requests)
        total += count;
    return total;
}

void StaticHttpServer::stop()
{
    m_server.close();
    for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>())
        socket->abort();
}

void StaticHttpServer::accept()
{
    while (QTcpSocket* socket = m_server.nextPendingConnection()) {
        if (m_server.findChildren<QTcpSocket*>().size() > kMaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* idle = new QTimer(socket);
        idle->setSingleShot(true);
        QObject::connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
        idle->start(kIdleMs);
        QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
            if (socket->property("answered").toBool())
                return;
            const QByteArray head = socket->property("head").toByteArray() + socket->readAll();
            socket->setProperty("head", head);
            if (!head.contains("\r\n\r\n")) {
                if (head.size() > kMaxHead)
                    socket->abort();
                return;
            }
            socket->setProperty("answered", true);
            const QList<QByteArray> request = head.left(head.indexOf("\r\n")).split(' ');
            if (request.size() != 3 || request[0] != "GET") {
                reply(socket, 400, {});
                return;
            }
            const QString path = requestPath(request[1]);
            m_requests[path] += 1;
            const Answer a = answer(path);
            if (a.drip.count() > 0)
                replySlowly(socket, a.body, a.drip);
            else
                reply(socket, a.status, a.body, a.location);
        });
    }
}

StaticHttpServer::Answer StaticHttpServer::answer(const QString& path) const
{
    const auto fixed = m_fixed.constFind(path);
    if (fixed != m_fixed.constEnd())
        return *fixed;
    // Only files inside the root are served.
    const QString file = QDir::cleanPath(m_root + u'/' + path);
    QFile content(file);
    if (!file.startsWith(m_root + u'/') || !QFileInfo(file).isFile() || !content.open(QIODevice::ReadOnly))
        return {404, {}, {}, {}};
    return {200, content.readAll(), {}, {}};
}

} // namespace zephrin::testing
