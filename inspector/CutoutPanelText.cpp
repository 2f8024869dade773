#include "inspector/CutoutPanelText.h"

#include "controls/ValueText.h"
#include "engine/types/EdgeRefineMode.h"
#include "engine/types/MatteModel.h"
#include "inspector/PanelValueText.h"
#include "model/editor/EditorEnums.h"

namespace zephrin {

QString CutoutPanelText::methodDescription(const QString& method) const
{
    if (fromRaw<CutoutMethod>(method) == CutoutMethod::flat)
        return QStringLiteral("Removes the color sampled at the corners. Best for logos, line art, and plain backdrops.");
    return QStringLiteral("AI subject detection. Best for photos and drawings.");
}

QString CutoutPanelText::modelDescription(const QString& model) const
{
    if (fromRaw<MatteModel>(model) == MatteModel::isnet)
        return QStringLiteral("IS-Net (DIS5K, Apache-2.0) on the CPU through ONNX Runtime at 1024 px. Holds thin "
                              "parts: tails, hair, line art. White-on-white can come out translucent; Fill holes or "
                              "Contrast edges help.");
    return QStringLiteral("Subject Lift, our own subject finder. Softer, sometimes translucent edges; strong on solid "
                          "shapes.");
}

QString CutoutPanelText::modelUnavailable() const
{
    return QStringLiteral("Subject Lift (IS-Net model not included in this build)");
}

QString CutoutPanelText::runTitle(const QString& method) const
{
    return fromRaw<CutoutMethod>(method) == CutoutMethod::flat ? QStringLiteral("Remove Background Color")
                                                               : QStringLiteral("Auto Subject");
}

QString CutoutPanelText::edgeTitle(const QString& mode) const
{
    switch (fromRaw<EdgeRefineMode>(mode).value_or(EdgeRefineMode::smooth)) {
    case EdgeRefineMode::smooth: return QStringLiteral("Smooth");
    case EdgeRefineMode::detail: return QStringLiteral("Detail");
    case EdgeRefineMode::contrast: return QStringLiteral("Contrast");
    }
    return {};
}

QString CutoutPanelText::edgeSymbol(const QString& mode) const
{
    switch (fromRaw<EdgeRefineMode>(mode).value_or(EdgeRefineMode::smooth)) {
    case EdgeRefineMode::smooth: return QStringLiteral("scribble.variable");
    case EdgeRefineMode::detail: return QStringLiteral("waveform.path.ecg");
    case EdgeRefineMode::contrast: return QStringLiteral("circle.lefthalf.filled");
    }
    return {};
}

QString CutoutPanelText::toleranceText(double value) const
{
    return inspector::truncatedWhole(value);
}

QString CutoutPanelText::closeGapsText(double value) const
{
    if (!(value >= 0.5))
        return QStringLiteral("Off");
    return inspector::truncatedWhole(value) + QStringLiteral(" px");
}

QString CutoutPanelText::featherText(double value) const
{
    return valuetext::number(value, 1) + QStringLiteral(" px");
}

QString CutoutPanelText::decontaminateText(double value) const
{
    return inspector::truncatedWhole(value) + u'%';
}

} // namespace zephrin
