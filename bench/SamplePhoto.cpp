#include "SamplePhoto.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <opencv2/core.hpp>

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

struct Sample {
    QImage image;
    bool photograph;
};

const Sample& sample()
{
    static const Sample decided = [] {
        const QImage centre = photographCentre();
        return centre.isNull() ? Sample{syntheticScene(), false} : Sample{centre, true};
    }();
    return decided;
}

} // namespace

QImage samplePhoto() { return sample().image; }

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
    if (sample().photograph)
        return QStringLiteral("the centre 4000 x 3000 of .cache/sample/elephants.jpg, JPEG quality 92");
    return QStringLiteral("NO PHOTOGRAPH (run scripts/setup): a synthetic 4000 x 3000 scene instead");
}

} // namespace zephrin::bench
