#include "engine/matte/BorderFlood.h"

#include "engine/pixel/detail/ParallelRows.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace zephrin {

namespace {

// A maximal horizontal stretch of nonzero pixels, columns [start, end).
struct Run {
    int start;
    int end;
};

// The runs of every row, in order.
std::vector<std::vector<Run>> rowRuns(const cv::Mat& mask)
{
    std::vector<std::vector<Run>> rows(static_cast<size_t>(mask.rows));
    detail::parallelRows(mask.rows, mask.cols, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            const uchar* p = mask.ptr(y);
            std::vector<Run>& runs = rows[static_cast<size_t>(y)];
            int x = 0;
            while (x < mask.cols) {
                while (x < mask.cols && !p[x])
                    ++x;
                if (x == mask.cols)
                    break;
                const int start = x;
                while (x < mask.cols && p[x])
                    ++x;
                runs.push_back({start, x});
            }
        }
    });
    return rows;
}

} // namespace

cv::Mat floodFromBorder(const cv::Mat& mask)
{
    CV_Assert(mask.type() == CV_8UC1);
    const int w = mask.cols, h = mask.rows;
    const auto rows = rowRuns(mask);

    // Runs are numbered row by row: row y's runs are first[y] … first[y + 1] − 1.
    std::vector<size_t> first(static_cast<size_t>(h) + 1, 0);
    for (int y = 0; y < h; ++y)
        first[y + 1] = first[y] + rows[y].size();
    std::vector<char> reached(first[h], 0);
    std::vector<std::pair<int, size_t>> pending; // (row, index within the row)

    const auto reach = [&](int y, size_t i) {
        char& mark = reached[first[y] + i];
        if (!mark) {
            mark = 1;
            pending.emplace_back(y, i);
        }
    };
    for (int y = 0; y < h; ++y) {
        const auto& runs = rows[y];
        if (runs.empty())
            continue;
        if (y == 0 || y == h - 1) {
            for (size_t i = 0; i < runs.size(); ++i)
                reach(y, i);
            continue;
        }
        if (runs.front().start == 0)
            reach(y, 0);
        if (runs.back().end == w)
            reach(y, runs.size() - 1);
    }

    while (!pending.empty()) {
        const auto [y, i] = pending.back();
        pending.pop_back();
        const Run run = rows[y][i];
        for (const int ny : {y - 1, y + 1}) {
            if (ny < 0 || ny >= h)
                continue;
            const auto& next = rows[ny];
            // The first run of the neighbouring row that ends after this one starts.
            auto it = std::partition_point(next.begin(), next.end(), [&](const Run& r) { return r.end <= run.start; });
            for (; it != next.end() && it->start < run.end; ++it)
                reach(ny, static_cast<size_t>(it - next.begin()));
        }
    }

    cv::Mat out(mask.size(), CV_8UC1);
    detail::parallelRows(h, w, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            uchar* row = out.ptr(y);
            std::memset(row, 0, static_cast<size_t>(w));
            for (size_t i = 0; i < rows[y].size(); ++i)
                if (reached[first[y] + i])
                    std::memset(row + rows[y][i].start, 255, static_cast<size_t>(rows[y][i].end - rows[y][i].start));
        }
    });
    return out;
}

} // namespace zephrin
