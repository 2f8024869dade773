#pragma once
// The 12-megapixel photo of the end-to-end benchmarks: the centre 4000 × 3000
// of a camera photograph of elephants (5640 × 3172, which scripts/setup takes
// from a Debian package into .cache/sample/elephants.jpg). Without it, a
// seeded synthetic scene of a cup on a textured table, and the benchmarks say so.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zephrin::bench {

QImage samplePhoto();
// The same picture as a camera would store it: a JPEG at quality 92.
const QByteArray& samplePhotoJpeg();
// What samplePhoto() is, for the benchmark's report.
QString samplePhotoDescription();

} // namespace zephrin::bench
