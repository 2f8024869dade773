// EditorState: the QML faces of its properties and the helpers that let QML
// change one field of a settings record. Every face converts both ways with
// the same rules (model/qml/QmlValues.h), so a value QML writes back as it
// read it is an equal write and changes nothing.

#include "model/editor/EditorState.h"

#include "model/qml/QmlValues.h"
#include "model/qml/SettingsFields.h"

#include "engine/matte/MatteEngine.h"

#include <QUuid>

namespace zephrin {

namespace {

template <RawEnum E, typename Setter>
void setFromLabel(const QString& label, Setter set)
{
    if (const auto value = fromRaw<E>(label))
        set(*value);
}

// Writes a colour from QML unless QML shows it as the current one already.
template <typename Setter>
void setFromColor(const QColor& value, const RGBAColor& current, Setter set)
{
    if (const auto c = qml::rgbaColor(value); c && !qml::sameInQml(*c, current))
        set(*c);
}

// A number is what a slider writes: the writes of one field merge into one
// history step until the slider lets go (commitHistory). Other values (a
// switch, a colour, a choice) are a step each.
QString sliderMergeKey(const QString& prefix, const QString& field, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
        return prefix + field;
    default:
        return {};
    }
}

QString uuidText(QUuid id)
{
    return id.isNull() ? QString() : id.toString(QUuid::WithoutBraces);
}

QVariant imageVariant(const std::optional<ImageBox>& box)
{
    return box ? QVariant(toQImage(box->image())) : QVariant();
}

} // namespace

QString EditorState::qmlTool() const { return rawValue(m_tool); }
void EditorState::setQmlTool(const QString& value) { setFromLabel<EditorTool>(value, [this](auto v) { setTool(v); }); }

QVariant EditorState::qmlDocument() const
{
    if (!m_document)
        return {};
    return QVariantMap{{QStringLiteral("id"), uuidText(m_document->id)},
                       {QStringLiteral("url"), m_document->url},
                       {QStringLiteral("name"), m_document->name},
                       {QStringLiteral("fileSize"), m_document->fileSize},
                       {QStringLiteral("width"), m_document->width()},
                       {QStringLiteral("height"), m_document->height()}};
}

QVariant EditorState::qmlCutout() const { return imageVariant(m_cutout); }
QVariant EditorState::qmlComposite() const { return imageVariant(m_composite); }

QVariantMap EditorState::qmlCompositeFrame() const
{
    return {{QStringLiteral("x"), m_compositeFrame.origin.x()},
            {QStringLiteral("y"), m_compositeFrame.origin.y()},
            {QStringLiteral("scale"), m_compositeFrame.scale},
            {QStringLiteral("mirror"), m_compositeFrame.mirror},
            {QStringLiteral("width"), m_compositeFrame.width}};
}
QVariant EditorState::qmlBackgroundImage() const { return imageVariant(backgroundImage()); }

QImage EditorState::documentImage() const { return m_document ? toQImage(m_document->image.image()) : QImage(); }
QImage EditorState::cutoutImage() const { return m_cutout ? toQImage(m_cutout->image()) : QImage(); }
QImage EditorState::compositeImage() const { return m_composite ? toQImage(m_composite->image()) : QImage(); }

QColor EditorState::qmlCustomBackdropA() const { return qml::color(m_customBackdropA); }
void EditorState::setQmlCustomBackdropA(const QColor& value)
{
    setFromColor(value, m_customBackdropA, [this](RGBAColor c) { setCustomBackdropA(c); });
}
QColor EditorState::qmlCustomBackdropB() const { return qml::color(m_customBackdropB); }
void EditorState::setQmlCustomBackdropB(const QColor& value)
{
    setFromColor(value, m_customBackdropB, [this](RGBAColor c) { setCustomBackdropB(c); });
}
QString EditorState::qmlCustomBackdropShape() const { return rawValue(m_customBackdropShape); }
void EditorState::setQmlCustomBackdropShape(const QString& value)
{
    setFromLabel<CustomBackdropShape>(value, [this](auto v) { setCustomBackdropShape(v); });
}

