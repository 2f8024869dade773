#include "engine/matte/BorderConnectedKey.h"

#include "engine/matte/BorderFlood.h"
#include "engine/matte/SoftColorKey.h"
#include "engine/matte/SoftKey.h"

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
// side and the runs of rows y − 1 and y + 1 as they are. keyRow(y, start, end,
// out) writes the key's values of row y's columns [start, end) to out[start …].
template <class KeyRow>
cv::Mat keyedOnRing(cv::Size size, const RowRuns& reached, KeyRow keyRow)
{
    const int w = size.width, h = size.height;
    cv::Mat out(size, CV_8UC1);
    parallelRows(h, w, [&](int firstRow, int endRow) {
        std::vector<Run> widened, neighbours, ring;
        const std::vector<Run> none;
        const auto byStart = [](const Run& a, const Run& b) { return a.start < b.start; };
        for (int y = firstRow; y < endRow; ++y) {
            // The three rows' runs, each in order, merged into one order.
            widened.clear();
            for (const Run& run : reached[y])
                widened.push_back({std::max(run.start - 1, 0), std::min(run.end + 1, w)});
            const std::vector<Run>& above = y > 0 ? reached[y - 1] : none;
            const std::vector<Run>& below = y + 1 < h ? reached[y + 1] : none;
            neighbours.resize(above.size() + below.size());
            std::merge(above.begin(), above.end(), below.begin(), below.end(), neighbours.begin(), byStart);
            ring.resize(widened.size() + neighbours.size());
            std::merge(widened.begin(), widened.end(), neighbours.begin(), neighbours.end(), ring.begin(), byStart);

            // Each column is keyed once: overlapping spans are merged first.
            uchar* row = out.ptr(y);
            int done = 0;
            const auto fill = [&](int start, int end) {
                std::memset(row + done, 255, static_cast<size_t>(start - done));
                keyRow(y, start, end, row);
                done = end;
            };
            int start = 0, end = 0;
            for (const Run& run : ring) {
                if (run.start > end) {
                    if (end > start)
                        fill(start, end);
                    start = run.start;
                }
                end = std::max(end, run.end);
            }
            if (end > start)
                fill(start, end);
            std::memset(row + done, 255, static_cast<size_t>(w - done));
        }
    });
    return out;
}

cv::Mat keyedOnRing(const cv::Mat& keyMatte, const RowRuns& reached)
{
    return keyedOnRing(keyMatte.size(), reached, [&](int y, int start, int end, uchar* row) {
        std::memcpy(row + start, keyMatte.ptr(y) + start, static_cast<size_t>(end - start));
    });
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

// The backdrop (CV_8UC1, nonzero = backdrop) reached from the border with
// `n` passes of gap closing, steps 2 to 4 above.
RowRuns reachedWithGapsClosed(const cv::Mat& backdrop, int n)
{
    // The grown foreground holds the whole foreground, so the candidates left
    // are exactly the pixels it does not cover. Outside the image counts as not
    // foreground (dilation's default border is the minimum).
    cv::Mat held;
    cv::bitwise_not(backdrop, held);
    cv::dilate(held, held, cross(), {-1, -1}, n);
    cv::Mat reached = maskOf(floodFromBorder(rowRuns(held, [](uchar v) { return v == 0; }), backdrop.cols),
                             backdrop.size());
    growWithin(reached, backdrop, n);
    return rowRuns(reached, [](uchar v) { return v != 0; });
}

} // namespace

cv::Mat borderConnectedKey(const cv::Mat& keyMatte, int closeGaps)
{
    CV_Assert(keyMatte.type() == CV_8UC1);
    const int n = std::min(closeGaps, kMaxGapClosing);
    if (n < 1) {
        const auto backdrop = [](uchar v) { return v < kBackdropBelow; };
        return keyedOnRing(keyMatte, floodFromBorder(rowRuns(keyMatte, backdrop), keyMatte.cols));
    }
    cv::Mat backdrop;
    cv::compare(keyMatte, kBackdropBelow, backdrop, cv::CMP_LT);
    return keyedOnRing(keyMatte, reachedWithGapsClosed(backdrop, n));
}

namespace {

// The reached backdrop of RGBA bytes, the backdrop being the key's isBackdrop.
RowRuns reachedBackdrop(const cv::Mat& rgba, const SoftKey& key, int closeGaps)
{
    CV_Assert(rgba.type() == CV_8UC4);
    const int n = std::min(closeGaps, kMaxGapClosing);
    if (n < 1)
        return floodFromBorder(pixelRuns<4>(rgba, [&](const uchar* pixel) { return key.isBackdrop(pixel); }),
                               rgba.cols);
    cv::Mat backdrop(rgba.size(), CV_8UC1);
    parallelRows(rgba.rows, rgba.cols, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* pixels = rgba.ptr(y);
            uchar* out = backdrop.ptr(y);
            for (int x = 0; x < rgba.cols; ++x)
                out[x] = key.isBackdrop(pixels + 4 * x) ? 255 : 0;
        }
    });
    return reachedWithGapsClosed(backdrop, n);
}

} // namespace

cv::Mat borderConnectedKey(const cv::Mat& rgba, const SoftKey& key, int closeGaps)
{
    return keyedOnRing(rgba.size(), reachedBackdrop(rgba, key, closeGaps), [&](int y, int start, int end, uchar* row) {
        const uchar* pixels = rgba.ptr(y);
        for (int x = start; x < end; ++x)
            row[x] = key.byte(pixels + 4 * x);
    });
}

} // namespace zephrin
