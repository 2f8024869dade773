// MatteEngine::fillHoles: enclosed background made opaque, at the matte's own
// resolution and touching nothing else.
//
// Stages, on W × H bytes each (W × H ≤ 2^30, the pixel layer's limit):
//   1. Background = value < 128. The background reached from the border through
//      background (4-neighbours) is the outside; the rest of it are the holes.
//   2. Each hole grows through its non-opaque neighbours (value < 255) into the
//      soft rim around it. A hole whose rim closes without meeting the outside
//      lies wholly inside the subject: hole and rim become 255, so no faint
//      ring marks where it was. A hole whose soft rim runs on to the outside
//      or to the frame (a ring too thin to be opaque anywhere) gets only its
//      background pixels filled.
// Everything else, the subject's own soft outline above all, keeps its bytes.
// Cost: a few passes over the matte plus scanline flood fills over the
// background and the holes' rims.

#include "engine/matte/MatteEngine.h"

#include <opencv2/imgproc.hpp>

namespace zephrin {

namespace {

// Labels of the working grid.
enum : uchar {
    kOpaque = 0,    // value 255
    kSoft = 1,      // 128 ≤ value < 255
    kHole = 2,      // value < 128, not (yet) reached from the border
    kOutside = 3,   // value < 128, reached from the border
    kInRim = 4,     // the component of a hole being filled
    kFilled = 5,    // done
};

cv::Mat labelled(const cv::Mat& grey)
{
    cv::Mat labels(grey.size(), CV_8UC1);
    static const cv::Mat table = [] {
        cv::Mat t(1, 256, CV_8UC1);
        for (int v = 0; v < 256; ++v)
            t.at<uchar>(v) = v == 255 ? kOpaque : v >= 128 ? kSoft : kHole;
        return t;
    }();
    cv::LUT(grey, table, labels);
    return labels;
}

// Floods every background region that touches the border with kOutside.
void markOutside(cv::Mat& labels)
{
    const int w = labels.cols;
    const int h = labels.rows;
    const auto flood = [&](int x, int y) {
        if (labels.at<uchar>(y, x) == kHole)
            cv::floodFill(labels, cv::Point(x, y), kOutside, nullptr, 0, 0, 4 | cv::FLOODFILL_FIXED_RANGE);
    };
    for (int x = 0; x < w; ++x) {
        flood(x, 0);
        flood(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        flood(0, y);
        flood(w - 1, y);
    }
}

// True when a pixel of `rim` (labels == kInRim within `box`) has an outside
// 4-neighbour or lies on the image border: a soft area running to the frame is
// the subject's edge, not the inside of a hole.
bool rimMeetsOutside(const cv::Mat& labels, cv::Rect box)
{
    for (int y = box.y; y < box.y + box.height; ++y) {
        const uchar* row = labels.ptr(y);
        for (int x = box.x; x < box.x + box.width; ++x) {
            if (row[x] != kInRim)
                continue;
            if (x == 0 || y == 0 || x + 1 == labels.cols || y + 1 == labels.rows)
                return true;
            if ((x > 0 && row[x - 1] == kOutside) || (x + 1 < labels.cols && row[x + 1] == kOutside)
                || (y > 0 && labels.ptr(y - 1)[x] == kOutside)
                || (y + 1 < labels.rows && labels.ptr(y + 1)[x] == kOutside))
                return true;
        }
    }
    return false;
}

} // namespace

std::optional<Matte> MatteEngine::fillHoles(const Matte& matte) const
{
    if (matte.width() < 1 || matte.height() < 1)
        return std::nullopt;
    cv::Mat grid = m_context.render(matte, matte.extent());
    cv::Mat labels = labelled(grid);
    markOutside(labels);
    if (cv::countNonZero(labels == kHole) == 0)
        return std::nullopt;

    // A hole and its soft rim form one component of non-opaque pixels: give them
    // one label so that a fixed-range flood joins exactly them. The grid still
    // tells the holes (value < 128) from the rims.
    labels.setTo(kSoft, labels == kHole);
    for (int y = 0; y < labels.rows; ++y) {
        for (int x = 0; x < labels.cols; ++x) {
            if (labels.ptr(y)[x] != kSoft || grid.ptr(y)[x] >= 128)
                continue;
            cv::Rect box;
            cv::floodFill(labels, cv::Point(x, y), kInRim, &box, 0, 0, 4 | cv::FLOODFILL_FIXED_RANGE);
            const bool open = rimMeetsOutside(labels, box);
            for (int yy = box.y; yy < box.y + box.height; ++yy) {
                uchar* component = labels.ptr(yy);
                uchar* out = grid.ptr(yy);
                for (int xx = box.x; xx < box.x + box.width; ++xx) {
                    if (component[xx] != kInRim)
                        continue;
                    component[xx] = kFilled;
                    if (!open || out[xx] < 128)
                        out[xx] = 255;
                }
            }
        }
    }
    return Matte(grid, matte.origin);
}

} // namespace zephrin