QVariantMap EditorState::qmlComp() const { return qml::fieldMap(m_comp); }
void EditorState::setQmlComp(const QVariantMap& value)
{
    if (const auto settings = qml::withFields(m_comp, value))
        setComp(*settings);
}

bool EditorState::setComp(const QString& field, const QVariant& value)
{
    const auto settings = qml::withField(m_comp, field, value);
    if (settings)
        setComp(*settings, sliderMergeKey(QStringLiteral("comp."), field, value));
    return settings.has_value();
}

bool EditorState::setAdjust(const QString& target, const QString& field, const QVariant& value)
{
    const bool subject = target == QLatin1String("subject");
    if (!subject && target != QLatin1String("background"))
        return false;
    CompositeSettings settings = m_comp;
    AdjustSettings& adjust = subject ? settings.subjectAdjust : settings.backgroundAdjust;
    const auto changed = qml::withField(adjust, field, value);
    if (!changed)
        return false;
    adjust = *changed;
    setComp(settings, sliderMergeKey(QStringLiteral("adjust.") + target + u'.', field, value));
    return true;
}

bool EditorState::resetAdjust(const QString& target)
{
    CompositeSettings settings = m_comp;
    if (target == QLatin1String("subject"))
        settings.subjectAdjust = AdjustSettings{};
    else if (target == QLatin1String("background"))
        settings.backgroundAdjust = AdjustSettings{};
    else
        return false;
    setComp(settings);
    return true;
}

bool EditorState::setTextField(const QString& id, const QString& field, const QVariant& value)
{
    const QUuid uuid = QUuid::fromString(id);
    CompositeSettings settings = m_comp;
    for (TextLayer& layer : settings.texts) {
        if (layer.id != uuid)
            continue;
        const auto changed = qml::withField(layer, field, value);
        if (!changed)
            return false;
        layer = *changed;
        // Typing is one step until something else happens.
        const QString key = QStringLiteral("text.") + id + u'.';
        setComp(settings, field == QLatin1String("text") ? key + field : sliderMergeKey(key, field, value));
        return true;
    }
    return false;
}

QVariantList EditorState::textLayers() const
{
    QVariantList list;
    for (const TextLayer& layer : m_comp.texts)
        list.append(qml::fieldMap(layer));
    return list;
}

QString EditorState::qmlSelectedTextID() const { return uuidText(m_selectedTextID); }
void EditorState::setQmlSelectedTextID(const QString& value) { setSelectedTextID(QUuid::fromString(value)); }
QString EditorState::qmlDraggingTextID() const { return uuidText(m_draggingTextID); }
void EditorState::setQmlDraggingTextID(const QString& value) { setDraggingTextID(QUuid::fromString(value)); }

QVariant EditorState::qmlMatte() const
{
    if (!m_matte)
        return {};
    return QVariantMap{{QStringLiteral("sceneFallback"), m_matte->sceneFallback},
                       {QStringLiteral("backdropColor"),
                        m_matte->backdropColor ? QVariant(qml::color(*m_matte->backdropColor)) : QVariant()}};
}

QString EditorState::qmlCutoutMethod() const { return rawValue(m_cutoutMethod); }
void EditorState::setQmlCutoutMethod(const QString& value)
{
    setFromLabel<CutoutMethod>(value, [this](auto v) { setCutoutMethod(v); });
}
QString EditorState::qmlMatteModel() const { return rawValue(m_matteModel); }
QStringList EditorState::qmlAvailableMatteModels() const
{
    QStringList labels;
    for (const MatteModel model : availableMatteModels())
        labels << rawValue(model);
    return labels;
}
void EditorState::setQmlMatteModel(const QString& value)
{
    setFromLabel<MatteModel>(value, [this](auto v) { setMatteModel(v); });
}
QVariant EditorState::qmlActivePreset() const
{
    return m_activePreset ? QVariant(rawValue(*m_activePreset)) : QVariant();
}
void EditorState::setQmlActivePreset(const QVariant& value)
{
    if (qml::isNone(value))
        setActivePreset(std::nullopt);
    else if (const auto preset = qml::enumValue<ListingPreset>(value))
        setActivePreset(*preset);
}
QString EditorState::qmlEdgeMode() const { return rawValue(m_edgeMode); }
void EditorState::setQmlEdgeMode(const QString& value)
{
    setFromLabel<EdgeRefineMode>(value, [this](auto v) { setEdgeMode(v); });
}

