#include "model/qml/SettingsFields.h"

#include "model/qml/QmlValues.h"

#include <QUuid>

#include <functional>
#include <vector>

namespace zephrin::qml {

namespace {

// One named field of a record S: its QML value and how to set it.
template <typename S>
struct Field {
    const char* name;
    std::function<QVariant(const S&)> get;
    std::function<bool(S&, const QVariant&)> set;   // false: the value does not fit
    std::optional<SettingRange> range = std::nullopt;  // what the controls offer
};

// A number field. Its range is what the controls offer; the record's owner
// clamps (the canvas's handles may take a text layer beyond its sliders).
template <typename S>
Field<S> numberField(const char* name, double S::*member, std::optional<SettingRange> range = std::nullopt)
{
    return {name, [member](const S& s) { return QVariant(s.*member); },
            [member](S& s, const QVariant& v) {
                const auto n = number(v);
                if (n)
                    s.*member = *n;
                return n.has_value();
            },
            range};
}

template <typename S>
Field<S> boolField(const char* name, bool S::*member)
{
    return {name, [member](const S& s) { return QVariant(s.*member); },
            [member](S& s, const QVariant& v) {
                const auto b = boolean(v);
                if (b)
                    s.*member = *b;
                return b.has_value();
            }};
}

template <typename S>
Field<S> colorField(const char* name, RGBAColor S::*member)
{
    return {name, [member](const S& s) { return QVariant(color(s.*member)); },
            [member](S& s, const QVariant& v) {
                const auto c = rgbaColor(v);
                if (c)
                    s.*member = *c;
                return c.has_value();
            }};
}

template <typename S>
Field<S> textField(const char* name, QString S::*member)
{
    return {name, [member](const S& s) { return QVariant(s.*member); },
            [member](S& s, const QVariant& v) {
                if (v.typeId() != QMetaType::QString)
                    return false;
                s.*member = v.toString();
                return true;
            }};
}

template <typename S, typename E>
Field<S> enumField(const char* name, E S::*member)
{
    return {name, [member](const S& s) { return QVariant(rawValue(s.*member)); },
            [member](S& s, const QVariant& v) {
                const auto e = enumValue<E>(v);
                if (e)
                    s.*member = *e;
                return e.has_value();
            }};
}

template <typename S>
Field<S> adjustField(const char* name, AdjustSettings S::*member)
{
    return {name, [member](const S& s) { return QVariant(fieldMap(s.*member)); },
            [member](S& s, const QVariant& v) {
                if (v.typeId() != QMetaType::QVariantMap)
                    return false;
                AdjustSettings adjust = s.*member;
                const QVariantMap fields = v.toMap();
                for (auto it = fields.begin(); it != fields.end(); ++it) {
                    const auto changed = withField(adjust, it.key(), it.value());
                    if (!changed)
                        return false;
                    adjust = *changed;
                }
                s.*member = adjust;
                return true;
            }};
}

const std::vector<Field<AdjustSettings>>& adjustFields()
{
    static const std::vector<Field<AdjustSettings>> fields{
        numberField("exposure", &AdjustSettings::exposure, AdjustSettings::exposureRange),
        numberField("contrast", &AdjustSettings::contrast, AdjustSettings::contrastRange),
        numberField("saturation", &AdjustSettings::saturation, AdjustSettings::saturationRange),
        numberField("warmth", &AdjustSettings::warmth, AdjustSettings::warmthRange),
    };
    return fields;
}

const std::vector<Field<TextLayer>>& textLayerFields()
{
    using L = TextLayer;
    static const std::vector<Field<L>> fields{
        {"id", [](const L& l) { return QVariant(l.id.toString(QUuid::WithoutBraces)); },
         [](L& l, const QVariant& v) { return v.typeId() == QMetaType::QString && QUuid::fromString(v.toString()) == l.id; }},
        textField("text", &L::text),
        textField("fontName", &L::fontName),
        textField("fontLabel", &L::fontLabel),
        {"fontID", [](const L& l) { return optional(l.fontID); },
         [](L& l, const QVariant& v) {
             if (isNone(v)) {
                 l.fontID.reset();
                 return true;
             }
             if (v.typeId() != QMetaType::QString)
                 return false;
             l.fontID = v.toString();
             return true;
         }},
        numberField("size", &L::size, L::sizeRange),
        colorField("color", &L::color),
        numberField("x", &L::x),
        numberField("y", &L::y),
        boolField("bold", &L::bold),
        boolField("italic", &L::italic),
        numberField("outline", &L::outline, L::outlineRange),
        colorField("outlineColor", &L::outlineColor),
        textField("effect", &L::effect),
        colorField("effectColor", &L::effectColor),
        numberField("effectSize", &L::effectSize, L::effectSizeRange),
        numberField("curve", &L::curve, L::curveRange),
        textField("shape", &L::shape),
        numberField("shapeW", &L::shapeW, L::shapeWRange),
        numberField("shapeH", &L::shapeH, L::shapeHRange),
        colorField("fill", &L::fill),
        numberField("border", &L::border, L::borderRange),
        colorField("borderColor", &L::borderColor),
        boolField("knockout", &L::knockout),
        numberField("labelFill", &L::labelFill, L::labelFillRange),
    };
    return fields;
}

QVariantList textsList(const QList<TextLayer>& texts)
{
    QVariantList list;
    for (const TextLayer& layer : texts)
        list.append(fieldMap(layer));
    return list;
}

// Layers from a list of field maps: each map changes the layer with its id
// (a new layer with that id when there is none; a fresh id when it has none).
std::optional<QList<TextLayer>> textsFrom(const QList<TextLayer>& current, const QVariant& value)
{
    if (value.typeId() != QMetaType::QVariantList)
        return std::nullopt;
    QList<TextLayer> result;
    for (const QVariant& element : value.toList()) {
        if (element.typeId() != QMetaType::QVariantMap)
            return std::nullopt;
        QVariantMap fields = element.toMap();
        TextLayer layer = TextLayer::makeDefault();
        if (const QVariant id = fields.take(QStringLiteral("id")); id.isValid()) {
            const QUuid uuid = QUuid::fromString(id.toString());
            if (uuid.isNull())
                return std::nullopt;
            layer.id = uuid;
            for (const TextLayer& existing : current)
                if (existing.id == uuid)
                    layer = existing;
        }
        for (auto it = fields.begin(); it != fields.end(); ++it) {
            const auto changed = withField(layer, it.key(), it.value());
            if (!changed)
                return std::nullopt;
            layer = *changed;
        }
        result.append(layer);
    }
    return result;
}

const std::vector<Field<CompositeSettings>>& compositeFields()
{
    using C = CompositeSettings;
    static const std::vector<Field<C>> fields{
        {"crop", [](const C& c) { return optional(c.crop); },
         [](C& c, const QVariant& v) {
             if (isNone(v)) {
                 c.crop.reset();
                 return true;
             }
             const auto r = rect(v);
             if (r)
                 c.crop = *r;
             return r.has_value();
         }},
        boolField("mirror", &C::mirror),
        enumField("colorMode", &C::colorMode),
        colorField("fillColor", &C::fillColor),
        colorField("tintColor", &C::tintColor),
        numberField("tintStrength", &C::tintStrength, C::tintStrengthRange),
        adjustField("subjectAdjust", &C::subjectAdjust),
        adjustField("backgroundAdjust", &C::backgroundAdjust),
        enumField("backgroundMode", &C::backgroundMode),
        colorField("backgroundColor", &C::backgroundColor),
        numberField("edgeBlend", &C::edgeBlend, C::edgeBlendRange),
        numberField("backgroundBlur", &C::backgroundBlur, C::backgroundBlurRange),
        boolField("shadowEnabled", &C::shadowEnabled),
        numberField("shadowOpacity", &C::shadowOpacity, C::shadowOpacityRange),
        numberField("shadowBlur", &C::shadowBlur, C::shadowBlurRange),
        numberField("shadowOffsetX", &C::shadowOffsetX, C::shadowOffsetXRange),
        numberField("shadowOffsetY", &C::shadowOffsetY, C::shadowOffsetYRange),
        boolField("outlineEnabled", &C::outlineEnabled),
        numberField("outlineWidth", &C::outlineWidth, C::outlineWidthRange),
        colorField("outlineColor", &C::outlineColor),
        boolField("trimToContent", &C::trimToContent),
        numberField("padding", &C::padding, C::paddingRange),
        enumField("aspect", &C::aspect),
        enumField("shapeCrop", &C::shapeCrop),
        numberField("cornerRadius", &C::cornerRadius, C::cornerRadiusRange),
        {"texts", [](const C& c) { return QVariant(textsList(c.texts)); },
         [](C& c, const QVariant& v) {
             const auto texts = textsFrom(c.texts, v);
             if (texts)
                 c.texts = *texts;
             return texts.has_value();
         }},
    };
    return fields;
}

template <typename S>
QVariantMap mapOf(const S& record, const std::vector<Field<S>>& fields)
{
    QVariantMap map;
    for (const Field<S>& field : fields)
        map.insert(QString::fromLatin1(field.name), field.get(record));
    return map;
}

template <typename S>
std::optional<S> withOne(const S& record, const std::vector<Field<S>>& fields, const QString& name,
                         const QVariant& value)
{
    for (const Field<S>& field : fields) {
        if (name != QLatin1String(field.name))
            continue;
        if (field.get(record) == value)
            return record;
        S changed = record;
        if (!field.set(changed, value))
            return std::nullopt;
        return changed;
    }
    return std::nullopt;
}

template <typename S>
std::optional<SettingRange> rangeOf(const std::vector<Field<S>>& fields, const QString& name)
{
    for (const Field<S>& field : fields)
        if (name == QLatin1String(field.name))
            return field.range;
    return std::nullopt;
}

} // namespace

std::optional<SettingRange> compositeRange(const QString& field)
{
    return rangeOf(compositeFields(), field);
}

std::optional<SettingRange> adjustRange(const QString& field)
{
    return rangeOf(adjustFields(), field);
}

std::optional<SettingRange> textLayerRange(const QString& field)
{
    return rangeOf(textLayerFields(), field);
}

QVariantMap fieldMap(const AdjustSettings& adjust)
{
    return mapOf(adjust, adjustFields());
}

QVariantMap fieldMap(const TextLayer& layer)
{
    return mapOf(layer, textLayerFields());
}

QVariantMap fieldMap(const CompositeSettings& settings)
{
    return mapOf(settings, compositeFields());
}

std::optional<AdjustSettings> withField(const AdjustSettings& adjust, const QString& field, const QVariant& value)
{
    return withOne(adjust, adjustFields(), field, value);
}

std::optional<TextLayer> withField(const TextLayer& layer, const QString& field, const QVariant& value)
{
    return withOne(layer, textLayerFields(), field, value);
}

std::optional<CompositeSettings> withField(const CompositeSettings& settings, const QString& field,
                                           const QVariant& value)
{
    return withOne(settings, compositeFields(), field, value);
}

std::optional<CompositeSettings> withFields(const CompositeSettings& settings, const QVariantMap& fields)
{
    CompositeSettings result = settings;
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        const auto changed = withField(result, it.key(), it.value());
        if (!changed)
            return std::nullopt;
        result = *changed;
    }
    return result;
}

} // namespace zephrin::qml
