#include "engine/matte/BorderFlood.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace zephrin {

namespace {

// Disjoint sets over the runs, each set named by its smallest run number, so
// that a run's parent never comes after it.
class RunSets {
public:
    explicit RunSets(std::uint32_t count) : m_parent(count)
    {
        for (std::uint32_t i = 0; i < count; ++i)
            m_parent[i] = i;
    }

    void unite(std::uint32_t a, std::uint32_t b)
    {
        a = find(a);
        b = find(b);
        if (a != b)
            m_parent[std::max(a, b)] = std::min(a, b);
    }

    // Every run's set, in one pass: a parent's set is known before its child's.
    std::vector<std::uint32_t> names() const
    {
        std::vector<std::uint32_t> name(m_parent.size());
        for (size_t i = 0; i < name.size(); ++i)
            name[i] = m_parent[i] == i ? std::uint32_t(i) : name[m_parent[i]];
        return name;
    }

private:
    std::uint32_t find(std::uint32_t i)
    {
        while (m_parent[i] != i) {
            m_parent[i] = m_parent[m_parent[i]]; // path halving
            i = m_parent[i];
        }
        return i;
    }

    std::vector<std::uint32_t> m_parent;
};

// Joins the runs of row y with the overlapping runs of row y + 1. Both rows'
// runs are in order, so one sweep finds every overlapping pair.
void joinRows(RunSets& sets, const RowRuns& rows, const std::vector<std::uint32_t>& first, int y)
{
    const auto& above = rows[y];
    const auto& below = rows[y + 1];
    size_t i = 0, j = 0;
    while (i < above.size() && j < below.size()) {
        if (above[i].end <= below[j].start) {
            ++i;
        } else if (below[j].end <= above[i].start) {
            ++j;
        } else {
            sets.unite(first[y] + std::uint32_t(i), first[y + 1] + std::uint32_t(j));
            above[i].end < below[j].end ? ++i : ++j;
        }
    }
}

} // namespace

RowRuns floodFromBorder(const RowRuns& rows, int width)
{
    const int h = static_cast<int>(rows.size());
    // Runs are numbered row by row: row y's runs are first[y] … first[y + 1] − 1;
    // the number after the last stands for the border.
    std::vector<std::uint32_t> first(static_cast<size_t>(h) + 1, 0);
    for (int y = 0; y < h; ++y)
        first[y + 1] = first[y] + static_cast<std::uint32_t>(rows[y].size());
    const std::uint32_t border = first[h];
    RunSets sets(border + 1);

    // Bands of rows are joined side by side: a band's runs are numbered apart
    // from every other band's, so its sets never touch theirs. The rows where
    // two bands meet are joined afterwards, one after another.
    const int bands = std::clamp(h / 16, 1, 4 * std::max(1, cv::getNumThreads()));
    const auto bandStart = [&](int band) { return int(std::int64_t(h) * band / bands); };
    const auto joinBands = [&](const cv::Range& range) {
        for (int band = range.start; band < range.end; ++band)
            for (int y = bandStart(band); y + 1 < bandStart(band + 1); ++y)
                joinRows(sets, rows, first, y);
    };
    if (bands > 1 && border >= 4096)
        cv::parallel_for_(cv::Range(0, bands), joinBands, bands);
    else
        joinBands(cv::Range(0, bands));
    for (int band = 1; band < bands; ++band)
        joinRows(sets, rows, first, bandStart(band) - 1);

    for (int y = 0; y < h; ++y) {
        const auto& runs = rows[y];
        if (runs.empty())
            continue;
        if (y == 0 || y == h - 1) {
            for (std::uint32_t i = 0; i < runs.size(); ++i)
                sets.unite(border, first[y] + i);
        } else {
            if (runs.front().start == 0)
                sets.unite(border, first[y]);
            if (runs.back().end == width)
                sets.unite(border, first[y + 1] - 1);
        }
    }

    const std::vector<std::uint32_t> set = sets.names();
    RowRuns kept(rows.size());
    parallelRows(h, std::int64_t(border / std::max(h, 1)) * 64, [&](int firstRow, int endRow) {
        for (int y = firstRow; y < endRow; ++y)
            for (size_t i = 0; i < rows[y].size(); ++i)
                if (set[first[y] + i] == set[border])
                    kept[y].push_back(rows[y][i]);
    });
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