QVariant EditorState::qmlHoverPoint() const { return qml::optional(m_hoverPoint); }
void EditorState::setQmlHoverPoint(const QVariant& value)
{
    if (qml::isNone(value))
        setHoverPoint(std::nullopt);
    else if (const auto p = qml::point(value))
        setHoverPoint(*p);
}

QString EditorState::qmlCanvasTool() const { return rawValue(m_canvasTool); }
void EditorState::setQmlCanvasTool(const QString& value)
{
    setFromLabel<CanvasTool>(value, [this](auto v) { setCanvasTool(v); });
}
QString EditorState::qmlPreviousTool() const { return rawValue(m_previousTool); }
void EditorState::setQmlPreviousTool(const QString& value)
{
    setFromLabel<CanvasTool>(value, [this](auto v) { setPreviousTool(v); });
}
QString EditorState::qmlBrushTip() const { return rawValue(m_brushTip); }
void EditorState::setQmlBrushTip(const QString& value)
{
    setFromLabel<BrushTip>(value, [this](auto v) { setBrushTip(v); });
}

QString EditorState::qmlSelectionKind() const { return rawValue(m_selectionKind); }
void EditorState::setQmlSelectionKind(const QString& value)
{
    setFromLabel<SelectionKind>(value, [this](auto v) { setSelectionKind(v); });
}
QVariant EditorState::qmlPendingSelection() const
{
    return m_pendingSelection ? QVariant(qml::pointList(*m_pendingSelection)) : QVariant();
}
void EditorState::setQmlPendingSelection(const QVariant& value)
{
    if (qml::isNone(value))
        setPendingSelection(std::nullopt);
    else if (auto points = qml::points(value))
        setPendingSelection(std::move(*points));
}
QString EditorState::qmlPendingKind() const { return rawValue(m_pendingKind); }
void EditorState::setQmlPendingKind(const QString& value)
{
    setFromLabel<SelectionKind>(value, [this](auto v) { setPendingKind(v); });
}
QVariant EditorState::qmlLastSelection() const
{
    return m_lastSelection ? QVariant(qml::pointList(*m_lastSelection)) : QVariant();
}
QString EditorState::qmlLastSelectionKind() const { return rawValue(m_lastSelectionKind); }
QVariantList EditorState::qmlLiveStroke() const { return qml::pointList(m_liveStroke); }
void EditorState::setQmlLiveStroke(const QVariantList& value)
{
    if (auto points = qml::points(value))
        setLiveStroke(std::move(*points));
}

QVariantList EditorState::qmlSelectionPalette() const
{
    QVariantList list;
    for (const PaletteEntry& entry : m_selectionPalette)
        list.append(QVariantMap{{QStringLiteral("id"), uuidText(entry.id)},
                                {QStringLiteral("color"), qml::color(entry.color)},
                                {QStringLiteral("share"), entry.share}});
    return list;
}
void EditorState::setQmlSelectionPalette(const QVariantList& value)
{
    // Views only ever empty the palette; entries come from loadSelectionPalette.
    if (value.isEmpty())
        setSelectionPalette({});
}

QVariantList EditorState::qmlPickedColors() const
{
    QVariantList list;
    for (const RGBAColor& c : m_pickedColors)
        list.append(qml::color(c));
    return list;
}
void EditorState::setQmlPickedColors(const QVariantList& value)
{
    if (value == qmlPickedColors())
        return;
    QList<RGBAColor> colors;
    for (const QVariant& element : value) {
        const auto c = qml::rgbaColor(element);
        if (!c)
            return;
        colors.append(*c);
    }
    setPickedColors(std::move(colors));
}

