// EditorState: the resize tool's operations. Listing presets set the framing
// and the export of a destination and are remembered, so the compliance list
// keeps judging later changes against them; the preset, its framing and its
// export are one history step, and so is "Reset to plain cutout", which puts
// back the export the presets found; crop editing copies the crop into
// the canvas's draft and back (applyCrop, removeCrop: EditorSelections.cpp).

#include "model/editor/EditorState.h"

#include "model/editor/EditorStateWork.h"
#include "output/presets/ListingPresetSettings.h"

namespace zephrin {

void EditorState::applyListingPreset(ListingPreset preset)
{
    // One step, with the export it sets: undo gives back the export before it.
    const bool setsSvg = preset == ListingPreset::htv;
    const HistoryGroup step(*this, {}, {nullptr, currentExportSetup(setsSvg)});
    // What a reset puts back: the export before the first preset of a row,
    // with the SVG choices as they were before a preset first set them.
    if (!m_activePreset || !m_exportBeforePreset)
        m_exportBeforePreset = currentExportSetup(setsSvg);
    else if (setsSvg && !m_exportBeforePreset->svg)
        m_exportBeforePreset->svg = ExportSetup::Svg{m_svgColors, m_svgFileMaker};
    setActivePreset(preset);
    setComp(compositeSettings(preset, m_comp));
    const ExportDefaults exports = exportDefaults(preset);
    setExportLongEdge(exports.longEdge);
    setExportFormat(exports.format);
    if (preset == ListingPreset::htv) {
        setSvgColors(1);
        setSvgFileMaker(false);
    }
}

void EditorState::resetToPlainCutout()
{
    // A preset's export goes with it; undo brings it back.
    const std::optional<ExportSetup> plainExport = m_activePreset ? m_exportBeforePreset : std::nullopt;
    StepExtras before;
    if (plainExport)
        before.exports = currentExportSetup(plainExport->svg.has_value());
    const HistoryGroup step(*this, {}, before);
    setComp(defaultCompositeSettings());
    if (m_background) {
        setBackground(std::nullopt);
        setBackdropID({});
        m_shownBackdropID.clear();
    }
    if (plainExport)
        restoreExportSetup(*plainExport);
    setActivePreset(std::nullopt);
    m_exportBeforePreset.reset();
}

void EditorState::applyListingPreset(const QString& title)
{
    if (const auto preset = fromRaw<ListingPreset>(title))
        applyListingPreset(*preset);
}

std::optional<double> EditorState::subjectFillFraction() const
{
    if (!m_composite)
        return std::nullopt;
    const Image& image = m_composite->image();
    return zephrin::subjectFillFraction(m_subjectBoundsSize, QSize(image.width(), image.height()));
}

std::vector<ComplianceItem> EditorState::complianceItems() const
{
    if (!m_activePreset || !m_composite)
        return {};
    const Image& image = m_composite->image();
    ComplianceInputs inputs;
    inputs.composite = QSize(image.width(), image.height());
    inputs.exportLongEdge = m_exportLongEdge;
    inputs.exportFormat = m_exportFormat;
    inputs.transparentBackground = m_transparentBackground;
    inputs.comp = m_comp;
    inputs.hasBackgroundImage = m_background.has_value();
    inputs.subjectFill = subjectFillFraction();
    inputs.subjectWhiteFraction = m_subjectWhiteFraction;
    inputs.svgColors = m_svgColors;
    return zephrin::complianceItems(*m_activePreset, inputs);
}

QVariantList EditorState::qmlComplianceItems() const
{
    QVariantList list;
    for (const ComplianceItem& item : complianceItems())
        list.append(QVariantMap{{QStringLiteral("id"), item.id.toString(QUuid::WithoutBraces)},
                                {QStringLiteral("ok"), item.ok},
                                {QStringLiteral("text"), item.text}});
    return list;
}

void EditorState::beginCropEditing()
{
    std::optional<QRectF> draft = m_comp.crop;
    // A crop kept from a larger picture is shown as the part on this one.
    if (draft && m_document) {
        const QRectF onImage = draft->intersected(QRectF(0, 0, m_document->width(), m_document->height()));
        draft = onImage.isEmpty() ? std::nullopt : std::optional(onImage);
    }
    setCropDraft(draft);
    setCanvasTool(CanvasTool::crop);
    setTool(EditorTool::resize);
}

void EditorState::cancelCropEditing()
{
    setCropDraft(std::nullopt);
    setCanvasTool(CanvasTool::view);
}

// ---- The panel gradient -----------------------------------------------------

const PaintGradient* EditorState::replaceableGradient() const
{
    const int count = int(m_paintOps.size());
    if (!m_lastGradientOpIndex || *m_lastGradientOpIndex != count - 1 || m_activePaintOpCount != count || count == 0)
        return nullptr;
    return std::get_if<PaintGradient>(&m_paintOps.back());
}

void EditorState::setLastGradientOpIndex(std::optional<int> value)
{
    m_lastGradientOpIndex = value;
    updateWillReplaceGradient();
}

void EditorState::updateWillReplaceGradient()
{
    assign(m_willReplaceGradient, replaceableGradient() != nullptr, &EditorState::willReplaceGradientChanged);
}

} // namespace zephrin
