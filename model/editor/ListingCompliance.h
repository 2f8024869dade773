#pragma once
// Whether a result meets the requirements of a listing preset, row by row, as
// the resize panel's checklist and the export sheet show them. Pure functions
// of the values they are handed; the editor gathers those from its state on
// every read, so a list is never stale.

#include "engine/types/CompositeSettings.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/ListingPreset.h"

#include <QSize>
#include <QSizeF>
#include <QString>
#include <QUuid>

#include <optional>
#include <vector>

namespace zephrin {

// One requirement: met or not, worded with the current values where the row
// has them. The id is new for every computation.
struct ComplianceItem {
    QUuid id;
    bool ok = false;
    QString text;
};

// Everything the checks read. They judge the file an export writes: the
// composite at the export's long edge (never enlarged), flattened on white
// where the format or the transparency switch keeps no alpha.
struct ComplianceInputs {
    QSize composite;                  // pixels
    int exportLongEdge = 0;           // pixels
    ExportFormat exportFormat = ExportFormat::png;
    bool transparentBackground = true;
    CompositeSettings comp;
    bool hasBackgroundImage = false;
    std::optional<double> subjectFill;   // share 0–1 of the frame; none when unmeasured
    double subjectWhiteFraction = 0;     // share 0–1 of the subject's pixels
    int svgColors = 1;
};

// How much of a composite of that size the subject fills: the larger of its
// width and height shares. None without a composite or a measured subject.
std::optional<double> subjectFillFraction(QSizeF subjectBounds, QSize composite);

// The longer side in pixels that the preset asks for at least; none for the
// presets with no such floor.
std::optional<int> minimumLongSide(ListingPreset preset);

// The preset's rows in display order; empty for an empty composite.
std::vector<ComplianceItem> complianceItems(ListingPreset preset, const ComplianceInputs& inputs);

} // namespace zephrin
