#include "engine/codec/AreaScaledRows.h"

#include "engine/pixel/ParallelRows.h"

#include <algorithm>
#include <vector>

namespace zephrin {

namespace {

// How much of source cell `at` (a span of `out` units) the output cell
// [from, to) covers, in those units.
qint64 overlap(qint64 at, qint64 out, qint64 from, qint64 to)
{
    return std::max<qint64>(0, std::min(to, (at + 1) * out) - std::max(from, at * out));
}

} // namespace

cv::Mat areaScaledRows(QSize source, QSize scaled, const std::function<void(int, quint8*)>& sourceRow)
{
    const qint64 inWidth = source.width();
    const qint64 inHeight = source.height();
    const qint64 outWidth = scaled.width();
    const qint64 outHeight = scaled.height();
    cv::Mat result(scaled.height(), scaled.width(), CV_8UC4);
    parallelRows(scaled.height(), inWidth * (inHeight / outHeight + 1), [&](int first, int end) {
        std::vector<quint8> row(size_t(4 * inWidth));
        std::vector<quint32> sums(size_t(4 * inWidth));
        for (int oy = first; oy < end; ++oy) {
            // Output row oy covers source rows [oy, oy + 1) * inHeight / outHeight:
            // in units of 1 / outHeight of a row, [oy * inHeight, (oy + 1) * inHeight).
            const qint64 from = oy * inHeight;
            const qint64 to = from + inHeight;
            std::fill(sums.begin(), sums.end(), 0u);
            for (qint64 y = from / outHeight; y * outHeight < to && y < inHeight; ++y) {
                const auto weight = quint32(overlap(y, outHeight, from, to));
                sourceRow(int(y), row.data());
                for (size_t i = 0; i < row.size(); ++i)
                    sums[i] += weight * row[i];
            }
            auto* out = result.ptr<quint8>(oy);
            for (qint64 ox = 0; ox < outWidth; ++ox) {
                const qint64 left = ox * inWidth;
                const qint64 right = left + inWidth;
                quint64 channels[4] = {};
                for (qint64 x = left / outWidth; x * outWidth < right && x < inWidth; ++x) {
                    const auto weight = quint64(overlap(x, outWidth, left, right));
                    for (size_t c = 0; c < 4; ++c)
                        channels[c] += weight * sums[size_t(4 * x) + c];
                }
                const auto total = quint64(inWidth) * quint64(inHeight);
                for (size_t c = 0; c < 4; ++c)
                    out[4 * ox + qint64(c)] = quint8((channels[c] + total / 2) / total);
            }
        }
    });
    return result;
}

} // namespace zephrin
