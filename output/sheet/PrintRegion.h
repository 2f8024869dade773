#pragma once
// Where on the paper stickers may go, by the kind of cutter that will cut them.
// silhouette and margins give the same area (SheetSettings::printableArea);
// they differ only in what the sheet panel explains.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class PrintRegion { cricut, silhouette, margins };

constexpr RawValues<PrintRegion, 3> rawValues(PrintRegion)
{
    return {{
        {PrintRegion::cricut, u"Cricut Print then Cut"},
        {PrintRegion::silhouette, u"Silhouette / full sheet"},
        {PrintRegion::margins, u"Printer margins"},
    }};
}

} // namespace zephrin
