#include "content/net/ContentSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QtDebug>

#include <optional>

namespace zephrin {

namespace {

const QUrl kDefaultAddress(QStringLiteral("http://localhost:8000"));
const QString kCatalogueFolderName = QStringLiteral("content-catalogue");

bool isServerAddress(const QUrl& url)
{
    return url.isValid() && !url.host().isEmpty()
        && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

QUrl folderUrl(const QString& folder)
{
    QString path = QFileInfo(folder).absoluteFilePath();
    if (!path.endsWith(u'/'))
        path += u'/';
    return QUrl::fromLocalFile(path);
}

std::optional<QUrl> server(const QSettings& settings)
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
    return std::nullopt;
}

std::optional<QUrl> catalogueFolder(const QString& executableFolder)
{
    if (qEnvironmentVariableIsSet("ZEPHRIN_CONTENT_FOLDER")) {
        const QString chosen = qEnvironmentVariable("ZEPHRIN_CONTENT_FOLDER");
        if (QFileInfo(chosen).isDir())
            return folderUrl(chosen);
        qWarning() << "content catalogue folder is not a folder, ignored:" << chosen;
        return std::nullopt;
    }
    if (executableFolder.isEmpty())
        return std::nullopt;
    const QDir beside(executableFolder);
    for (const QString& candidate : {beside.filePath(kCatalogueFolderName),
                                     beside.filePath(QStringLiteral("../share/zephrin/") + kCatalogueFolderName)}) {
        // The build's link stays in place when its folder is gone: that counts as none.
        const QString path = QDir::cleanPath(candidate);
        if (QFileInfo(path).isDir())
            return folderUrl(path);
    }
    return std::nullopt;
}

} // namespace

QUrl contentSource()
{
    const QString executableFolder =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    return contentSource(QSettings(), executableFolder);
}

QUrl contentSource(const QSettings& settings, const QString& executableFolder)
{
    if (const std::optional<QUrl> address = server(settings))
        return *address;
    if (const std::optional<QUrl> folder = catalogueFolder(executableFolder))
        return *folder;
    return kDefaultAddress;
}

QUrl contentResourceBase(const QUrl& source, const QString& folder)
{
    QUrl base = source;
    QString path = source.path();
    while (path.endsWith(u'/'))
        path.chop(1);
    base.setPath(path + u'/' + folder + u'/');
    base.setQuery(QString());
    base.setFragment(QString());
    return base;
}

QString catalogueFailure(const QUrl& base, const QString& library)
{
    if (base.isLocalFile())
        return QStringLiteral("Couldn't read the %1 library in %2.")
            .arg(library, QDir::toNativeSeparators(QDir::cleanPath(base.toLocalFile())));
    return QStringLiteral("Couldn't reach the %1 library. Check your internet connection.").arg(library);
}

} // namespace zephrin
