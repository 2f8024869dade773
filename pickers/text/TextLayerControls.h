#pragma once
// The numbers behind the text and label controls of the text panel: each
// slider's range and step as the panel shows them (percent for the fractions
// a layer stores, the curve as it is), the text beside each slider, and what
// the effect chips write. Ranges and steps come from TextLayer's own
// SettingRanges; every value text snaps the value to its slider's step before
// it rounds or truncates, so a stored 0.57 reads 57 % rather than 56 %.

#include "engine/types/RGBAColor.h"
#include "engine/types/SettingRange.h"

#include <QString>

#include <optional>

namespace zephrin::textcontrols {

// One slider over a TextLayer field: the field's stored value times `scale`
// is what the slider shows; `shown` is its range, step and default in those units.
struct Slider {
    double scale = 1;
    SettingRange shown;
};

// The slider of "size", "outline", "effectSize", "curve", "border",
// "labelFill", "shapeW" or "shapeH"; none for another field.
std::optional<Slider> slider(const QString& field);

// The text beside that slider for a shown value:
//   size                        the value rounded, then "%"
//   outline, border             "Off" below 0.25, else the value rounded, then "%"
//   effectSize, labelFill,
//   shapeW, shapeH              the value truncated, then "%"
//   curve                       "Straight" below 0.5 either way, else "Arch N" or "Smile N" (truncated)
// Empty for another field.
QString valueText(const QString& field, double shown);

// The effect chips: their effects in order, and each one's title.
inline constexpr const char16_t* kEffects[] = {u"none", u"shadow", u"glow"};
QString effectTitle(const QString& effect);

// The effect colour to write after choosing `effect`: white at 0.9 for a glow
// whose colour is fainter than 0.9, black at 0.6 for a shadow whatever it was,
// none (leave it) otherwise.
std::optional<RGBAColor> effectColorFor(const QString& effect, RGBAColor current);

} // namespace zephrin::textcontrols
