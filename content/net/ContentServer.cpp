#include "content/net/ContentServer.h"

#include <QSettings>
#include <QtDebug>

namespace zephrin {

namespace {

const QUrl kDefaultAddress(QStringLiteral("http://localhost:8000"));

bool isServerAddress(const QUrl& url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

} // namespace

QUrl contentServerAddress()
{
    return contentServerAddress(QSettings());
}

QUrl contentServerAddress(const QSettings& settings)
{
    const QString fromEnvironment = qEnvironmentVariable("ZEPHRIN_CONTENT_URL");
    const QString fromSettings = settings.value(QStringLiteral("contentBaseURL")).toString();
    for (const QString& text : {fromEnvironment, fromSettings}) {
        if (text.isEmpty())
            continue;
        const QUrl url(text, QUrl::StrictMode);
        if (isServerAddress(url))
            return url;
        qWarning() << "content server address is not an http(s) URL, ignored:" << text;
    }
    return kDefaultAddress;
}

QUrl contentResourceBase(const QUrl& server, const QString& folder)
{
    QUrl base = server;
    QString path = server.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    base.setPath(path + u'/' + folder + u'/');
    base.setQuery(QString());
    base.setFragment(QString());
    return base;
}

} // namespace zephrin
