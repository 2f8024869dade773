#include "pickers/FontPreviews.h"

#include "content/fonts/FontLibrary.h"

#include <QFuture>
#include <QMutex>
#include <QPointer>
#include <QQmlEngine>

namespace zephrin {

namespace {

const QString kProvider = QStringLiteral("fontpreview");

class PreviewResponse : public QQuickImageResponse {
public:
    QQuickTextureFactory* textureFactory() const override
    {
        QMutexLocker lock(&m_mutex);
        return QQuickTextureFactory::textureFactoryForImage(m_image);
    }

    void deliver(const std::optional<zephrin::Image>& picture)
    {
        {
            QMutexLocker lock(&m_mutex);
            if (picture)
                m_image = toQImage(*picture).copy();
        }
        emit finished();
    }

private:
    mutable QMutex m_mutex;
    QImage m_image;
};

} // namespace

QQuickImageResponse* FontPreviewProvider::requestImageResponse(const QString& id, const QSize&)
{
    auto* response = new PreviewResponse;
    // The library lives on the GUI thread, and so does the response from here
    // on: it is answered and deleted there, never while an answer is on its way.
    response->moveToThread(m_library.thread());
    QPointer<PreviewResponse> guard(response);
    FontLibrary* library = &m_library;
    QMetaObject::invokeMethod(library, [library, id, guard] {
        if (!guard)
            return;
        library->preview(id).then(library, [guard](std::optional<zephrin::Image> picture) {
            if (guard)
                guard->deliver(picture);
        });
    });
    return response;
}

FontPreviews* FontPreviews::create(QQmlEngine* qmlEngine, QJSEngine*)
{
    if (!qmlEngine->imageProvider(kProvider))
        qmlEngine->addImageProvider(kProvider, new FontPreviewProvider(FontLibrary::shared()));
    return new FontPreviews(nullptr);
}

QString FontPreviews::source(const QString& fontID) const
{
    return QStringLiteral("image://%1/%2").arg(kProvider, fontID);
}

} // namespace zephrin
