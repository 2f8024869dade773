#include "engine/matte/BorderFlood.h"

#include <algorithm>
#include <cstring>

namespace zephrin {

RowRuns floodFromBorder(const RowRuns& rows, int width)
{
    const int h = static_cast<int>(rows.size());
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
        if (runs.back().end == width)
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

    RowRuns kept(rows.size());
    for (int y = 0; y < h; ++y)
        for (size_t i = 0; i < rows[y].size(); ++i)
            if (reached[first[y] + i])
                kept[y].push_back(rows[y][i]);
    return kept;
}

cv::Mat maskOf(const RowRuns& runs, cv::Size size)
{
    cv::Mat mask(size, CV_8UC1);
    parallelRows(size.height, size.width, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y) {
            uchar* row = mask.ptr(y);
            std::memset(row, 0, static_cast<size_t>(size.width));
            for (const Run& run : runs[y])
                std::memset(row + run.start, 255, static_cast<size_t>(run.end - run.start));
        }
    });
    return mask;
}

} // namespace zephrin
