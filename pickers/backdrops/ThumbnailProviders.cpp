#include "pickers/backdrops/ThumbnailProviders.h"

#include "content/backdrops/Backdrop.h"
#include "content/mybackgrounds/MyBackgroundsStore.h"
#include "content/photos/PhotoBackdropLibrary.h"
#include "content/tasks/WorkerPools.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QQuickTextureFactory>
#include <QThread>
#include <QtConcurrent>

namespace zephrin {

namespace {

// The answer to one request; lives on the thread the engine asked from (Qt
// Quick's image reader). The reader deletes a response only once it has
// finished, and keeps the provider for as long as any response lives, so every
// response finishes: with the store's picture, or empty as soon as the engine
// cancels it (its tile or its engine went), without waiting for the store.
class ThumbnailResponse : public QQuickImageResponse {
    Q_OBJECT

public:
    ThumbnailResponse()
    {
        // A reader going with its engine cancels what it has in flight and
        // stops its thread; a request it was starting meanwhile is not
        // cancelled, and what finishes after the thread stopped is never
        // deleted. Such a response goes with the thread.
        connect(QThread::currentThread(), &QThread::finished, this, &QObject::deleteLater);
    }

    QQuickTextureFactory* textureFactory() const override
    {
        return m_image.isNull() ? nullptr : QQuickTextureFactory::textureFactoryForImage(m_image);
    }
    QString errorString() const override { return m_image.isNull() ? QStringLiteral("no thumbnail") : QString(); }

    // Called by the reader while it holds its own lock: finishing is left to
    // this thread's next turn, so that the reader is not entered from inside.
    void cancel() override
    {
        QMetaObject::invokeMethod(this, [this] { deliver(QImage()); }, Qt::QueuedConnection);
    }

public slots:
    void deliver(const QImage& image)
    {
        if (m_finished)
            return;
        m_finished = true;
        m_image = image;
        emit finished();
    }

private:
    QImage m_image;
    bool m_finished = false;
};

// Carries the image from the store's thread to the response. The connection
// is queued and dies with the response, so a response the engine dropped
// (the tile went away) is never touched.
class Courier : public QObject {
    Q_OBJECT

signals:
    void delivered(const QImage& image);
};

QFuture<QImage> asQImage(QFuture<std::optional<Image>> future)
{
    return future.then([](const std::optional<Image>& image) { return image ? toQImage(*image) : QImage(); });
}

} // namespace

QFuture<QImage> BackdropThumbnails::thumbnail(const QString& id)
{
    if (const auto rendered = m_rendered.constFind(id); rendered != m_rendered.cend())
        return QtFuture::makeReadyFuture(*rendered);
    if (const auto running = m_running.constFind(id); running != m_running.cend())
        return *running;
    const auto& presets = Backdrop::presets();
    const auto preset =
        std::find_if(presets.begin(), presets.end(), [&](const Backdrop& backdrop) { return backdrop.id == id; });
    if (preset == presets.end())
        return QtFuture::makeReadyFuture(QImage());
    ++m_renders[id];
    QFuture<QImage> render = QtConcurrent::run(utilityPool(), [backdrop = *preset] {
        const std::optional<Image> image = backdrop.thumbnail();
        return image ? toQImage(*image) : QImage();
    });
    // Finishes here, once it has left the running list.
    QFuture<QImage> shared = render.then(this, [this, id](const QImage& image) {
        m_running.remove(id);
        if (!image.isNull())
            m_rendered.insert(id, image);
        return image;
    });
    m_running.insert(id, shared);
    return shared;
}

StoreImageProvider::StoreImageProvider(Fetch fetch) : m_fetch(std::move(fetch)) {}

// The thumbnail comes at its stored size; the scene graph scales it.
QQuickImageResponse* StoreImageProvider::requestImageResponse(const QString& id, const QSize&)
{
    auto* response = new ThumbnailResponse;
    QObject* gui = QCoreApplication::instance();
    auto* courier = new Courier;
    QObject::connect(courier, &Courier::delivered, response, &ThumbnailResponse::deliver, Qt::QueuedConnection);
    courier->moveToThread(gui->thread());
    // A fetch still waiting when the application ends is cancelled while Qt
    // drops the events left over, holding the lock that posting an event
    // takes: it then posts nothing, or the process would never end.
    const auto deliver = [courier](const QImage& image) {
        if (QCoreApplication::closingDown())
            return;
        emit courier->delivered(image);
        courier->deleteLater();
    };
    QMetaObject::invokeMethod(gui, [courier, deliver, fetch = m_fetch, id] {
        fetch(id).then(courier, deliver).onCanceled(courier, [deliver] { deliver(QImage()); });
    });
    return response;
}

StoreImageProvider* makeBackdropProvider(BackdropThumbnails& thumbnails)
{
    return new StoreImageProvider([&thumbnails](const QString& id) { return thumbnails.thumbnail(id); });
}

StoreImageProvider* makePhotoProvider(std::function<PhotoBackdropLibrary&()> library)
{
    return new StoreImageProvider([library](const QString& id) { return asQImage(library().thumbnail(id)); });
}

StoreImageProvider* makeMyBackgroundProvider(std::function<MyBackgroundsStore&()> store)
{
    return new StoreImageProvider([store](const QString& id) { return asQImage(store().thumbnail(id)); });
}

} // namespace zephrin

#include "ThumbnailProviders.moc"
