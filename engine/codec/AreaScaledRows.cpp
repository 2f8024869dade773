#include "engine/codec/AreaScaledRows.h"

#include "engine/pixel/ParallelRows.h"

#include <algorithm>
#include <vector>

namespace zephrin {

namespace {

// The source cells an output cell covers along one side, and by how much:
// output cell o covers [o, o + 1) * in / out of the source, that is, in
// units of 1 / out of a source cell, [o * in, (o + 1) * in).
struct Spans {
    std::vector<int> first;    // of each output cell, its first source cell
    std::vector<int> begin;    // where its weights start in `weights`, and the next's
    std::vector<quint32> weights;

    Spans(qint64 in, qint64 out)
    {
        for (qint64 o = 0; o < out; ++o) {
            const qint64 from = o * in;
            const qint64 to = from + in;
            first.push_back(int(from / out));
            begin.push_back(int(weights.size()));
            for (qint64 i = from / out; i * out < to && i < in; ++i)
                weights.push_back(quint32(std::min(to, (i + 1) * out) - std::max(from, i * out)));
        }
        begin.push_back(int(weights.size()));
    }
};

} // namespace

cv::Mat areaScaledRows(QSize source, QSize scaled, const std::function<void(int, quint8*)>& sourceRow)
{
    const Spans across(source.width(), scaled.width());
    const Spans down(source.height(), scaled.height());
    // Each output pixel's weights add up to the source's area.
    const double total = double(source.width()) * double(source.height());
    const auto channels = size_t(4) * size_t(source.width());
    cv::Mat result(scaled.height(), scaled.width(), CV_8UC4);
    const qint64 rowsEach = source.height() / scaled.height() + 1;
    parallelRows(scaled.height(), qint64(source.width()) * rowsEach, [&](int firstRow, int endRow) {
        std::vector<quint8> row(channels);
        std::vector<quint32> sums(channels);
        for (int oy = firstRow; oy < endRow; ++oy) {
            std::fill(sums.begin(), sums.end(), 0u);
            for (int k = down.begin[size_t(oy)]; k < down.begin[size_t(oy) + 1]; ++k) {
                sourceRow(down.first[size_t(oy)] + (k - down.begin[size_t(oy)]), row.data());
                const quint32 weight = down.weights[size_t(k)];
                for (size_t i = 0; i < channels; ++i)
                    sums[i] += weight * row[i];
            }
            auto* out = result.ptr<quint8>(oy);
            for (int ox = 0; ox < scaled.width(); ++ox) {
                double sum[4] = {};
                const quint32* at = sums.data() + 4 * size_t(across.first[size_t(ox)]);
                for (int k = across.begin[size_t(ox)]; k < across.begin[size_t(ox) + 1]; ++k, at += 4) {
                    const double weight = across.weights[size_t(k)];
                    for (int c = 0; c < 4; ++c)
                        sum[c] += weight * at[c];
                }
                for (int c = 0; c < 4; ++c)
                    out[4 * ox + c] = quint8(sum[c] / total + 0.5);
            }
        }
    });
    return result;
}

} // namespace zephrin
