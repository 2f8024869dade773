#pragma once
// The paper a sticker sheet is printed on.

#include "engine/types/RawEnum.h"

#include <QSizeF>

namespace zephrin {

enum class PaperSize { letter, a4, fourBySix };

// The raw value of fourBySix holds the multiplication sign U+00D7.
constexpr RawValues<PaperSize, 3> rawValues(PaperSize)
{
    return {{
        {PaperSize::letter, u"US Letter"},
        {PaperSize::a4, u"A4"},
        {PaperSize::fourBySix, u"4 \u00D7 6 in"},
    }};
}

// Width and height in inches, portrait.
QSizeF paperInches(PaperSize paper);

} // namespace zephrin
