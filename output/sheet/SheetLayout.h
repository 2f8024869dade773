#pragma once
// Where every copy of a sticker sheet goes (SheetEngine::layout).

#include "output/sheet/SheetPlacement.h"

#include <QHash>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <vector>

namespace zephrin {

// Copies the user placed by hand: pin key (SheetPlacement::pinKey) → the
// top-left corner wanted for that copy's cell, in page coordinates (inches).
// Keys of copies that no longer exist are ignored.
using SheetPins = QHash<QString, QPointF>;

struct SheetLayout {
    // The copies placed at their pins first, in sorted order, then the packed
    // copies in the order they were packed.
    std::vector<SheetPlacement> placements;
    std::int64_t placedCount = 0;      // entries of placements
    std::int64_t requestedCount = 0;   // copies asked for: the sum of the positive counts

    friend bool operator==(const SheetLayout&, const SheetLayout&) = default;
};

} // namespace zephrin
