#pragma once
// The fields of the settings records by name, for QML: reading a record as a
// map of its fields and changing one field by name. A field's QML value is the
// same conversion both ways (see QmlValues.h), so writing back what was read
// changes nothing.
//
//     CompositeSettings: crop, mirror, colorMode, fillColor, tintColor,
//       tintStrength, subjectAdjust, backgroundAdjust, backgroundMode,
//       backgroundColor, edgeBlend, backgroundBlur, shadowEnabled,
//       shadowOpacity, shadowBlur, shadowOffsetX, shadowOffsetY,
//       outlineEnabled, outlineWidth, outlineColor, trimToContent, padding,
//       aspect, shapeCrop, cornerRadius, texts
//     AdjustSettings: exposure, contrast, saturation, warmth
//     TextLayer: id (read only), text, fontName, fontLabel, fontID, size,
//       color, x, y, bold, italic, outline, outlineColor, effect, effectColor,
//       effectSize, curve, shape, shapeW, shapeH, fill, border, borderColor,
//       knockout, labelFill

#include "engine/text/TextLayer.h"
#include "engine/types/AdjustSettings.h"
#include "engine/types/CompositeSettings.h"
#include "engine/types/SettingRange.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

namespace zephrin::qml {

QVariantMap fieldMap(const AdjustSettings& adjust);
QVariantMap fieldMap(const TextLayer& layer);
QVariantMap fieldMap(const CompositeSettings& settings);

// The record with the one field set from the QML value; none for an unknown
// field or a value of the wrong kind. A value that reads as the current one
// leaves the record as it is. Numbers are taken as they come: clamping them
// is the record owner's business.
std::optional<AdjustSettings> withField(const AdjustSettings& adjust, const QString& field, const QVariant& value);
std::optional<TextLayer> withField(const TextLayer& layer, const QString& field, const QVariant& value);
std::optional<CompositeSettings> withField(const CompositeSettings& settings, const QString& field,
                                           const QVariant& value);

// The record with every field of the map that differs from its current QML
// value set; none when one of them is unknown or of the wrong kind.
std::optional<CompositeSettings> withFields(const CompositeSettings& settings, const QVariantMap& fields);

// The range of a numeric field of the record, by field name; none for another name.
std::optional<SettingRange> compositeRange(const QString& field);
std::optional<SettingRange> adjustRange(const QString& field);
std::optional<SettingRange> textLayerRange(const QString& field);

} // namespace zephrin::qml
