#include "pickers/support/BackdropTestStores.h"

#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/net/ContentSource.h"
#include "content/photos/PhotoBackdropLibrary.h"

#include <QBuffer>
#include <QColor>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFutureWatcher>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QQmlEngine>
#include <QTimer>

namespace zephrin::testing {

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QImage picture(QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QPainter painter(&image);
    painter.setPen(QPen(color.darker(150), 6));
    painter.drawLine(0, 0, size.width(), size.height());
    return image;
}

QByteArray jpeg(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

template <typename T>
T awaited(QFuture<T> future)
{
    QEventLoop loop;
    QFutureWatcher<T> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    watcher.setFuture(future);
    if (!future.isFinished())
        loop.exec();
    return future.isValid() && future.resultCount() > 0 ? future.result() : T{};
}

} // namespace

BackdropTestStores::BackdropTestStores()
    : m_stores([this]() -> PhotoBackdropLibrary& {
                   if (m_libraries.empty())
                       newPhotoLibrary({}, {}, false);
                   return *m_libraries.back();
               },
               []() -> MyBackgroundsStore& { return MyBackgroundsStore::shared(); })
{
}

BackdropTestStores::~BackdropTestStores() = default;

void BackdropTestStores::registerForQml()
{
    m_stores.registerForQml();
    qmlRegisterSingletonInstance("Zephrin.TestSupport", 1, 0, "BackdropDriver", this);
}

QObject* BackdropTestStores::newPhotoLibrary(const QVariantList& photos, const QStringList& categories, bool serves)
{
    const QString folder = m_served.filePath(QString::number(++m_count));
    QJsonArray items;
    int shade = 0;
    for (const QVariant& entry : photos) {
        const QVariantMap photo = entry.toMap();
        const QString id = photo.value("id").toString();
        items.append(QJsonObject{{"id", id},
                                 {"category", photo.value("category").toString()},
                                 {"location", photo.value("location").toString()}});
        const QColor color = QColor::fromHsv((shade++ * 47) % 360, 120, 200);
        if (photo.value("thumb", true).toBool())
            writeFile(folder + "/zephrin/backdrops/thumbs/" + id + ".jpg", jpeg(picture({240, 160}, color)));
        writeFile(folder + "/zephrin/backdrops/full/" + id + ".jpg", jpeg(picture({600, 400}, color)));
    }
    QJsonObject manifest{{"version", 1}, {"items", items}};
    if (!categories.isEmpty())
        manifest.insert("categories", QJsonArray::fromStringList(categories));
    if (serves)
        writeFile(folder + "/zephrin/backdrops/manifest.json", QJsonDocument(manifest).toJson());
    auto& server = m_servers.emplace_back(std::make_unique<StaticHttpServer>(folder));
    auto& library = m_libraries.emplace_back(std::make_unique<PhotoBackdropLibrary>(
        contentResourceBase(server->address(), QStringLiteral("zephrin/backdrops")), folder + "-cache"));
    QQmlEngine::setObjectOwnership(library.get(), QQmlEngine::CppOwnership);
    return library.get();
}

QString BackdropTestStores::addMyBackground(const QString& name, const QString& source, bool favorite)
{
    MyBackgroundsStore& store = MyBackgroundsStore::shared();
    const QColor color = QColor::fromHsv((++m_count * 71) % 360, 140, 210);
    const auto id = awaited(store.add(imageFromQImage(picture({480, 320}, color)), name, source));
    if (!id)
        return {};
    if (favorite)
        awaited(store.toggleFavorite({*id}));
    return *id;
}

void BackdropTestStores::clearMyBackgrounds()
{
    awaited(MyBackgroundsStore::shared().deleteMany());
}

void BackdropTestStores::showNotice(const QString& text)
{
    MyBackgroundsStore::shared().showNotice(text);
}

void BackdropTestStores::showAddedNotice()
{
    MyBackgroundsStore::shared().showAddedNotice();
}

int BackdropTestStores::backdropRenders(const QString& id) const
{
    return m_stores.generated.renders(id);
}

void BackdropTestStores::wait(int milliseconds) const
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace zephrin::testing
