#pragma once
// A small static web server on the loopback interface for the content tests:
// it serves the files below a folder for GET (HTTP/1.1, one request per
// connection), counts the requests per path, and can be told to answer a path
// with a fixed status and body instead, with a redirect, or with a body that
// it sends a byte at a time, slowly. Bounded: request heads over 16 KiB and
// connections idle for 10 s are dropped, at most 64 connections are open, and
// it stops itself half an hour after it started or when destroyed. Lives on the
// thread that made it, whose event loop must run.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTcpServer>
#include <QTimer>
#include <QUrl>

#include <chrono>

namespace zephrin::testing {

class StaticHttpServer {
public:
    explicit StaticHttpServer(QString root);
    ~StaticHttpServer();
    StaticHttpServer(const StaticHttpServer&) = delete;
    StaticHttpServer& operator=(const StaticHttpServer&) = delete;

    // http://127.0.0.1:<port>, the address to give the libraries.
    QUrl address() const;

    // Answer `path` ("/zephrin/fonts/fonts.json") with this status and body.
    void respond(const QString& path, int status, const QByteArray& body = {});
    // Answer `path` with 302 Found and this Location.
    void redirect(const QString& path, const QByteArray& location);
    // Answer `path` with 200 and `body`, one byte every `interval`.
    void drip(const QString& path, const QByteArray& body, std::chrono::milliseconds interval);

    // GET requests received for `path` (decoded), answered or not.
    int requests(const QString& path) const;
    int totalRequests() const;

    // Closes the listening socket and every connection: later requests are refused.
    void stop();

private:
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray location;
        std::chrono::milliseconds drip{0};
    };

    void accept();
    Answer answer(const QString& path) const;

    QString m_root;
    QTcpServer m_server;
    QTimer m_lifetime;
    quint16 m_port = 0;
    QHash<QString, Answer> m_fixed;
    QHash<QString, int> m_requests;
};

} // namespace zephrin::testing
