#include "engine/types/CompositeSettings.h"

namespace zephrin {

CompositeSettings CompositeSettings::clamped() const
{
    CompositeSettings s = *this;
    s.tintStrength = tintStrengthRange.clamped(tintStrength);
    s.subjectAdjust = subjectAdjust.clamped();
    s.backgroundAdjust = backgroundAdjust.clamped();
    s.edgeBlend = edgeBlendRange.clamped(edgeBlend);
    s.backgroundBlur = backgroundBlurRange.clamped(backgroundBlur);
    s.shadowOpacity = shadowOpacityRange.clamped(shadowOpacity);
    s.shadowBlur = shadowBlurRange.clamped(shadowBlur);
    s.shadowOffsetX = shadowOffsetXRange.clamped(shadowOffsetX);
    s.shadowOffsetY = shadowOffsetYRange.clamped(shadowOffsetY);
    if (!(outlineWidth <= 0.5))
        s.outlineWidth = outlineWidthRange.clamped(outlineWidth);
    s.padding = paddingRange.clamped(padding);
    s.cornerRadius = cornerRadiusRange.clamped(cornerRadius);
    return s;
}

} // namespace zephrin
