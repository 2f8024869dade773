// A selection cut on the IS-Net road: only the parts of the network's matte
// that touch the user's region are kept.

#include "engine/matte/MatteEngine.h"
#include "engine/matte/MatteGrid.h"
#include "engine/pixel/MultiplyCompositing.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

namespace zephrin {

namespace {

// A region coordinate in grid cells, truncated toward zero; held just outside
// the grid so that huge or non-finite values stay representable.
int cellOf(double position, double scale, int cells)
{
    const double cell = position * scale;
    if (std::isnan(cell))
        return -2;
    return int(std::clamp(cell, -2.0, double(cells) + 1));
}

} // namespace

Matte MatteEngine::guidedISNetMatte(const Matte& matte, const QRectF& region, double width, double height) const
{
    const int w = int(std::max(width, 0.0));
    const int h = int(std::max(height, 0.0));
    if (w < 1 || h < 1)
        return matte;
    const cv::Rect frame(0, 0, w, h);
    const MatteGrid grid = fittedGrid(frame.size(), 1024);
    const cv::Mat cells = renderOnGrid(m_context, matte, frame, grid);

    // The region in cells, bounds included, clipped to the grid.
    const QRectF r = region.normalized();
    const int x0 = std::max(cellOf(r.left(), grid.factor, grid.size.width), 0);
    const int x1 = std::min(cellOf(r.right(), grid.factor, grid.size.width), grid.size.width - 1);
    const int y0 = std::max(cellOf(r.top(), grid.factor, grid.size.height), 0);
    const int y1 = std::min(cellOf(r.bottom(), grid.factor, grid.size.height), grid.size.height - 1);

    // The 4-connected components of the foreground cells (above 76) that have a
    // cell inside the region.
    cv::Mat labels;
    const int count = cv::connectedComponents(cells > 76, labels, 4, CV_32S);
    std::vector<uchar> kept(size_t(count), 0);
    for (int y = y0; y <= y1; ++y) {
        const int* row = labels.ptr<int>(y);
        for (int x = x0; x <= x1; ++x)
            kept[size_t(row[x])] = row[x] != 0;
    }
    cv::Mat keep(grid.size, CV_8UC1);
    cv::Mat discard(grid.size, CV_8UC1);
    for (int y = 0; y < grid.size.height; ++y) {
        const int* row = labels.ptr<int>(y);
        uchar* in = keep.ptr(y);
        uchar* out = discard.ptr(y);
        for (int x = 0; x < grid.size.width; ++x) {
            in[x] = kept[size_t(row[x])] ? 255 : 0;
            out[x] = row[x] != 0 && !kept[size_t(row[x])] ? 255 : 0;
        }
    }

    // The kept area scaled up smoothly, without the ringing of a sharper
    // filter; a discarded component is then cleared outright, so not even a
    // trace of it survives next to a kept one.
    cv::Mat guide;
    cv::resize(keep, guide, frame.size(), 0, 0, cv::INTER_LINEAR);
    cv::Mat cleared;
    cv::resize(discard, cleared, frame.size(), 0, 0, cv::INTER_NEAREST);
    guide.setTo(0, cleared);
    return Matte(m_context.render(multiplyCompositing(matte, Matte(guide)), frame));
}

} // namespace zephrin
