#pragma once
// A picture scaled down by area from rows made one at a time, so that the
// source is never held whole: each pixel of the result is the mean of the
// source pixels it covers, those it covers in part weighted by the part (the
// box filter Qt's smooth scaling applies to a reduction).

#include <opencv2/core.hpp>

#include <QSize>

#include <functional>

namespace zephrin {

// `scaled` (each side at least 1 and at most the source's) from a source of
// `source` pixels of four 8-bit channels: `sourceRow(y, row)` writes source
// row y into `row` (source.width() pixels). It is asked for every row of each
// output row, so for some rows twice, from several threads at once. CV_8UC4.
cv::Mat areaScaledRows(QSize source, QSize scaled, const std::function<void(int, quint8*)>& sourceRow);

} // namespace zephrin
