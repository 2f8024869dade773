#pragma once
// Which finder produces the subject matte: the engine's own classical subject
// finder, or the IS-Net segmentation network. The editor stores the raw value in
// its settings, so the raw values are a stored format.

#include "engine/types/RawEnum.h"

namespace zephrin {

enum class MatteModel { apple, isnet };

constexpr RawValues<MatteModel, 2> rawValues(MatteModel)
{
    return {{
        {MatteModel::apple, u"Subject Lift"},
        {MatteModel::isnet, u"IS-Net"},
    }};
}

} // namespace zephrin
