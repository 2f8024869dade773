#include "share/inbox/HandOffUrl.h"

#include "share/inbox/InboxName.h"

#include <QUrlQuery>

namespace zephrin {

namespace {

const QString kScheme = QStringLiteral("zephrin");
const QString kHost = QStringLiteral("open");
const QString kFileItem = QStringLiteral("file");

} // namespace

QUrl handOffUrl(const QString& fileName)
{
    QUrl url;
    url.setScheme(kScheme);
    url.setHost(kHost);
    QUrlQuery query;
    query.addQueryItem(kFileItem, QString::fromLatin1(QUrl::toPercentEncoding(fileName)));
    url.setQuery(query);
    return url;
}

std::optional<QString> handOffFileName(const QString& urlText)
{
    // QUrl folds the scheme and host to lower case, so their spelling is
    // checked on the text itself.
    if (!urlText.startsWith(kScheme + QStringLiteral("://") + kHost))
        return std::nullopt;
    const QUrl url(urlText, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != kScheme || url.host() != kHost || !url.userInfo().isEmpty()
        || url.port() != -1 || !url.hasQuery())
        return std::nullopt;

    const QUrlQuery query(url);
    for (const auto& [key, value] : query.queryItems(QUrl::FullyDecoded)) {
        if (key != kFileItem)
            continue;
        if (!isInboxFileName(value))
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

} // namespace zephrin