QStringList EditorState::qmlMaskOps() const
{
    QStringList kinds;
    for (const MaskEditOp& op : m_maskOps)
        kinds.append(std::visit(
            [](const auto& o) -> QString {
                using T = std::decay_t<decltype(o)>;
                if constexpr (std::is_same_v<T, MaskStroke>)
                    return o.erase ? QStringLiteral("erase") : QStringLiteral("restore");
                else if constexpr (std::is_same_v<T, MaskShape>)
                    return QStringLiteral("shape");
                else
                    return QStringLiteral("colorKey");
            },
            op));
    return kinds;
}

QColor EditorState::qmlPaintColor() const { return qml::color(m_paintColor); }
void EditorState::setQmlPaintColor(const QColor& value)
{
    setFromColor(value, m_paintColor, [this](RGBAColor c) { setPaintColor(c); });
}
QString EditorState::qmlPaintBlend() const { return rawValue(m_paintBlend); }
void EditorState::setQmlPaintBlend(const QString& value)
{
    setFromLabel<PaintBlend>(value, [this](auto v) { setPaintBlend(v); });
}
QString EditorState::qmlGradientKind() const { return rawValue(m_gradientKind); }
void EditorState::setQmlGradientKind(const QString& value)
{
    setFromLabel<GradientKind>(value, [this](auto v) { setGradientKind(v); });
}
QColor EditorState::qmlGradientStart() const { return qml::color(m_gradientStart); }
void EditorState::setQmlGradientStart(const QColor& value)
{
    setFromColor(value, m_gradientStart, [this](RGBAColor c) { setGradientStart(c); });
}
QColor EditorState::qmlGradientEnd() const { return qml::color(m_gradientEnd); }
void EditorState::setQmlGradientEnd(const QColor& value)
{
    setFromColor(value, m_gradientEnd, [this](RGBAColor c) { setGradientEnd(c); });
}
QVariant EditorState::qmlGradientLine() const
{
    if (!m_gradientLine)
        return {};
    return QVariantList{m_gradientLine->p1(), m_gradientLine->p2()};
}
void EditorState::setQmlGradientLine(const QVariant& value)
{
    if (qml::isNone(value)) {
        setGradientLine(std::nullopt);
        return;
    }
    if (const auto ends = qml::points(value); ends && ends->size() == 2)
        setGradientLine(QLineF((*ends)[0], (*ends)[1]));
}

QStringList EditorState::qmlPaintOps() const
{
    QStringList kinds;
    for (const PaintOp& op : m_paintOps)
        kinds.append(std::holds_alternative<PaintStroke>(op) ? QStringLiteral("stroke") : QStringLiteral("gradient"));
    return kinds;
}

QVariant EditorState::qmlCropDraft() const { return qml::optional(m_cropDraft); }
void EditorState::setQmlCropDraft(const QVariant& value)
{
    if (qml::isNone(value))
        setCropDraft(std::nullopt);
    else if (const auto r = qml::rect(value))
        setCropDraft(*r);
}
QString EditorState::qmlCropAspect() const { return rawValue(m_cropAspect); }
void EditorState::setQmlCropAspect(const QString& value)
{
    setFromLabel<AspectPreset>(value, [this](auto v) { setCropAspect(v); });
}

QString EditorState::qmlExportFormat() const { return rawValue(m_exportFormat); }
void EditorState::setQmlExportFormat(const QString& value)
{
    setFromLabel<ExportFormat>(value, [this](auto v) { setExportFormat(v); });
}
QVariant EditorState::qmlExportFile() const
{
    if (!m_exportFile)
        return {};
    return QVariantMap{{QStringLiteral("size"), m_exportFile->data.size()},
                       {QStringLiteral("contentType"), m_exportFile->contentType()},
                       {QStringLiteral("fileExtension"), m_exportFile->fileExtension()},
                       {QStringLiteral("name"), m_exportFile->name}};
}
QString EditorState::qmlExportDestination() const { return rawValue(m_exportDestination); }
void EditorState::setQmlExportDestination(const QString& value)
{
    setFromLabel<ExportDestination>(value, [this](auto v) { setExportDestination(v); });
}
QString EditorState::qmlSvgSource() const { return rawValue(m_svgSource); }
void EditorState::setQmlSvgSource(const QString& value)
{
    setFromLabel<TraceSource>(value, [this](auto v) { setSvgSource(v); });
}
QString EditorState::qmlImportTarget() const { return rawValue(m_importTarget); }
void EditorState::setQmlImportTarget(const QString& value)
{
    setFromLabel<ImportTarget>(value, [this](auto v) { setImportTarget(v); });
}

