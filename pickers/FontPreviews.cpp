#include "pickers/FontPreviews.h"

#include "content/fonts/FontLibrary.h"
#include "pickers/fonts/FontPreviewInk.h"

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
        return m_image.isNull() ? nullptr : QQuickTextureFactory::textureFactoryForImage(m_image);
    }
    // A missing preview is an error, so that the row shows the name instead.
    QString errorString() const override
    {
        QMutexLocker lock(&m_mutex);
        return m_image.isNull() ? QStringLiteral("no preview") : QString();
    }

    void deliver(const std::optional<zephrin::Image>& picture, const QColor& ink)
    {
        {
            QMutexLocker lock(&m_mutex);
            if (picture)
                m_image = ink.isValid() ? fontpreview::inked(toQImage(*picture), ink) : toQImage(*picture).copy();
        }
        emit finished();
    }

private:
    mutable QMutex m_mutex;
    QImage m_image;
};

} // namespace

QQuickImageResponse* FontPreviewProvider::requestImageResponse(const QString& request, const QSize&)
{
    // "<font id>?ink=<rrggbb>"; without an ink the preview keeps the catalogue's.
    const qsizetype query = request.lastIndexOf(QStringLiteral("?ink="));
    const QString id = query < 0 ? request : request.left(query);
    const QColor ink = query < 0 ? QColor() : QColor(u'#' + request.mid(query + 5));
    auto* response = new PreviewResponse;
    // The library lives on the GUI thread, and so does the response from here
    // on: it is answered and deleted there, never while an answer is on its way.
    response->moveToThread(m_library.thread());
    QPointer<PreviewResponse> guard(response);
    FontLibrary* library = &m_library;
    QMetaObject::invokeMethod(library, [library, id, ink, guard] {
        if (!guard)
            return;
        library->preview(id).then(library, [guard, ink](std::optional<zephrin::Image> picture) {
            if (guard)
                guard->deliver(picture, ink);
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

QString FontPreviews::source(const QString& fontID, const QColor& ink) const
{
    return QStringLiteral("image://%1/%2?ink=%3").arg(kProvider, fontID, ink.name(QColor::HexRgb).mid(1));
}

} // namespace zephrin
