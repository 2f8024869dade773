#include "engine/pixel/AreaReduction.h"

#include "engine/pixel/ParallelRows.h"

#include <opencv2/core/hal/intrin.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

namespace zephrin {

namespace {

// One source pixel's share of one cell.
struct Overlap {
    int cell;
    int source;
    float weight;
};

// Every overlap of cells of `scale` source pixels with the `sourceSize`
// pixels of one axis, cell by cell, the pixels of each in order; a pixel
// covered by less than a thousandth is left out.
std::vector<Overlap> overlaps(int sourceSize, int cells, double scale)
{
    std::vector<Overlap> table;
    for (int cell = 0; cell < cells; ++cell) {
        const double start = cell * scale;
        const double end = start + scale;
        const double width = std::min(scale, sourceSize - start);
        int first = int(std::ceil(start));
        int last = int(std::floor(end));
        last = std::min(last, sourceSize - 1);
        first = std::min(first, last);
        if (first - start > 1e-3)
            table.push_back({cell, first - 1, float((first - start) / width)});
        for (int source = first; source < last; ++source)
            table.push_back({cell, source, float(1.0 / width)});
        if (end - last > 1e-3)
            table.push_back({cell, last, float(std::min(std::min(end - last, 1.0), width) / width)});
    }
    return table;
}

// The overlaps of one axis laid out for four cells at a time: tap k of cell c
// at k × padded + c, every cell given as many taps as the widest, the extra
// ones of weight 0 (adding 0 × a pixel changes no sum). A row's cells are then
// summed four at once, each still from 0 over its pixels in order.
struct CellTaps {
    CellTaps(const std::vector<Overlap>& table, int cells, int step, int channel)
        : padded((cells + 3) / 4 * 4)
    {
        std::vector<int> count(size_t(cells), 0);
        for (const Overlap& o : table)
            taps = std::max(taps, ++count[size_t(o.cell)]);
        offset.assign(size_t(taps * padded), channel);
        weight.assign(size_t(taps * padded), 0.f);
        std::fill(count.begin(), count.end(), 0);
        for (const Overlap& o : table) {
            const size_t at = size_t(count[size_t(o.cell)]++ * padded + o.cell);
            offset[at] = o.source * step + channel;
            weight[at] = o.weight;
        }
    }

    // row[c] = the sum of cell c's pixels of `source` times their weights.
    void sum(const uchar* source, float* row) const
    {
        for (int c = 0; c < padded; c += 4) {
            cv::v_float32x4 cell = cv::v_setzero_f32();
            for (int k = 0; k < taps; ++k) {
                const int* at = offset.data() + k * padded + c;
                const cv::v_int32x4 bytes(source[at[0]], source[at[1]], source[at[2]], source[at[3]]);
                const cv::v_float32x4 product = cv::v_cvt_f32(bytes) * cv::v_load(weight.data() + k * padded + c);
                cell = cell + product;  // multiplied, then added: no fused step, as the scalar sums
            }
            cv::v_store(row + c, cell);
        }
    }

    int padded;
    int taps = 0;
    std::vector<int> offset;
    std::vector<float> weight;
};

bool wholeFactor(double scale) { return std::abs(scale - std::round(scale)) < DBL_EPSILON; }

} // namespace

cv::Mat areaReduced(const cv::Mat& pixels, int channel, cv::Size cells)
{
    CV_Assert(pixels.depth() == CV_8U && channel >= 0 && channel < pixels.channels());
    CV_Assert(cells.width >= 1 && cells.height >= 1 && cells.width <= pixels.cols && cells.height <= pixels.rows);
    const double scaleX = 1. / (double(cells.width) / pixels.cols);
    const double scaleY = 1. / (double(cells.height) / pixels.rows);
    if (wholeFactor(scaleX) && wholeFactor(scaleY)) {
        cv::Mat plane, reduced;
        cv::extractChannel(pixels, plane, channel);
        cv::resize(plane, reduced, cells, 0, 0, cv::INTER_AREA);
        return reduced;
    }
    const std::vector<Overlap> down = overlaps(pixels.rows, cells.height, scaleY);
    std::vector<size_t> rowStart(size_t(cells.height) + 1, down.size());
    for (size_t k = down.size(); k-- > 0;)
        rowStart[size_t(down[k].cell)] = k;
    const CellTaps across(overlaps(pixels.cols, cells.width, scaleX), cells.width, pixels.channels(), channel);

    cv::Mat reduced(cells, CV_8UC1);
    parallelRows(cells.height, std::int64_t(pixels.cols) * pixels.rows / cells.height, [&](int firstRow, int endRow) {
        std::vector<float> row(size_t(across.padded)), sum(size_t(cells.width));
        for (int cellRow = firstRow; cellRow < endRow; ++cellRow) {
            for (size_t k = rowStart[size_t(cellRow)]; k < rowStart[size_t(cellRow) + 1]; ++k) {
                across.sum(pixels.ptr(down[k].source), row.data());
                const float share = down[k].weight;
                if (k == rowStart[size_t(cellRow)])
                    for (int x = 0; x < cells.width; ++x)
                        sum[size_t(x)] = share * row[size_t(x)];
                else
                    for (int x = 0; x < cells.width; ++x)
                        sum[size_t(x)] += share * row[size_t(x)];
            }
            uchar* out = reduced.ptr(cellRow);
            for (int x = 0; x < cells.width; ++x)
                out[x] = cv::saturate_cast<uchar>(sum[size_t(x)]);
        }
    });
    return reduced;
}

} // namespace zephrin
