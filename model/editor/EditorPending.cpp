// Operations whose work lands in the following commits.

#include "model/editor/EditorState.h"

#include "model/editor/EditorStateWork.h"

namespace zephrin {

void EditorState::setComp(const CompositeSettings& value) { assign(m_comp, value, &EditorState::compChanged); }
void EditorState::setDraggingTextID(QUuid value) { assign(m_draggingTextID, value, &EditorState::draggingTextIDChanged); }
void EditorState::setMatteModel(MatteModel value) { assign(m_matteModel, value, &EditorState::matteModelChanged); }
void EditorState::setFlatTolerance(double value) { assign(m_flatTolerance, value, &EditorState::flatToleranceChanged); }
void EditorState::setFlatConnectedOnly(bool value) { assign(m_flatConnectedOnly, value, &EditorState::flatConnectedOnlyChanged); }
void EditorState::setFlatCloseGaps(double value) { assign(m_flatCloseGaps, value, &EditorState::flatCloseGapsChanged); }
void EditorState::setFillHoles(bool value) { assign(m_fillHoles, value, &EditorState::fillHolesChanged); }
void EditorState::setEdgeMode(EdgeRefineMode value) { assign(m_edgeMode, value, &EditorState::edgeModeChanged); }
void EditorState::setFeather(double value) { assign(m_feather, value, &EditorState::featherChanged); }
void EditorState::setDecontaminateEnabled(bool value) { assign(m_decontaminateEnabled, value, &EditorState::decontaminateEnabledChanged); }
void EditorState::setDecontaminate(double value) { assign(m_decontaminate, value, &EditorState::decontaminateChanged); }
void EditorState::setSelectionKind(SelectionKind value) { assign(m_selectionKind, value, &EditorState::selectionKindChanged); }
void EditorState::setSheetItems(std::vector<StickerItem> value) { assign(m_sheetItems, std::move(value), &EditorState::sheetItemsChanged); }
void EditorState::setSheetSettings(const SheetSettings& value) { assign(m_sheetSettings, value, &EditorState::sheetSettingsChanged); }
void EditorState::setSheetPins(SheetPins value) { assign(m_sheetPins, std::move(value), &EditorState::sheetPinsChanged); }

QString EditorState::compositeSizeLabel() const { return QStringLiteral("—"); }
QString EditorState::zoomLabel() const { return QStringLiteral("100%"); }
bool EditorState::isPolygonInProgress() const { return false; }
MatteModel EditorState::readMatteModelSetting() const { return MatteModel::apple; }

void EditorState::importImage(const QUrl&) {}
void EditorState::clearDocument() {}
void EditorState::runAutoSubject() {}
void EditorState::cutSelection() {}
void EditorState::runFlatColor(std::function<void()>) {}
void EditorState::scheduleFlatColor() {}
void EditorState::applyLineArtPreset() {}
void EditorState::scheduleRender(bool) {}
void EditorState::recomposite(bool) {}
void EditorState::redrawTextLayers() {}
void EditorState::appendMaskOp(const MaskEditOp&) {}
void EditorState::appendPaintOp(const PaintOp&) {}
void EditorState::commitHistory() {}
void EditorState::undo() {}
void EditorState::redo() {}
void EditorState::restore(const EditSnapshot&) {}
void EditorState::applyMaskEdits() {}
void EditorState::applyPaint() {}
void EditorState::commitPaintStroke(const Points&) {}
void EditorState::commitMaskStroke(const Points&) {}
void EditorState::commitPaintStroke(const QVariantList&) {}
void EditorState::commitMaskStroke(const QVariantList&) {}
void EditorState::applyGradient(QPointF, QPointF) {}
void EditorState::applyPanelGradient() {}
void EditorState::fillSelectionWithPaintColor() {}
void EditorState::clearPaint() {}
void EditorState::clearEdits() {}
void EditorState::eraseSelection(bool) {}
void EditorState::selectBackdrop(const Backdrop&) {}
void EditorState::selectPhotoBackdrop(const PhotoBackdrop&) {}
void EditorState::selectMyBackground(const MyBackground&) {}
void EditorState::selectBackdrop(const QString&) {}
void EditorState::selectPhotoBackdrop(const QString&) {}
void EditorState::selectMyBackground(const QString&) {}
Backdrop EditorState::customBackdrop() const { return Backdrop::custom(m_customBackdropA, m_customBackdropB, m_customBackdropShape); }
void EditorState::addTextLayer() {}
void EditorState::addShapeLayer(const QString&) {}
void EditorState::applyShapeToSelectedLayer(const QString&) {}
void EditorState::duplicateTextLayer(QUuid) {}
void EditorState::deleteTextLayer(QUuid) {}
void EditorState::togglePanTool() {}
void EditorState::finishSelection(const Points&) {}
void EditorState::finishSelection(const QVariantList&) {}
void EditorState::addPolygonPoint(QPointF) {}
void EditorState::closePolygon() {}
std::optional<std::pair<SelectionKind, EditorState::Points>> EditorState::clearPendingSelection() { return std::nullopt; }
void EditorState::reselectLastSelection() {}
void EditorState::loadSelectionPalette() {}
void EditorState::togglePickedColor(RGBAColor) {}
void EditorState::togglePickedColor(const QColor&) {}
bool EditorState::isColorPicked(double, double, double) const { return false; }
void EditorState::pickColor(QPointF) {}
void EditorState::removePickedColors(bool) {}
void EditorState::applyCrop() {}
void EditorState::removeCrop() {}
void EditorState::zoomToFit() {}
void EditorState::exportImage() {}
bool EditorState::saveExportFile(const QUrl&) { return false; }
void EditorState::copyToPasteboard() {}
std::pair<QByteArray, QString> EditorState::dragPayload() const { return {}; }
std::optional<QUrl> EditorState::writeShareFile(const QByteArray&, ExportFormat) { return std::nullopt; }
QString EditorState::shareFolder() const { return {}; }

} // namespace zephrin
