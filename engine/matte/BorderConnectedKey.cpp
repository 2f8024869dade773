#include "engine/matte/BorderConnectedKey.h"

#include "engine/matte/BorderFlood.h"
#include "engine/matte/SoftColorKey.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cstring>

namespace zephrin {

namespace {

const cv::Mat& cross()
{
    static const cv::Mat kernel = cv::getStructuringElement(cv::MORPH_CROSS, {3, 3});
    return kernel;
}

// The key's values on the reached runs grown by one cross pass (the ring),
// 255 elsewhere: for output row y, the runs of row y widened by one pixel each
// side and the runs of rows y − 1 and y + 1 as they are.
cv::Mat keyedOnRing(const cv::Mat& keyMatte, const RowRuns& reached)
{
    const int w = keyMatte.cols, h = keyMatte.rows;
    cv::Mat out(keyMatte.size(), CV_8UC1);
    parallelRows(h, w, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* key = keyMatte.ptr(y);
            uchar* row = out.ptr(y);
            std::memset(row, 255, static_cast<size_t>(w));
            const auto copy = [&](int start, int end) {
                std::memcpy(row + start, key + start, static_cast<size_t>(end - start));
            };
            for (const Run& run : reached[y])
                copy(std::max(run.start - 1, 0), std::min(run.end + 1, w));
            if (y > 0)
                for (const Run& run : reached[y - 1])
                    copy(run.start, run.end);
            if (y + 1 < h)
                for (const Run& run : reached[y + 1])
                    copy(run.start, run.end);
        }
    });
    return out;
}

// Grows `area` by `passes` cross passes, each only into pixels of `allowed`
// (both CV_8UC1, nonzero = in). Breadth first, so only what grows is touched:
// pass 1 takes the allowed pixels outside the area next to it (one parallel
// scan), and every later pass the allowed, not yet taken neighbours of the
// pixels the pass before took. That is exactly the pass-by-pass rule.
void growWithin(cv::Mat& area, const cv::Mat& allowed, int passes)
{
    if (passes < 1)
        return;
    const int w = area.cols, h = area.rows;
    std::vector<std::vector<cv::Point>> firstPass(static_cast<size_t>(h));
    parallelRows(h, w, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* row = area.ptr(y);
            const uchar* above = y > 0 ? area.ptr(y - 1) : nullptr;
            const uchar* below = y + 1 < h ? area.ptr(y + 1) : nullptr;
            const uchar* open = allowed.ptr(y);
            for (int x = 0; x < w; ++x) {
                if (row[x] || !open[x])
                    continue;
                if ((x > 0 && row[x - 1]) || (x + 1 < w && row[x + 1]) || (above && above[x]) || (below && below[x]))
                    firstPass[y].emplace_back(x, y);
            }
        }
    });
    std::vector<cv::Point> taken, next;
    for (const auto& row : firstPass)
        taken.insert(taken.end(), row.begin(), row.end());
    for (const cv::Point p : taken)
        area.at<uchar>(p) = 255;

    for (int pass = 1; pass < passes && !taken.empty(); ++pass) {
        next.clear();
        for (const cv::Point p : taken)
            for (const cv::Point q : {cv::Point(p.x - 1, p.y), cv::Point(p.x + 1, p.y), cv::Point(p.x, p.y - 1),
                                      cv::Point(p.x, p.y + 1)}) {
                if (q.x < 0 || q.y < 0 || q.x >= w || q.y >= h)
                    continue;
                uchar& in = area.at<uchar>(q);
                if (!in && allowed.at<uchar>(q)) {
                    in = 255;
                    next.push_back(q);
                }
            }
        taken.swap(next);
    }
}

} // namespace

cv::Mat borderConnectedKey(const cv::Mat& keyMatte, int closeGaps)
{
    CV_Assert(keyMatte.type() == CV_8UC1);
    const int n = std::min(closeGaps, kMaxGapClosing);
    const int w = keyMatte.cols;
    if (n < 1) {
        const auto backdrop = [](uchar v) { return v < kBackdropBelow; };
        return keyedOnRing(keyMatte, floodFromBorder(rowRuns(keyMatte, backdrop), w));
    }

    // The grown foreground holds the whole foreground, so the candidates left
    // are exactly the pixels it does not cover. Outside the image counts as not
    // foreground (dilation's default border is the minimum).
    cv::Mat backdrop, held;
    cv::compare(keyMatte, kBackdropBelow, backdrop, cv::CMP_LT);
    cv::bitwise_not(backdrop, held);
    cv::dilate(held, held, cross(), {-1, -1}, n);
    cv::Mat reached = maskOf(floodFromBorder(rowRuns(held, [](uchar v) { return v == 0; }), w), keyMatte.size());

    growWithin(reached, backdrop, n);
    return keyedOnRing(keyMatte, rowRuns(reached, [](uchar v) { return v != 0; }));
}

} // namespace zephrin
