#include "output/sheet/PaperSize.h"

namespace zephrin {

QSizeF paperInches(PaperSize paper)
{
    switch (paper) {
    case PaperSize::letter: return {8.5, 11.0};
    case PaperSize::a4: return {8.27, 11.69};
    case PaperSize::fourBySix: return {4.0, 6.0};
    }
    return {8.5, 11.0};
}

} // namespace zephrin
