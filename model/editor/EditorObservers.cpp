// EditorState: the properties whose writes start work, and the derived values.
//
//   fillHoles, edgeMode, decontaminateEnabled   history step, then refine after the wait
//   feather, decontaminate                      history step merged over a drag, refine after the wait
//   flatTolerance, flatConnectedOnly,
//   flatCloseGaps                               re-key after 120 ms, with Flat Color and a matte
//   comp                                        history step (a slider's merged over its drag); text
//                                               layers only: redraw them; else composite after the wait
//   draggingTextID                              redraw the text layers without the dragged one
//   selectionKind                               a new kind empties the live stroke
//   matteModel                                  stored in the settings on every assignment
//   sheetItems, sheetPins                       lay the sheet out (every assignment; EditorSheet.cpp)
//   sheetSettings                               lay the sheet out when the value changed
//
// The matte- and flat-setting hooks do nothing while history is being restored
// (suppressHistory); without a matte they record the step and refine nothing.
// Each hook runs on every assignment, after the equality test of the setter,
// so a control that writes the value it shows still refines (the step it
// records holds nothing new and is not added); only the comp and
// draggingTextID hooks look at what changed.

#include "model/editor/EditorState.h"

#include "engine/codec/ExportedSize.h"
#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"
#include "model/qml/SettingsFields.h"

#include <QSettings>

#include <cmath>

namespace zephrin {

namespace {

const QString kMatteModelKey = QStringLiteral("matteModel");
const QString kAutoSubjectKey = QStringLiteral("autoSubjectOnImport");

} // namespace

void EditorState::setFillHoles(bool value)
{
    assign(m_fillHoles, value, &EditorState::fillHolesChanged);
    onMatteSettingAssigned({});
}

void EditorState::setEdgeMode(EdgeRefineMode value)
{
    assign(m_edgeMode, value, &EditorState::edgeModeChanged);
    onMatteSettingAssigned({});
}

void EditorState::setDecontaminateEnabled(bool value)
{
    assign(m_decontaminateEnabled, value, &EditorState::decontaminateEnabledChanged);
    onMatteSettingAssigned({});
}

void EditorState::setFeather(double value)
{
    assign(m_feather, MatteSettings::featherRange.clamped(value), &EditorState::featherChanged);
    onMatteSettingAssigned(QStringLiteral("feather"));
}

void EditorState::setDecontaminate(double value)
{
    assign(m_decontaminate, MatteSettings::decontaminateRange.clamped(value), &EditorState::decontaminateChanged);
    onMatteSettingAssigned(QStringLiteral("decontaminate"));
}

// Without a matte there is nothing to refine: the choice is kept for the next
// cutout, and it is a step of its own all the same, so that undo takes back
// exactly it.
void EditorState::onMatteSettingAssigned(const QString& mergeKey)
{
    if (m_suppressHistory)
        return;
    recordStep(mergeKey);
    if (m_matte)
        scheduleRender(false);
}

void EditorState::setFlatTolerance(double value)
{
    assign(m_flatTolerance, MatteEngine::flatToleranceRange.clamped(value), &EditorState::flatToleranceChanged);
    onFlatSettingAssigned();
}

void EditorState::setFlatConnectedOnly(bool value)
{
    assign(m_flatConnectedOnly, value, &EditorState::flatConnectedOnlyChanged);
    onFlatSettingAssigned();
}

void EditorState::setFlatCloseGaps(double value)
{
    assign(m_flatCloseGaps, MatteEngine::flatCloseGapsRange.clamped(value), &EditorState::flatCloseGapsChanged);
    onFlatSettingAssigned();
}

void EditorState::onFlatSettingAssigned()
{
    if (m_suppressHistory)
        return;
    if (m_cutoutMethod == CutoutMethod::flat && m_matte)
        scheduleFlatColor();
}

void EditorState::setComp(const CompositeSettings& value)
{
    setComp(value, {});
}

void EditorState::setComp(const CompositeSettings& value, const QString& mergeKey)
{
    const CompositeSettings old = m_comp;
    if (!assign(m_comp, value.clamped(), &EditorState::compChanged))
        return;
    onCompAssigned(old);
    recordStep(mergeKey);
}

void EditorState::onCompAssigned(const CompositeSettings& old)
{
    if (old == m_comp)
        return;
    CompositeSettings oldBase = old;
    CompositeSettings newBase = m_comp;
    oldBase.texts.clear();
    newBase.texts.clear();
    if (oldBase == newBase && m_compositeBase)
        redrawTextLayers();
    else
        recomposite(false);
}

void EditorState::setDraggingTextID(QUuid value)
{
    if (assign(m_draggingTextID, value, &EditorState::draggingTextIDChanged))
        redrawTextLayers();
}

void EditorState::setSelectionKind(SelectionKind value)
{
    if (assign(m_selectionKind, value, &EditorState::selectionKindChanged))
        setLiveStroke({});
}

void EditorState::setMatteModel(MatteModel value)
{
    assign(m_matteModel, value, &EditorState::matteModelChanged);
    writeMatteModelSetting();
}

void EditorState::writeMatteModelSetting()
{
    m_settings->setValue(kMatteModelKey, rawValue(m_matteModel));
}

// The stored model when it is one of the models this build can run; otherwise
// IS-Net when its model file is there, else the subject lift.
MatteModel EditorState::readMatteModelSetting() const
{
    const bool isnet = m_engines->isnetAvailable();
    const MatteModel fallback = isnet ? MatteModel::isnet : MatteModel::apple;
    const QVariant stored = m_settings->value(kMatteModelKey);
    if (stored.typeId() != QMetaType::QString)
        return fallback;
    const auto model = fromRaw<MatteModel>(stored.toString());
    if (!model)
        return fallback;
    return *model == MatteModel::isnet && !isnet ? MatteModel::apple : *model;
}

// Absent, or anything but false, means yes. The settings file keeps a stored
// Boolean as the text "false", so that text counts as false too.
bool EditorState::autoSubjectOnImport() const
{
    const QVariant stored = m_settings->value(kAutoSubjectKey);
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    return !(stored.typeId() == QMetaType::QString && stored.toString() == QLatin1String("false"));
}

// ---- Derived values ----------------------------------------------------------

QString EditorState::compositeSizeLabel() const
{
    if (!m_composite)
        return QStringLiteral("—");
    return QStringLiteral("%1 × %2").arg(m_composite->image().width()).arg(m_composite->image().height());
}

QSize EditorState::exportSize() const
{
    const std::optional<ImageBox>& result = m_composite ? m_composite : m_cutout;
    if (!result)
        return {0, 0};
    return exportedSize(QSize(result->image().width(), result->image().height()), m_exportLongEdge);
}

QString EditorState::zoomLabel() const
{
    return QString::number(static_cast<long long>(std::round(m_zoom * 100))) + QLatin1Char('%');
}

bool EditorState::isPolygonInProgress() const
{
    return m_selectionKind == SelectionKind::polygon && !m_liveStroke.empty() && !m_pendingSelection &&
           (m_canvasTool == CanvasTool::select || m_canvasTool == CanvasTool::gradient);
}

std::vector<MatteModel> EditorState::availableMatteModels() const
{
    if (m_engines->isnetAvailable())
        return {MatteModel::apple, MatteModel::isnet};
    return {MatteModel::apple};
}

} // namespace zephrin
