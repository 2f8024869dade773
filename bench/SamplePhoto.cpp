#include "SamplePhoto.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

#include <opencv2/core.hpp>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace zephrin::bench {

namespace {

const QString kPhotoPath = QStringLiteral(ZEPHRIN_SOURCE_DIR "/.cache/sample/elephants.jpg");

QImage photographCentre()
{
    const QImage photo(kPhotoPath);
    if (photo.width() < 4000 || photo.height() < 3000)
        return {};
    return photo.copy((photo.width() - 4000) / 2, (photo.height() - 3000) / 2, 4000, 3000)
        .convertToFormat(QImage::Format_RGB32);
}

QImage syntheticScene()
{
    QImage scene(4000, 3000, QImage::Format_RGB32);
    cv::Mat noise(3000, 4000, CV_8UC4, scene.bits(), size_t(scene.bytesPerLine()));
    cv::RNG rng(20240611);
    rng.fill(noise, cv::RNG::UNIFORM, cv::Scalar(60, 90, 130, 255), cv::Scalar(80, 110, 160, 256));
    QPainter painter(&scene);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(240, 236, 228));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(1200, 700, 1600, 1500));
    painter.setBrush(QColor(120, 40, 30));
    painter.drawEllipse(QRectF(1450, 950, 1100, 1000));
    return scene;
}

bool havePhotograph()
{
    const QSize size = QImageReader(kPhotoPath).size();
    return size.width() >= 4000 && size.height() >= 3000;
}

// The two sample photos at 4000 × 3000.
std::vector<QImage> basePhotos()
{
    std::vector<QImage> photos{samplePhoto()};
    QImageReader elephants(kPhotoPath);
    elephants.setAutoTransform(true);
    const QImage second = elephants.read();
    if (!second.isNull())
        photos.push_back(second.scaled(4000, 3000, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                             .copy(0, 0, 4000, 3000));
    return photos;
}

} // namespace

QImage samplePhoto() { return havePhotograph() ? photographCentre() : syntheticScene(); }

const QByteArray& samplePhotoJpeg()
{
    static const QByteArray bytes = [] {
        QByteArray jpeg;
        QBuffer buffer(&jpeg);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setQuality(92);
        writer.write(samplePhoto());
        return jpeg;
    }();
    return bytes;
}

QString samplePhotoDescription()
{
    if (havePhotograph())
        return QStringLiteral("the centre 4000 x 3000 of .cache/sample/elephants.jpg, JPEG quality 92");
    return QStringLiteral("NO PHOTOGRAPH (run scripts/setup): a synthetic 4000 x 3000 scene instead");
}

QStringList writeSamplePhotos(const QString& folder, int count, QSize size)
{
    const std::vector<QImage> bases = basePhotos();
    QStringList files;
    for (int i = 0; i < count; ++i) {
        QImage photo = bases[std::size_t(i) % bases.size()];
        const int variant = i / int(bases.size());
        if (variant % 2)
            photo = photo.mirrored(true, false);
        // A crop of 92 to 100 % of the frame, scaled back to 4000 × 3000.
        const int inset = (variant % 5) * 40;
        if (inset > 0)
            photo = photo.copy(inset, inset * 3 / 4, 4000 - 2 * inset, 3000 - inset * 3 / 2)
                        .scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        if (photo.size() != size)
            photo = photo.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const QString path = QDir(folder).filePath(QStringLiteral("photo-%1.jpg").arg(i + 1, 2, 10, QChar(u'0')));
        QImageWriter writer(path, "jpeg");
        writer.setQuality(92);
        if (!writer.write(photo.convertToFormat(QImage::Format_RGB32))) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(path));
            std::exit(1);
        }
        files << path;
    }
    return files;
}

} // namespace zephrin::bench
