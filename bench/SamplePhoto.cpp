#include "SamplePhoto.h"

#include <QPainter>

#include <opencv2/core.hpp>

namespace zephrin::bench {

QImage samplePhoto()
{
    QImage sample(QStringLiteral(ZEPHRIN_SOURCE_DIR "/.cache/sample/coffee.png"));
    if (!sample.isNull())
        return sample.scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
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

} // namespace zephrin::bench
