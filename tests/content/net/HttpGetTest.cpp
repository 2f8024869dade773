#include "content/net/HttpGet.h"

#include "content/support/ContentFixture.h"

#include <QNetworkAccessManager>

using namespace std::chrono_literals;

namespace zephrin::testing {
namespace {

class HttpGetTest : public ContentFixture {
protected:
    std::optional<QByteArray> get(const QString& path, qint64 maxBytes = 1 << 20,
                                  std::chrono::milliseconds deadline = 5min)
    {
        return awaitResult(httpGet(m_network, {server().address().resolved(QUrl(path)), 10s, true, maxBytes, deadline}));
    }

    QNetworkAccessManager m_network;
};

TEST_F(HttpGetTest, AbandonsABodyPastItsCap)
{
    server().respond("/small", 200, QByteArray(1000, 'x'));
    server().respond("/large", 200, QByteArray(1001, 'x'));
    EXPECT_EQ(get("/small", 1000), QByteArray(1000, 'x'));
    EXPECT_EQ(get("/large", 1000), std::nullopt);
}

TEST_F(HttpGetTest, FollowsRedirectsOnlyToWebServers)
{
    writeFile(served("moved/here.json"), "{}");
    server().redirect("/there.json", "/moved/here.json");
    EXPECT_EQ(get("/there.json"), QByteArray("{}"));

    server().redirect("/secret", "file:///etc/passwd");
    EXPECT_EQ(get("/secret"), std::nullopt);
    server().redirect("/loop", "/loop");
    EXPECT_EQ(get("/loop"), std::nullopt);
}

TEST_F(HttpGetTest, GivesUpOnADownloadThatOutlastsItsDeadline)
{
    // A byte every 20 ms never leaves the connection idle long enough for the
    // idle time-out; the whole body would take 4 s.
    server().drip("/slow", QByteArray(200, 'x'), 20ms);
    server().drip("/brief", QByteArray(5, 'x'), 20ms);
    EXPECT_EQ(get("/brief", 1000, 1s), QByteArray(5, 'x'));
    EXPECT_EQ(get("/slow", 1000, 500ms), std::nullopt);
}

} // namespace
} // namespace zephrin::testing