QVariantMap EditorState::settingRange(const QString& name) const
{
    static const QHash<QString, SettingRange> own{
        {QStringLiteral("feather"), MatteSettings::featherRange},
        {QStringLiteral("decontaminate"), MatteSettings::decontaminateRange},
        {QStringLiteral("flatTolerance"), MatteEngine::flatToleranceRange},
        {QStringLiteral("flatCloseGaps"), MatteEngine::flatCloseGapsRange},
        {QStringLiteral("colorTolerance"), MaskColorKey::toleranceRange},
        {QStringLiteral("brushSize"), kBrushSizeRange},
        {QStringLiteral("brushHardness"), kBrushHardnessRange},
        {QStringLiteral("paintOpacity"), kPaintOpacityRange},
        {QStringLiteral("gradientAngle"), kGradientAngleRange},
        {QStringLiteral("exportQuality"), kExportQualityRange},
    };
    std::optional<SettingRange> range;
    if (const auto it = own.find(name); it != own.end())
        range = *it;
    if (!range)
        range = qml::compositeRange(name);
    if (!range)
        range = qml::adjustRange(name);
    if (!range)
        range = qml::textLayerRange(name);
    if (!range)
        return {};
    return QVariantMap{{QStringLiteral("lower"), range->lower},
                       {QStringLiteral("upper"), range->upper},
                       {QStringLiteral("step"), range->step},
                       {QStringLiteral("defaultValue"), range->defaultValue}};
}

QStringList EditorState::choices(const QString& property) const
{
    static const QHash<QString, std::function<QStringList()>> tables{
        {QStringLiteral("tool"), qml::labels<EditorTool>},
        {QStringLiteral("customBackdropShape"), qml::labels<CustomBackdropShape>},
        {QStringLiteral("cutoutMethod"), qml::labels<CutoutMethod>},
        {QStringLiteral("matteModel"), qml::labels<MatteModel>},
        {QStringLiteral("activePreset"), qml::labels<ListingPreset>},
        {QStringLiteral("edgeMode"), qml::labels<EdgeRefineMode>},
        {QStringLiteral("canvasTool"), qml::labels<CanvasTool>},
        {QStringLiteral("previousTool"), qml::labels<CanvasTool>},
        {QStringLiteral("brushTip"), qml::labels<BrushTip>},
        {QStringLiteral("selectionKind"), qml::labels<SelectionKind>},
        {QStringLiteral("pendingKind"), qml::labels<SelectionKind>},
        {QStringLiteral("paintBlend"), qml::labels<PaintBlend>},
        {QStringLiteral("gradientKind"), qml::labels<GradientKind>},
        {QStringLiteral("cropAspect"), qml::labels<AspectPreset>},
        {QStringLiteral("exportFormat"), qml::labels<ExportFormat>},
        {QStringLiteral("exportDestination"), qml::labels<ExportDestination>},
        {QStringLiteral("svgSource"), qml::labels<TraceSource>},
        {QStringLiteral("importTarget"), qml::labels<ImportTarget>},
        {QStringLiteral("colorMode"), qml::labels<ColorMode>},
        {QStringLiteral("backgroundMode"), qml::labels<BackgroundMode>},
        {QStringLiteral("aspect"), qml::labels<AspectPreset>},
        {QStringLiteral("shapeCrop"), qml::labels<ShapeCrop>},
    };
    const auto it = tables.find(property);
    return it == tables.end() ? QStringList() : (*it)();
}

} // namespace zephrin
