#include "pickers/FontPreviews.h"

#include "content/fonts/FontLibrary.h"
#include "pickers/backdrops/ThumbnailProviders.h"
#include "pickers/fonts/FontPreviewInk.h"

#include <QQmlEngine>

namespace zephrin {

namespace {

const QString kProvider = QStringLiteral("fontpreview");

} // namespace

QFuture<QImage> fontPreviewImage(FontLibrary& library, const QString& request)
{
    const qsizetype query = request.lastIndexOf(QStringLiteral("?ink="));
    const QString id = query < 0 ? request : request.left(query);
    const QColor ink = query < 0 ? QColor() : QColor(u'#' + request.mid(query + 5));
    return library.preview(id).then([ink](const std::optional<Image>& picture) {
        if (!picture)
            return QImage();
        // A missing preview stays null, so that the row shows the name instead.
        return ink.isValid() ? fontpreview::inked(toQImage(*picture), ink) : toQImage(*picture).copy();
    });
}

FontPreviews* FontPreviews::create(QQmlEngine* qmlEngine, QJSEngine*)
{
    if (!qmlEngine->imageProvider(kProvider))
        qmlEngine->addImageProvider(kProvider, new StoreImageProvider([](const QString& request) {
                                        return fontPreviewImage(FontLibrary::shared(), request);
                                    }));
    return new FontPreviews(nullptr);
}

QString FontPreviews::source(const QString& fontID, const QColor& ink) const
{
    return QStringLiteral("image://%1/%2?ink=%3").arg(kProvider, fontID, ink.name(QColor::HexRgb).mid(1));
}

} // namespace zephrin
