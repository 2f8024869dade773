#pragma once
// The 12-megapixel photo of the end-to-end benchmarks: the centre 4000 × 3000
// of a camera photograph of elephants (5640 × 3172, which scripts/setup takes
// from a Debian package into .cache/sample/elephants.jpg). Without it, a
// seeded synthetic scene of a cup on a textured table, and the benchmarks say so.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

namespace zephrin::bench {

// Made on each call and not kept, so that the benchmarks that count the
// process's memory count none of it.
QImage samplePhoto();
// The same picture as a camera would store it: a JPEG at quality 92.
const QByteArray& samplePhotoJpeg();
// What samplePhoto() is, for the benchmark's report.
QString samplePhotoDescription();

// `count` different JPEG files (quality 92) of `size` in `folder`, named
// photo-01.jpg …: the sample photo and the whole elephants photograph, each
// also mirrored and cropped in five ways. Exits the benchmark when one cannot
// be written.
QStringList writeSamplePhotos(const QString& folder, int count, QSize size = {4000, 3000});

} // namespace zephrin::bench
