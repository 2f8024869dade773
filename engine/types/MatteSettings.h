#pragma once
// The refinement choices that turn a raw matte into the cutout.

#include "engine/types/EdgeRefineMode.h"

namespace zephrin {

// Every holder fills all five fields. The member values are the ones the editor
// starts from and the automation always uses, so that no field is ever left
// uninitialised.
struct MatteSettings {
    bool fillHoles = false;                       // fill enclosed holes of the matte
    EdgeRefineMode edgeMode = EdgeRefineMode::smooth;
    double feather = 0.6;                         // edge feather, pixels
    bool decontaminateEnabled = true;             // un-blend background colour from edge pixels
    double decontaminate = 30;                    // strength of that, percent (0 to 100)

    friend bool operator==(const MatteSettings&, const MatteSettings&) = default;
};

} // namespace zephrin
