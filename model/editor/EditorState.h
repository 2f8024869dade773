#pragma once
// The editor's one model: the open document, every setting and every result,
// the mask and paint edits with their history, and the background work that
// is running for them. The views read its properties and call its operations;
// nothing here knows a view.
//
// Properties. Each observable property is a Q_PROPERTY whose NOTIFY signal
// fires only when a write changes the value; an equal write stores nothing and
// emits nothing (images compare by the generation of their box, never pixel by
// pixel). C++ reads and writes them through typed accessors named after the
// property (feather(), setFeather()). QML sees the same names with QML-friendly
// types: enumerations as their labels ("Flat Color"), colours as `color`,
// identifiers as strings, optional values as `undefined` when absent, and the
// composite settings as a map whose fields it changes through setComp().
// Lists that views only count or name appear as such: maskOps and paintOps as
// the kinds of their entries, undoStack and redoStack as their lengths,
// editLayers, paintLayers and sheetRender as whether they exist; the text
// layers are also a list model (textLayerList).
//
// Observers. A few properties start work when they are written (the matte and
// flat-colour settings, comp, draggingTextID, selectionKind, matteModel, the
// sticker sheet's designs, settings and pins); the
// setter runs that hook after the equality test, on every assignment, as
// EditorObservers.cpp lists.
//
// Work. Cutouts, refines, composites, text redraws, layer renders, backdrops,
// palettes and exports run on the worker pools through the TaskRunner, each in
// a TaskSlot: a new request cancels the previous one of its kind, and a result
// lands only while its slot and the document are still the ones it started
// with (import and clear bump the document generation and cancel every slot).
// Every job that shows a busy state ends it however it ends.
//
// The operations are grouped by topic in EditorImport.cpp, EditorCutout.cpp,
// EditorRender.cpp, EditorObservers.cpp, EditorEdits.cpp, EditorPaint.cpp,
// EditorBackdrops.cpp, EditorTextLayers.cpp, EditorTextHandles.cpp,
// EditorSelections.cpp, EditorExport.cpp, EditorResize.cpp and EditorSheet.cpp.

#include "content/backdrops/Backdrop.h"
#include "content/backdrops/CustomBackdropShape.h"
#include "content/mybackgrounds/MyBackground.h"
#include "content/photos/PhotoBackdrop.h"
#include "engine/composite/CompositeFrame.h"
#include "engine/edits/BrushTip.h"
#include "engine/edits/MaskEditLayers.h"
#include "engine/edits/MaskEditOp.h"
#include "engine/edits/SelectionKind.h"
#include "engine/paint/GradientKind.h"
#include "engine/paint/PaintBlend.h"
#include "engine/paint/PaintLayers.h"
#include "engine/paint/PaintOp.h"
#include "engine/types/AspectPreset.h"
#include "engine/types/CompositeSettings.h"
#include "engine/types/EdgeRefineMode.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/ImageBox.h"
#include "engine/types/ListingPreset.h"
#include "engine/types/MatteBox.h"
#include "engine/types/MatteModel.h"
#include "engine/types/MatteSettings.h"
#include "engine/types/RGBAColor.h"
#include "model/batch/BatchState.h"
#include "model/editor/EditSnapshot.h"
#include "model/editor/EditorEnums.h"
#include "model/editor/ExportFile.h"
#include "model/editor/ImageDocument.h"
#include "model/editor/KeptRenders.h"
#include "model/editor/ListingCompliance.h"
#include "model/editor/NoticeKind.h"
#include "model/editor/PaletteEntry.h"
#include "model/editor/StickerItemList.h"
#include "model/editor/TextLayerList.h"
#include "model/tasks/BusyJobs.h"
#include "model/tasks/Outcome.h"
#include "model/tasks/TaskRunner.h"
#include "model/tasks/TaskSlot.h"
#include "output/presets/ListingPresetSettings.h"
#include "output/sheet/SheetLayout.h"
#include "output/sheet/SheetRender.h"
#include "output/sheet/SheetSettings.h"
#include "output/sheet/StickerItem.h"
#include "output/vector/TraceSource.h"

#include <QColor>
#include <QFuture>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

class QMimeData;
class QSettings;

namespace zephrin {

class EditorEngines;

// Where copied results go: the system clipboard in the application, a recorder
// in tests (QClipboard needs a QGuiApplication).
class ClipboardSink {
public:
    virtual ~ClipboardSink() = default;
    // Takes ownership of the data.
    virtual void setMimeData(QMimeData* data) = 0;
};

// The system clipboard; does nothing without a QGuiApplication.
class SystemClipboard final : public ClipboardSink {
public:
    void setMimeData(QMimeData* data) override;
};

// What an editor is built from. Every part left empty is the real one.
struct EditorServices {
    std::shared_ptr<EditorEngines> engines;    // the real engines
    std::shared_ptr<TaskRunner> runner;        // the worker pools and precise timers
    std::shared_ptr<ClipboardSink> clipboard;  // the system clipboard
    // The settings file (INI) the editor reads and writes; empty: the user's
    // settings of organisation "Zephrin", application "Zephrin".
    QString settingsFile;
    // The private folder for files prepared for sharing; empty: "share" in
    // the user's runtime folder (else cache folder), created with mode 0700.
    QString shareFolder;
    // The batch's own engines; empty: the real ones.
    std::shared_ptr<BatchEngines> batchEngines;
};

class EditorState : public QObject {
    Q_OBJECT

    // Document and results
    Q_PROPERTY(QString tool READ qmlTool WRITE setQmlTool NOTIFY toolChanged)
    Q_PROPERTY(QVariant document READ qmlDocument NOTIFY documentChanged)
    Q_PROPERTY(QVariant cutout READ qmlCutout NOTIFY cutoutChanged)
    Q_PROPERTY(QVariant composite READ qmlComposite NOTIFY compositeChanged)
    // Where the composite's pixels lie in the document: a map of x, y (the
    // origin), scale, mirror and width; changes with the composite.
    Q_PROPERTY(QVariantMap compositeFrame READ qmlCompositeFrame NOTIFY compositeChanged)
    Q_PROPERTY(QVariant backgroundImage READ qmlBackgroundImage NOTIFY backgroundImageChanged)
    Q_PROPERTY(QSizeF subjectBoundsSize READ subjectBoundsSize NOTIFY subjectBoundsSizeChanged)
    Q_PROPERTY(double subjectWhiteFraction READ subjectWhiteFraction NOTIFY subjectWhiteFractionChanged)
    // Whether the composite has no transparent pixel (an opaque background
    // fills it): then there is no transparency for an export to keep.
    Q_PROPERTY(bool resultOpaque READ resultOpaque NOTIFY resultOpaqueChanged)

    // Backdrop and composite
    Q_PROPERTY(QString backdropID READ backdropID WRITE setBackdropID NOTIFY backdropIDChanged)
    Q_PROPERTY(QColor customBackdropA READ qmlCustomBackdropA WRITE setQmlCustomBackdropA NOTIFY customBackdropAChanged)
    Q_PROPERTY(QColor customBackdropB READ qmlCustomBackdropB WRITE setQmlCustomBackdropB NOTIFY customBackdropBChanged)
    Q_PROPERTY(QString customBackdropShape READ qmlCustomBackdropShape WRITE setQmlCustomBackdropShape NOTIFY customBackdropShapeChanged)
    Q_PROPERTY(QVariantMap comp READ qmlComp WRITE setQmlComp NOTIFY compChanged)

    // Text layers
    Q_PROPERTY(QString selectedTextID READ qmlSelectedTextID WRITE setQmlSelectedTextID NOTIFY selectedTextIDChanged)
    Q_PROPERTY(QString draggingTextID READ qmlDraggingTextID WRITE setQmlDraggingTextID NOTIFY draggingTextIDChanged)

    // Cutout and matte settings
    Q_PROPERTY(QVariant matte READ qmlMatte NOTIFY matteChanged)
    Q_PROPERTY(bool isProcessing READ isProcessing NOTIFY isProcessingChanged)
    Q_PROPERTY(QString processingLabel READ processingLabel NOTIFY processingLabelChanged)
    Q_PROPERTY(bool suggestFillHoles READ suggestFillHoles NOTIFY suggestFillHolesChanged)
    Q_PROPERTY(QString cutoutNote READ cutoutNote NOTIFY cutoutNoteChanged)
    Q_PROPERTY(QString cutoutMethod READ qmlCutoutMethod WRITE setQmlCutoutMethod NOTIFY cutoutMethodChanged)
    Q_PROPERTY(QString matteModel READ qmlMatteModel WRITE setQmlMatteModel NOTIFY matteModelChanged)
    Q_PROPERTY(double flatTolerance READ flatTolerance WRITE setFlatTolerance NOTIFY flatToleranceChanged)
    Q_PROPERTY(bool flatConnectedOnly READ flatConnectedOnly WRITE setFlatConnectedOnly NOTIFY flatConnectedOnlyChanged)
    Q_PROPERTY(double flatCloseGaps READ flatCloseGaps WRITE setFlatCloseGaps NOTIFY flatCloseGapsChanged)
    Q_PROPERTY(QVariant activePreset READ qmlActivePreset WRITE setQmlActivePreset NOTIFY activePresetChanged)
    Q_PROPERTY(bool fillHoles READ fillHoles WRITE setFillHoles NOTIFY fillHolesChanged)
    Q_PROPERTY(QString edgeMode READ qmlEdgeMode WRITE setQmlEdgeMode NOTIFY edgeModeChanged)
    Q_PROPERTY(double feather READ feather WRITE setFeather NOTIFY featherChanged)
    Q_PROPERTY(bool decontaminateEnabled READ decontaminateEnabled WRITE setDecontaminateEnabled NOTIFY decontaminateEnabledChanged)
    Q_PROPERTY(double decontaminate READ decontaminate WRITE setDecontaminate NOTIFY decontaminateChanged)

    // View
    Q_PROPERTY(double zoom READ zoom WRITE setZoom NOTIFY zoomChanged)
    Q_PROPERTY(bool compareEnabled READ compareEnabled WRITE setCompareEnabled NOTIFY compareEnabledChanged)
    Q_PROPERTY(double comparePosition READ comparePosition WRITE setComparePosition NOTIFY comparePositionChanged)
    Q_PROPERTY(QSizeF panOffset READ panOffset WRITE setPanOffset NOTIFY panOffsetChanged)
    Q_PROPERTY(bool spacePan READ spacePan WRITE setSpacePan NOTIFY spacePanChanged)
    Q_PROPERTY(QVariant hoverPoint READ qmlHoverPoint WRITE setQmlHoverPoint NOTIFY hoverPointChanged)

    // Canvas tools and brush
    Q_PROPERTY(QString canvasTool READ qmlCanvasTool WRITE setQmlCanvasTool NOTIFY canvasToolChanged)
    Q_PROPERTY(QString previousTool READ qmlPreviousTool WRITE setQmlPreviousTool NOTIFY previousToolChanged)
    Q_PROPERTY(QString brushTip READ qmlBrushTip WRITE setQmlBrushTip NOTIFY brushTipChanged)
    Q_PROPERTY(double brushSize READ brushSize WRITE setBrushSize NOTIFY brushSizeChanged)
    Q_PROPERTY(double brushHardness READ brushHardness WRITE setBrushHardness NOTIFY brushHardnessChanged)

    // Selections and colour picking
    Q_PROPERTY(QString selectionKind READ qmlSelectionKind WRITE setQmlSelectionKind NOTIFY selectionKindChanged)
    Q_PROPERTY(QVariant pendingSelection READ qmlPendingSelection WRITE setQmlPendingSelection NOTIFY pendingSelectionChanged)
    Q_PROPERTY(QString pendingKind READ qmlPendingKind WRITE setQmlPendingKind NOTIFY pendingKindChanged)
    Q_PROPERTY(QVariant lastSelection READ qmlLastSelection NOTIFY lastSelectionChanged)
    Q_PROPERTY(QString lastSelectionKind READ qmlLastSelectionKind NOTIFY lastSelectionKindChanged)
    Q_PROPERTY(QVariantList liveStroke READ qmlLiveStroke WRITE setQmlLiveStroke NOTIFY liveStrokeChanged)
    Q_PROPERTY(QVariantList selectionPalette READ qmlSelectionPalette WRITE setQmlSelectionPalette NOTIFY selectionPaletteChanged)
    Q_PROPERTY(QVariantList pickedColors READ qmlPickedColors WRITE setQmlPickedColors NOTIFY pickedColorsChanged)
    Q_PROPERTY(double colorTolerance READ colorTolerance WRITE setColorTolerance NOTIFY colorToleranceChanged)
    Q_PROPERTY(bool isLoadingPalette READ isLoadingPalette NOTIFY isLoadingPaletteChanged)

    // Mask and paint edits
    Q_PROPERTY(QStringList maskOps READ qmlMaskOps NOTIFY maskOpsChanged)
    Q_PROPERTY(int activeOpCount READ activeOpCount NOTIFY activeOpCountChanged)
    Q_PROPERTY(bool editLayers READ hasEditLayers NOTIFY editLayersChanged)
    Q_PROPERTY(QColor paintColor READ qmlPaintColor WRITE setQmlPaintColor NOTIFY paintColorChanged)
    Q_PROPERTY(QString paintBlend READ qmlPaintBlend WRITE setQmlPaintBlend NOTIFY paintBlendChanged)
    Q_PROPERTY(double paintOpacity READ paintOpacity WRITE setPaintOpacity NOTIFY paintOpacityChanged)
    Q_PROPERTY(QString gradientKind READ qmlGradientKind WRITE setQmlGradientKind NOTIFY gradientKindChanged)
    Q_PROPERTY(QColor gradientStart READ qmlGradientStart WRITE setQmlGradientStart NOTIFY gradientStartChanged)
    Q_PROPERTY(QColor gradientEnd READ qmlGradientEnd WRITE setQmlGradientEnd NOTIFY gradientEndChanged)
    Q_PROPERTY(QVariant gradientLine READ qmlGradientLine WRITE setQmlGradientLine NOTIFY gradientLineChanged)
    Q_PROPERTY(double gradientAngle READ gradientAngle WRITE setGradientAngle NOTIFY gradientAngleChanged)
    Q_PROPERTY(QStringList paintOps READ qmlPaintOps NOTIFY paintOpsChanged)
    Q_PROPERTY(int activePaintOpCount READ activePaintOpCount NOTIFY activePaintOpCountChanged)
    Q_PROPERTY(bool paintLayers READ hasPaintLayers NOTIFY paintLayersChanged)
    Q_PROPERTY(QVariant cropDraft READ qmlCropDraft WRITE setQmlCropDraft NOTIFY cropDraftChanged)
    Q_PROPERTY(QString cropAspect READ qmlCropAspect WRITE setQmlCropAspect NOTIFY cropAspectChanged)

    // History
    Q_PROPERTY(int undoStack READ undoCount NOTIFY undoStackChanged)
    Q_PROPERTY(int redoStack READ redoCount NOTIFY redoStackChanged)

    // Export and share
    Q_PROPERTY(QString exportFormat READ qmlExportFormat WRITE setQmlExportFormat NOTIFY exportFormatChanged)
    Q_PROPERTY(int exportLongEdge READ exportLongEdge WRITE setExportLongEdge NOTIFY exportLongEdgeChanged)
    Q_PROPERTY(double exportQuality READ exportQuality WRITE setExportQuality NOTIFY exportQualityChanged)
    Q_PROPERTY(bool transparentBackground READ transparentBackground WRITE setTransparentBackground NOTIFY transparentBackgroundChanged)
    Q_PROPERTY(bool showExportSheet READ showExportSheet WRITE setShowExportSheet NOTIFY showExportSheetChanged)
    Q_PROPERTY(bool showFileExporter READ showFileExporter WRITE setShowFileExporter NOTIFY showFileExporterChanged)
    Q_PROPERTY(QVariant exportFile READ qmlExportFile NOTIFY exportFileChanged)
    Q_PROPERTY(QString exportFilename READ exportFilename WRITE setExportFilename NOTIFY exportFilenameChanged)
    Q_PROPERTY(QString exportDestination READ qmlExportDestination WRITE setQmlExportDestination NOTIFY exportDestinationChanged)
    Q_PROPERTY(QUrl shareURL READ shareURL NOTIFY shareURLChanged)
    Q_PROPERTY(bool showShareSheet READ showShareSheet WRITE setShowShareSheet NOTIFY showShareSheetChanged)
    Q_PROPERTY(int svgColors READ svgColors WRITE setSvgColors NOTIFY svgColorsChanged)
    Q_PROPERTY(double svgDetail READ svgDetail WRITE setSvgDetail NOTIFY svgDetailChanged)
    Q_PROPERTY(bool svgFileMaker READ svgFileMaker WRITE setSvgFileMaker NOTIFY svgFileMakerChanged)
    Q_PROPERTY(QString svgSource READ qmlSvgSource WRITE setQmlSvgSource NOTIFY svgSourceChanged)

    // Window and application
    Q_PROPERTY(QString importTarget READ qmlImportTarget WRITE setQmlImportTarget NOTIFY importTargetChanged)
    Q_PROPERTY(bool showImporter READ showImporter WRITE setShowImporter NOTIFY showImporterChanged)
    Q_PROPERTY(QString lastError READ lastError WRITE setLastError NOTIFY lastErrorChanged)
    // A short notice of work that succeeded ("Saved duck.png to ~/Pictures",
    // "Copied"), gone noticeDuration after it appeared; the file or folder its
    // "Show in Folder" shows (empty: none); the path its "Copy Path" copies
    // (empty: none); whether it tells of something that failed instead.
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)
    Q_PROPERTY(QString noticeRevealPath READ noticeRevealPath NOTIFY noticeChanged)
    Q_PROPERTY(QString noticeCopyPath READ noticeCopyPath NOTIFY noticeChanged)
    Q_PROPERTY(bool noticeIsFailure READ noticeIsFailure NOTIFY noticeChanged)
    Q_PROPERTY(bool batchMode READ batchMode WRITE setBatchMode NOTIFY batchModeChanged)
    Q_PROPERTY(zephrin::BatchState* batch READ batch CONSTANT)
    Q_PROPERTY(zephrin::TextLayerList* textLayerList READ textLayerList CONSTANT)
    Q_PROPERTY(QUrl pendingIncomingURL READ pendingIncomingURL WRITE setPendingIncomingURL NOTIFY pendingIncomingURLChanged)
    Q_PROPERTY(bool showIncomingReplaceConfirm READ showIncomingReplaceConfirm WRITE setShowIncomingReplaceConfirm NOTIFY showIncomingReplaceConfirmChanged)

    // Sticker sheet
    Q_PROPERTY(bool sheetRender READ hasSheetRender NOTIFY sheetRenderChanged)
    Q_PROPERTY(QString sheetNotice READ sheetNotice WRITE setSheetNotice NOTIFY sheetNoticeChanged)
    Q_PROPERTY(int sheetRenderStamp READ sheetRenderStamp NOTIFY sheetRenderStampChanged)
    Q_PROPERTY(QString sheetError READ sheetError WRITE setSheetError NOTIFY sheetErrorChanged)
    Q_PROPERTY(double defaultStickerWidth READ defaultStickerWidth WRITE setDefaultStickerWidth NOTIFY defaultStickerWidthChanged)
    // The designs as a list model; the settings as a map of their fields
    // (paper and region as labels, borderColor a color) changed through
    // setSheetSetting(); the pins as a map from key to point; the render's
    // preview and layout ({placedCount, requestedCount, placements: [{key,
    // itemID, instance, x, y, width, height}]}, inches); whether a layout is
    // waiting or running; whether the render may be exported (one exists, it
    // is the layout of the sheet as it stands, and a sticker is placed); and
    // why not, when that layout places none.
    Q_PROPERTY(zephrin::StickerItemList* sheetItemList READ sheetItemList CONSTANT)
    Q_PROPERTY(QVariantMap sheetSettings READ qmlSheetSettings NOTIFY sheetSettingsChanged)
    Q_PROPERTY(QVariantMap sheetPins READ qmlSheetPins WRITE setQmlSheetPins NOTIFY sheetPinsChanged)
    Q_PROPERTY(QImage sheetPreview READ sheetPreview NOTIFY sheetRenderChanged)
    Q_PROPERTY(QSizeF sheetPreviewSize READ sheetPreviewSize NOTIFY sheetRenderChanged)
    Q_PROPERTY(QVariantMap sheetLayout READ qmlSheetLayout NOTIFY sheetRenderChanged)
    Q_PROPERTY(bool sheetLayoutPending READ sheetLayoutPending NOTIFY sheetLayoutPendingChanged)
    Q_PROPERTY(bool sheetExportable READ sheetExportable NOTIFY sheetExportableChanged)
    Q_PROPERTY(QString sheetExportRefusal READ sheetExportRefusal NOTIFY sheetExportRefusalChanged)

    // Derived values
    Q_PROPERTY(QString compositeSizeLabel READ compositeSizeLabel NOTIFY compositeChanged)
    // The pixel size a raster export writes (exportedSize of the composite,
    // else the cutout); 0 × 0 without either.
    Q_PROPERTY(QSize exportSize READ exportSize NOTIFY exportSizeChanged)
    Q_PROPERTY(QString zoomLabel READ zoomLabel NOTIFY zoomChanged)
    Q_PROPERTY(bool isPolygonInProgress READ isPolygonInProgress NOTIFY polygonStateChanged)

    // The subject finders this build can run, in picker order
    Q_PROPERTY(QStringList availableMatteModels READ qmlAvailableMatteModels CONSTANT)
    // Listing presets, compliance and the panel gradient (EditorResize.cpp)
    Q_PROPERTY(QVariantList complianceItems READ qmlComplianceItems NOTIFY complianceItemsChanged)
    Q_PROPERTY(bool willReplaceGradient READ willReplaceGradient NOTIFY willReplaceGradientChanged)

public:
    // The start value of comp: the plain cutout, also what "Reset to plain
    // cutout" returns to.
    static CompositeSettings defaultCompositeSettings() { return CompositeSettings{}; }

    // An editor on the real engines, worker pools, clipboard and user settings.
    explicit EditorState(QObject* parent = nullptr);
    // An editor on the given services (tests script the engines and the runner).
    explicit EditorState(EditorServices services, QObject* parent = nullptr);
    ~EditorState() override;

    EditorEngines& engines() const { return *m_engines; }
    // Where the editor's work and timers run; the window's own waits use it too.
    TaskRunner& runner() const { return *m_runner; }
    BatchState* batch() const { return m_batch; }
    // comp.texts as a list model, one row per layer.
    TextLayerList* textLayerList() const { return m_textLayerList; }

    // ---- Document and results ------------------------------------------------
    EditorTool tool() const { return m_tool; }
    void setTool(EditorTool value);
    const std::optional<ImageDocument>& document() const { return m_document; }
    const std::optional<ImageBox>& cutout() const { return m_cutout; }
    const std::optional<ImageBox>& composite() const { return m_composite; }
    // How the composite's pixels map to the document's, published with each
    // composite (the identity without one): the canvas maps the pointer
    // through it, since every edit is stored in document pixels.
    const CompositeFrame& compositeFrame() const { return m_compositeFrame; }
    // The pixels of the picture behind the subject; none without one, and
    // for a moment after undo or redo brought back one that history had let
    // go, while it is made again.
    const std::optional<ImageBox>& backgroundImage() const;
    // Whether a picture is behind the subject (also while it is made again).
    bool hasBackgroundPicture() const { return m_background.has_value(); }
    // The last composite without text layers (not observable).
    const std::optional<ImageBox>& compositeBase() const { return m_compositeBase; }
    QSizeF subjectBoundsSize() const { return m_subjectBoundsSize; }
    double subjectWhiteFraction() const { return m_subjectWhiteFraction; }
    bool resultOpaque() const { return m_resultOpaque; }
    // The document's pixel size; 0 × 0 without one.
    QSize sourceSize() const;

    // ---- Backdrop and composite ----------------------------------------------
    const QString& backdropID() const { return m_backdropID; }   // empty: none
    void setBackdropID(const QString& value);
    RGBAColor customBackdropA() const { return m_customBackdropA; }
    void setCustomBackdropA(RGBAColor value);
    RGBAColor customBackdropB() const { return m_customBackdropB; }
    void setCustomBackdropB(RGBAColor value);
    CustomBackdropShape customBackdropShape() const { return m_customBackdropShape; }
    void setCustomBackdropShape(CustomBackdropShape value);
    const CompositeSettings& comp() const { return m_comp; }
    void setComp(const CompositeSettings& value);

    // ---- Text layers ---------------------------------------------------------
    QUuid selectedTextID() const { return m_selectedTextID; }   // null: none
    void setSelectedTextID(QUuid value);
    QUuid draggingTextID() const { return m_draggingTextID; }   // null: none
    void setDraggingTextID(QUuid value);

    // ---- Cutout and matte settings -------------------------------------------
    const std::optional<MatteBox>& matte() const { return m_matte; }
    // How the matte was made (meaningless without one).
    MatteOrigin matteOrigin() const { return m_matteOrigin; }
    bool isProcessing() const { return m_busy.busy(); }
    QString processingLabel() const { return m_processingLabel; }
    bool suggestFillHoles() const { return m_suggestFillHoles; }
    const QString& cutoutNote() const { return m_cutoutNote; }   // empty: none
    CutoutMethod cutoutMethod() const { return m_cutoutMethod; }
    void setCutoutMethod(CutoutMethod value);
    MatteModel matteModel() const { return m_matteModel; }
    void setMatteModel(MatteModel value);
    double flatTolerance() const { return m_flatTolerance; }
    void setFlatTolerance(double value);
    bool flatConnectedOnly() const { return m_flatConnectedOnly; }
    void setFlatConnectedOnly(bool value);
    double flatCloseGaps() const { return m_flatCloseGaps; }
    void setFlatCloseGaps(double value);
    std::optional<ListingPreset> activePreset() const { return m_activePreset; }
    void setActivePreset(std::optional<ListingPreset> value);
    bool fillHoles() const { return m_fillHoles; }
    void setFillHoles(bool value);
    EdgeRefineMode edgeMode() const { return m_edgeMode; }
    void setEdgeMode(EdgeRefineMode value);
    double feather() const { return m_feather; }
    void setFeather(double value);
    bool decontaminateEnabled() const { return m_decontaminateEnabled; }
    void setDecontaminateEnabled(bool value);
    double decontaminate() const { return m_decontaminate; }
    void setDecontaminate(double value);
    // The five refinement settings as one value.
    MatteSettings matteSettings() const;

    // ---- View ----------------------------------------------------------------
    double zoom() const { return m_zoom; }
    void setZoom(double value);
    bool compareEnabled() const { return m_compareEnabled; }
    void setCompareEnabled(bool value);
    double comparePosition() const { return m_comparePosition; }
    void setComparePosition(double value);
    QSizeF panOffset() const { return m_panOffset; }
    void setPanOffset(QSizeF value);
    bool spacePan() const { return m_spacePan; }
    void setSpacePan(bool value);
    std::optional<QPointF> hoverPoint() const { return m_hoverPoint; }
    void setHoverPoint(std::optional<QPointF> value);

    // ---- Canvas tools and brush ----------------------------------------------
    CanvasTool canvasTool() const { return m_canvasTool; }
    void setCanvasTool(CanvasTool value);
    CanvasTool previousTool() const { return m_previousTool; }
    void setPreviousTool(CanvasTool value);
    BrushTip brushTip() const { return m_brushTip; }
    void setBrushTip(BrushTip value);
    double brushSize() const { return m_brushSize; }
    void setBrushSize(double value);
    double brushHardness() const { return m_brushHardness; }
    void setBrushHardness(double value);

    // ---- Selections and colour picking ---------------------------------------
    using Points = std::vector<QPointF>;
    SelectionKind selectionKind() const { return m_selectionKind; }
    void setSelectionKind(SelectionKind value);
    const std::optional<Points>& pendingSelection() const { return m_pendingSelection; }
    void setPendingSelection(std::optional<Points> value);
    SelectionKind pendingKind() const { return m_pendingKind; }
    void setPendingKind(SelectionKind value);
    const std::optional<Points>& lastSelection() const { return m_lastSelection; }
    void setLastSelection(std::optional<Points> value);
    SelectionKind lastSelectionKind() const { return m_lastSelectionKind; }
    void setLastSelectionKind(SelectionKind value);
    const Points& liveStroke() const { return m_liveStroke; }
    void setLiveStroke(Points value);
    const QList<PaletteEntry>& selectionPalette() const { return m_selectionPalette; }
    void setSelectionPalette(QList<PaletteEntry> value);
    const QList<RGBAColor>& pickedColors() const { return m_pickedColors; }
    void setPickedColors(QList<RGBAColor> value);
    double colorTolerance() const { return m_colorTolerance; }
    void setColorTolerance(double value);
    bool isLoadingPalette() const { return m_isLoadingPalette; }

    // ---- Mask and paint edits ------------------------------------------------
    const std::vector<MaskEditOp>& maskOps() const { return m_maskOps; }
    int activeOpCount() const { return m_activeOpCount; }
    const std::optional<MaskEditLayers>& editLayers() const { return m_editLayers; }
    bool hasEditLayers() const { return m_editLayers.has_value(); }
    RGBAColor paintColor() const { return m_paintColor; }
    void setPaintColor(RGBAColor value);
    PaintBlend paintBlend() const { return m_paintBlend; }
    void setPaintBlend(PaintBlend value);
    double paintOpacity() const { return m_paintOpacity; }
    void setPaintOpacity(double value);
    GradientKind gradientKind() const { return m_gradientKind; }
    void setGradientKind(GradientKind value);
    RGBAColor gradientStart() const { return m_gradientStart; }
    void setGradientStart(RGBAColor value);
    RGBAColor gradientEnd() const { return m_gradientEnd; }
    void setGradientEnd(RGBAColor value);
    std::optional<QLineF> gradientLine() const { return m_gradientLine; }
    void setGradientLine(std::optional<QLineF> value);
    double gradientAngle() const { return m_gradientAngle; }
    void setGradientAngle(double value);
    std::optional<int> lastGradientOpIndex() const { return m_lastGradientOpIndex; }
    const std::vector<PaintOp>& paintOps() const { return m_paintOps; }
    int activePaintOpCount() const { return m_activePaintOpCount; }
    const std::optional<PaintLayers>& paintLayers() const { return m_paintLayers; }
    bool hasPaintLayers() const { return m_paintLayers.has_value(); }
    std::optional<QRectF> cropDraft() const { return m_cropDraft; }
    void setCropDraft(std::optional<QRectF> value);
    AspectPreset cropAspect() const { return m_cropAspect; }
    void setCropAspect(AspectPreset value);

    // ---- History -------------------------------------------------------------
    const QList<EditSnapshot>& undoStack() const { return m_undoStack; }
    const QList<EditSnapshot>& redoStack() const { return m_redoStack; }
    int undoCount() const { return int(m_undoStack.size()); }
    int redoCount() const { return int(m_redoStack.size()); }
    const EditSnapshot& lastCommitted() const { return m_lastCommitted; }
    // History keeps the pixels of this many backdrop pictures besides the one
    // shown: those of the nearest steps. A farther one that can be made again
    // lets them go (BackdropPicture).
    static constexpr int kHistoryPictures = 2;
    // The backdrop pictures whose pixels history holds besides the one shown.
    struct HeldPictures {
        int count = 0;
        std::size_t bytes = 0;
    };
    HeldPictures historyPictures() const;
    bool suppressHistory() const { return m_suppressHistory; }
    void setSuppressHistory(bool value) { m_suppressHistory = value; }

    // ---- Export and share ----------------------------------------------------
    ExportFormat exportFormat() const { return m_exportFormat; }
    void setExportFormat(ExportFormat value);
    int exportLongEdge() const { return m_exportLongEdge; }
    void setExportLongEdge(int value);
    double exportQuality() const { return m_exportQuality; }
    void setExportQuality(double value);
    bool transparentBackground() const { return m_transparentBackground; }
    void setTransparentBackground(bool value);
    bool showExportSheet() const { return m_showExportSheet; }
    void setShowExportSheet(bool value);
    bool showFileExporter() const { return m_showFileExporter; }
    void setShowFileExporter(bool value);
    const std::optional<ExportFile>& exportFile() const { return m_exportFile; }
    const QString& exportFilename() const { return m_exportFilename; }
    void setExportFilename(const QString& value);
    ExportDestination exportDestination() const { return m_exportDestination; }
    void setExportDestination(ExportDestination value);
    QUrl shareURL() const { return m_shareURL; }
    bool showShareSheet() const { return m_showShareSheet; }
    void setShowShareSheet(bool value);
    int svgColors() const { return m_svgColors; }
    void setSvgColors(int value);
    double svgDetail() const { return m_svgDetail; }
    void setSvgDetail(double value);
    bool svgFileMaker() const { return m_svgFileMaker; }
    void setSvgFileMaker(bool value);
    TraceSource svgSource() const { return m_svgSource; }
    void setSvgSource(TraceSource value);

    // ---- Window and application ----------------------------------------------
    ImportTarget importTarget() const { return m_importTarget; }
    void setImportTarget(ImportTarget value);
    bool showImporter() const { return m_showImporter; }
    void setShowImporter(bool value);
    // The sentence of the last failure, until the user does something that
    // succeeds: work started after the error that lands without one (every
    // job's landing takes care of it), a batch run that makes results or an
    // Export All that writes files, a copy or a drag, or the start of an
    // export or a cutout run. Empty: none.
    const QString& lastError() const { return m_lastError; }
    void setLastError(const QString& value);
    // Something the user did succeeded at once: the error goes, whatever it
    // was about.
    void clearLastError();
    const QString& notice() const { return m_notice; }   // empty: none
    const QString& noticeRevealPath() const { return m_noticeRevealPath; }
    const QString& noticeCopyPath() const { return m_noticeCopyPath; }
    bool noticeIsFailure() const { return m_noticeIsFailure; }
    // Shows a success notice (replacing one that is up) for noticeDuration;
    // with `copyPath`, it offers to copy that path, which it names.
    void showNotice(const QString& text, const QString& revealPath = {}, const QString& copyPath = {});
    // Shows a failure's sentence as a notice for noticeDuration: where the
    // view it concerns is not in front (lastError belongs to the one that is).
    void showFailureNotice(const QString& text);
    // Shows a notice that offers to copy `path`, which it names: nothing could
    // show the file. It stays until it is closed or replaced, so the path can
    // be read and copied. A failure is marked as one: the work itself may
    // have succeeded (a shared file is ready) while only the showing failed.
    void showPathNotice(const QString& text, const QString& path, NoticeKind kind);
    // "Copy Path": the notice's path on the clipboard as text; the notice then
    // says so.
    Q_INVOKABLE void copyNoticePath();
    Q_INVOKABLE void dismissNotice();
    static constexpr std::chrono::milliseconds noticeDuration{4000};
    bool batchMode() const { return m_batchMode; }
    void setBatchMode(bool value);
    QUrl pendingIncomingURL() const { return m_pendingIncomingURL; }
    void setPendingIncomingURL(const QUrl& value);
    bool showIncomingReplaceConfirm() const { return m_showIncomingReplaceConfirm; }
    void setShowIncomingReplaceConfirm(bool value);

    // ---- Sticker sheet -------------------------------------------------------
    const std::vector<StickerItem>& sheetItems() const { return m_sheetItems; }
    void setSheetItems(std::vector<StickerItem> value);
    const SheetSettings& sheetSettings() const { return m_sheetSettings; }
    void setSheetSettings(const SheetSettings& value);
    const std::optional<SheetRender>& sheetRender() const { return m_sheetRender; }
    void setSheetRender(std::optional<SheetRender> value);
    bool hasSheetRender() const { return m_sheetRender.has_value(); }
    const SheetPins& sheetPins() const { return m_sheetPins; }
    void setSheetPins(SheetPins value);
    const QString& sheetNotice() const { return m_sheetNotice; }
    void setSheetNotice(const QString& value);
    int sheetRenderStamp() const { return m_sheetRenderStamp; }
    void setSheetRenderStamp(int value);
    const QString& sheetError() const { return m_sheetError; }
    void setSheetError(const QString& value);
    double defaultStickerWidth() const { return m_defaultStickerWidth; }
    void setDefaultStickerWidth(double value);
    StickerItemList* sheetItemList() const { return m_sheetItemList; }
    // A layout is waiting for its debounce or running.
    bool sheetLayoutPending() const { return m_sheetLayoutPending; }
    // A render exists, no layout is pending or has failed since, and it places
    // at least one sticker: the print image and the cut file come from the
    // layout of the sheet as it stands, and hold something.
    bool sheetExportable() const { return m_sheetExportable; }
    // Why that layout may not be exported, in the panel's words: it places
    // no sticker. Empty otherwise (the other reasons show as themselves:
    // no designs, the layout under way, sheetError).
    const QString& sheetExportRefusal() const { return m_sheetExportRefusal; }
    // The sheet has designs and no file of it was saved since its last change:
    // it exists only in memory.
    bool sheetHasUnsavedWork() const;

    // Lays the sheet out again after the 120 ms wait, replacing a layout that
    // is waiting or running; without designs, drops the render at once.
    Q_INVOKABLE void layoutSheet();
    // Adds the result as shown (the composite, else the cutout), trimmed to
    // its visible pixels, and switches to the sheet tool.
    Q_INVOKABLE void addToStickerSheet();
    // Removes a design and its pins.
    void removeSheetItem(const QUuid& id);
    Q_INVOKABLE void removeSheetItem(const QString& id);
    Q_INVOKABLE void clearStickerSheet();
    // Pins a copy (by its placement key) with its top-left corner at `corner`
    // (inches), pulled into the printable area; every other copy is pinned
    // where it stands. False, changing nothing but the notice, which says
    // why, while the render is not the sheet as it stands (a layout pending,
    // the last one failed), for a copy that layout does not hold, for a drop
    // wholly off the paper, on another copy or too close to one; each
    // refusal also emits stickerPinRefused.
    Q_INVOKABLE bool moveStickerPin(const QString& key, QPointF corner);
    // Hand the print PNG or the cut file to the file exporter; nothing
    // unless the render is exportable (a sheet without a sticker placed is
    // refused, as sheetExportRefusal says).
    Q_INVOKABLE void exportStickerSheetPNG();
    Q_INVOKABLE void exportStickerSheetCutSVG();
    // One field of one design ("widthInches", "count"); false for an unknown
    // design, field or unusable value.
    Q_INVOKABLE bool setSheetItemField(const QString& id, const QString& field, const QVariant& value);
    // One field of sheetSettings, as sheetSettings names it; false for an
    // unknown field or unusable value.
    Q_INVOKABLE bool setSheetSetting(const QString& field, const QVariant& value);
    QImage sheetPreview() const;
    // The preview's size in pixels; 0 × 0 without a render.
    QSizeF sheetPreviewSize() const;

    // ---- Derived values ------------------------------------------------------
    // "W × H" of the composite, "—" without one.
    QString compositeSizeLabel() const;
    QSize exportSize() const;
    // The zoom in percent, rounded half away from zero: "100%".
    QString zoomLabel() const;
    // An outline is being placed point by point under the select or gradient tool.
    bool isPolygonInProgress() const;
    // The subject lift, and IS-Net when its model file is there.
    std::vector<MatteModel> availableMatteModels() const;

    // ---- Listing presets, compliance and crop editing (EditorResize.cpp) ------
    // Remembers the preset and gives comp, the export format and size (and,
    // for the iron-on preset, the SVG colours) the preset's values.
    void applyListingPreset(ListingPreset preset);
    // The same by the preset's title; an unknown title changes nothing.
    Q_INVOKABLE void applyListingPreset(const QString& title);
    // "Reset to plain cutout": the default composite settings, no backdrop
    // picture and no listing preset, with the export that was in force before
    // the preset; one history step.
    void resetToPlainCutout();
    // The checklist of activePreset for the result as it stands, computed on
    // every read; empty without a preset or a composite.
    std::vector<ComplianceItem> complianceItems() const;
    // How much of the composite the subject fills; none without a composite
    // or a measured subject.
    std::optional<double> subjectFillFraction() const;
    // Starts editing the crop on the canvas: cropDraft becomes comp.crop (in
    // document pixels, kept on the image), the canvas tool crop, the tool resize.
    Q_INVOKABLE void beginCropEditing();
    // Drops the draft and returns the canvas to the view tool; comp.crop stays.
    Q_INVOKABLE void cancelCropEditing();
    // Whether the panel's next gradient replaces the last operation: it is a
    // gradient placed by the panel or a canvas drag, it is the newest paint
    // operation, and nothing is undone.
    bool willReplaceGradient() const { return m_willReplaceGradient; }

    // ---- Import and clear ----------------------------------------------------
    // Opens the file as the document, or, with the background target, as the
    // backdrop (and saves it to My Backgrounds). Returns at once; the file is
    // read on a worker and the newest import wins.
    Q_INVOKABLE void importImage(const QUrl& url);
    struct ImportOptions {
        QString name;                     // the document's name; empty: the file's
        // The file is a private copy: deleted once its picture has landed (or
        // proved unreadable); an import replaced before that leaves it.
        bool removeAfterReading = false;
        // The picture comes into view once it is the document, out of the
        // batch's; a file that cannot be opened leaves the batch in view and
        // says why in a notice there.
        bool intoView = false;
    };
    void importImage(const QUrl& url, const ImportOptions& options);
    // A file is being read to become the document (a newer import would
    // replace it before it is shown).
    bool isOpeningDocument() const { return m_importTask.running(); }
    Q_INVOKABLE void clearDocument();

    // ---- Cutout --------------------------------------------------------------
    Q_INVOKABLE void runAutoSubject();
    Q_INVOKABLE void cutSelection();
    void runFlatColor(std::function<void()> completion);
    Q_INVOKABLE void runFlatColor() { runFlatColor(nullptr); }
    Q_INVOKABLE void scheduleFlatColor();
    // Replaces the mask list; when hand edits were in force, a notice says
    // that undo brings them back.
    Q_INVOKABLE void applyLineArtPreset();
    // Whether the "Line art" preset's colour key heads the mask list: the
    // preset started the list (its step, in force, left the setup it
    // replaced on the undo stack) and a colour key comes first.
    bool lineArtKeyLeads() const;

    // ---- Refine and composite ------------------------------------------------
    // `skipDebounce`: start at once instead of after the 90 ms wait.
    Q_INVOKABLE void scheduleRender(bool skipDebounce);
    Q_INVOKABLE void recomposite(bool skipDebounce);
    Q_INVOKABLE void redrawTextLayers();
    // What is kept of the recent renders (undo and redo show it), counted.
    const KeptRenders& keptRenders() const { return m_kept; }

    // ---- Mask edits, paint and history ---------------------------------------
    void appendMaskOp(const MaskEditOp& op);
    void appendPaintOp(const PaintOp& op);
    // Closes the newest step to merging (a slider lets go) and records what
    // changed since the last step, if anything.
    Q_INVOKABLE void commitHistory();
    Q_INVOKABLE void undo();
    Q_INVOKABLE void redo();
    void restore(const EditSnapshot& snapshot);
    // The settings, active counts, composite and preset as they stand (no extras).
    EditSnapshot currentSnapshot() const;
    Q_INVOKABLE void applyMaskEdits();
    Q_INVOKABLE void applyPaint();
    void commitPaintStroke(const Points& points);
    void commitMaskStroke(const Points& points);
    Q_INVOKABLE void commitPaintStroke(const QVariantList& points);
    Q_INVOKABLE void commitMaskStroke(const QVariantList& points);
    Q_INVOKABLE void applyGradient(QPointF from, QPointF to);
    Q_INVOKABLE void applyPanelGradient();
    Q_INVOKABLE void fillSelectionWithPaintColor();
    Q_INVOKABLE void clearPaint();
    Q_INVOKABLE void clearEdits();
    // A shape edit from the guided-cut buttons: erases inside the pending
    // selection ("Remove this") or everything outside it ("Keep only this").
    Q_INVOKABLE void eraseSelection(bool inside);

    // ---- Backdrops -----------------------------------------------------------
    void selectBackdrop(const Backdrop& backdrop);
    void selectPhotoBackdrop(const PhotoBackdrop& photo);
    void selectMyBackground(const MyBackground& background);
    // The same by identifier, for QML: a generated preset's id, or "custom" for
    // the custom gradient built from customBackdropA, B and the shape.
    Q_INVOKABLE void selectBackdrop(const QString& id);
    Q_INVOKABLE void selectPhotoBackdrop(const QString& photoID);
    Q_INVOKABLE void selectMyBackground(const QString& backgroundID);
    // The custom gradient as it stands.
    Backdrop customBackdrop() const;

    // ---- Text and shape layers -----------------------------------------------
    Q_INVOKABLE void addTextLayer();
    Q_INVOKABLE void addShapeLayer(const QString& kindID);
    Q_INVOKABLE void applyShapeToSelectedLayer(const QString& kindID);
    void duplicateTextLayer(QUuid id);
    void deleteTextLayer(QUuid id);
    Q_INVOKABLE void duplicateTextLayer(const QString& id) { duplicateTextLayer(QUuid::fromString(id)); }
    Q_INVOKABLE void deleteTextLayer(const QString& id) { deleteTextLayer(QUuid::fromString(id)); }

    // ---- One text layer by id (EditorTextHandles.cpp) -----------------------
    // The layer with that id, or none.
    std::optional<TextLayer> textLayer(QUuid id) const;
    // Changes the layer with that id in one write of comp; false (nothing
    // written) when no layer has the id.
    bool updateTextLayer(QUuid id, const std::function<void(TextLayer&)>& change);
    // Its box in whole pixels over an image `imageHeight` pixels high; none
    // for an unknown id.
    std::optional<QSizeF> textBoxSize(QUuid id, double imageHeight) const;
    // The layer drawn alone for an image of that size, mirrored as comp is;
    // none for an unknown id or a layer too small to draw.
    std::optional<Image> textLayerSprite(QUuid id, QSizeF imageSize) const;

    // ---- Canvas tools, selections and colour picking -------------------------
    Q_INVOKABLE void togglePanTool();
    void finishSelection(const Points& points);
    Q_INVOKABLE void finishSelection(const QVariantList& points);
    Q_INVOKABLE void addPolygonPoint(QPointF point);
    Q_INVOKABLE void closePolygon();
    // Ends the pending selection (it becomes the last selection) and hands it
    // back; none when nothing is pending.
    std::optional<std::pair<SelectionKind, Points>> clearPendingSelection();
    Q_INVOKABLE void endPendingSelection() { clearPendingSelection(); }
    Q_INVOKABLE void reselectLastSelection();
    Q_INVOKABLE void loadSelectionPalette();
    void togglePickedColor(RGBAColor color);
    Q_INVOKABLE void togglePickedColor(const QColor& color);
    Q_INVOKABLE bool isColorPicked(double r, double g, double b) const;
    Q_INVOKABLE void pickColor(QPointF point);
    Q_INVOKABLE void removePickedColors(bool keep);
    Q_INVOKABLE void applyCrop();
    Q_INVOKABLE void removeCrop();
    Q_INVOKABLE void zoomToFit();

    // ---- Export, copy and share ----------------------------------------------
    // Renders the result in exportFormat in the background and hands it to
    // exportDestination. (The design's "export", a reserved word in C++ and JS.)
    Q_INVOKABLE void exportImage();
    // Writes exportFile to the file the save dialog chose (which asked before
    // replacing one), atomically and off the GUI thread; then a notice says
    // where it went, exportFile is let go and exportSaved() fires, or
    // lastError says why it could not be written (exportFile stays for another
    // try). `replace` false: a file of that name stays, and the save fails (a
    // name the dialog did not ask about).
    Q_INVOKABLE void saveExportFile(const QUrl& target, bool replace = true);
    // Puts the result's PNG on the clipboard: at once when it is prepared,
    // else as soon as it is (the newest result's, when a newer one is shown
    // meanwhile); then the notice says "Copied".
    Q_INVOKABLE void copyToPasteboard();
    // The PNG of the result as shown (the composite, else the cutout), made
    // off the GUI thread a short while after the result is published, or at
    // once on request; none while it is being made or without a result.
    const std::optional<QByteArray>& resultPNG() const { return m_resultPNG; }
    // Makes the result's PNG now (no wait) unless it is made or being made;
    // resultPNGChanged() tells when it is there.
    Q_INVOKABLE void prepareResultPNG();
    // Writes the data into the private share folder as exportFilename plus the
    // format's extension; the file's URL, or none.
    std::optional<QUrl> writeShareFile(const QByteArray& data, ExportFormat format);
    // The folder that holds the file prepared for sharing.
    QString shareFolder() const;

    // ---- QML helpers ---------------------------------------------------------
    // Sets one field of comp ("outlineWidth", "backgroundMode", "crop", …),
    // clamped to its range; one write of comp. False for an unknown field or a
    // value of the wrong kind.
    Q_INVOKABLE bool setComp(const QString& field, const QVariant& value);
    // One field of subjectAdjust or backgroundAdjust (target "subject" or
    // "background"): "exposure", "contrast", "saturation", "warmth".
    Q_INVOKABLE bool setAdjust(const QString& target, const QString& field, const QVariant& value);
    // Sets the adjustment set of the target ("subject", "background") to no
    // adjustment, the other set unchanged; one write of comp.
    Q_INVOKABLE bool resetAdjust(const QString& target);
    // One field of the text layer with that id ("text", "size", "color", …).
    Q_INVOKABLE bool setTextField(const QString& id, const QString& field, const QVariant& value);
    // The text layers of comp, in drawing order, as maps of their fields.
    Q_INVOKABLE QVariantList textLayers() const;
    // The range, step and default of a numeric setting, for its control: an
    // editor property ("feather", "brushSize", …), a field of comp
    // ("outlineWidth"), of an adjustment ("exposure") or of a text layer
    // ("curve"). A map of lower, upper, step and defaultValue; empty for
    // another name. The editor clamps what is written to it (text layers
    // excepted: the canvas's handles go beyond their sliders).
    Q_INVOKABLE QVariantMap settingRange(const QString& name) const;
    // The labels of an enumeration property's cases in picker order
    // ("edgeMode" → smooth, detail, contrast); empty for other names.
    Q_INVOKABLE QStringList choices(const QString& property) const;
    // The document, cutout, composite or background as an image for a view
    // (a view of the pixels, no copy); null when there is none.
    QImage documentImage() const;
    QImage cutoutImage() const;
    QImage compositeImage() const;

signals:
    void toolChanged();
    void documentChanged();
    void cutoutChanged();
    void compositeChanged();
    void backgroundImageChanged();
    void subjectBoundsSizeChanged();
    void subjectWhiteFractionChanged();
    void resultOpaqueChanged();
    void backdropIDChanged();
    void customBackdropAChanged();
    void customBackdropBChanged();
    void customBackdropShapeChanged();
    void compChanged();
    void selectedTextIDChanged();
    void draggingTextIDChanged();
    void matteChanged();
    void isProcessingChanged();
    void processingLabelChanged();
    void suggestFillHolesChanged();
    void cutoutNoteChanged();
    void cutoutMethodChanged();
    void matteModelChanged();
    void flatToleranceChanged();
    void flatConnectedOnlyChanged();
    void flatCloseGapsChanged();
    void activePresetChanged();
    void fillHolesChanged();
    void edgeModeChanged();
    void featherChanged();
    void decontaminateEnabledChanged();
    void decontaminateChanged();
    void zoomChanged();
    void compareEnabledChanged();
    void comparePositionChanged();
    void panOffsetChanged();
    void spacePanChanged();
    void hoverPointChanged();
    void canvasToolChanged();
    void previousToolChanged();
    void brushTipChanged();
    void brushSizeChanged();
    void brushHardnessChanged();
    void selectionKindChanged();
    void pendingSelectionChanged();
    void pendingKindChanged();
    void lastSelectionChanged();
    void lastSelectionKindChanged();
    void liveStrokeChanged();
    void selectionPaletteChanged();
    void pickedColorsChanged();
    void colorToleranceChanged();
    void isLoadingPaletteChanged();
    void maskOpsChanged();
    void activeOpCountChanged();
    void editLayersChanged();
    void paintColorChanged();
    void paintBlendChanged();
    void paintOpacityChanged();
    void gradientKindChanged();
    void gradientStartChanged();
    void gradientEndChanged();
    void gradientLineChanged();
    void gradientAngleChanged();
    void paintOpsChanged();
    void activePaintOpCountChanged();
    void paintLayersChanged();
    void cropDraftChanged();
    void cropAspectChanged();
    void undoStackChanged();
    void redoStackChanged();
    void lastCommittedChanged();
    void exportFormatChanged();
    void exportLongEdgeChanged();
    void exportQualityChanged();
    void transparentBackgroundChanged();
    // An input of exportSize changed (the size is computed on reading).
    void exportSizeChanged();
    void showExportSheetChanged();
    void showFileExporterChanged();
    void exportFileChanged();
    void exportFilenameChanged();
    void exportDestinationChanged();
    void shareURLChanged();
    void showShareSheetChanged();
    void svgColorsChanged();
    void svgDetailChanged();
    void svgFileMakerChanged();
    void svgSourceChanged();
    void importTargetChanged();
    void showImporterChanged();
    void lastErrorChanged();
    void noticeChanged();
    // resultPNG was made, or dropped with its result.
    void resultPNGChanged();
    // saveExportFile wrote the file at `path`.
    void exportSaved(const QString& path);
    void batchModeChanged();
    void pendingIncomingURLChanged();
    void showIncomingReplaceConfirmChanged();
    void sheetItemsChanged();
    void sheetSettingsChanged();
    void sheetRenderChanged();
    void sheetPinsChanged();
    void sheetNoticeChanged();
    void sheetRenderStampChanged();
    void sheetErrorChanged();
    void defaultStickerWidthChanged();
    void sheetLayoutPendingChanged();
    void sheetExportableChanged();
    void sheetExportRefusalChanged();
    // moveStickerPin refused a copy and put the reason in sheetNotice (also
    // when that notice was there already).
    void stickerPinRefused();
    // isPolygonInProgress may have changed.
    void polygonStateChanged();
    // An input of complianceItems changed (the list is computed on reading).
    void complianceItemsChanged();
    void willReplaceGradientChanged();

private:
    void publishRefined(const Refined& refined);
    void publishComposited(const Composited& composited);
    // The QML faces of the properties (see the class comment).
    QString qmlTool() const;
    void setQmlTool(const QString& value);
    QVariant qmlDocument() const;
    QVariant qmlCutout() const;
    QVariant qmlComposite() const;
    QVariantMap qmlCompositeFrame() const;
    QVariant qmlBackgroundImage() const;
    QColor qmlCustomBackdropA() const;
    void setQmlCustomBackdropA(const QColor& value);
    QColor qmlCustomBackdropB() const;
    void setQmlCustomBackdropB(const QColor& value);
    QString qmlCustomBackdropShape() const;
    void setQmlCustomBackdropShape(const QString& value);
    QVariantMap qmlComp() const;
    void setQmlComp(const QVariantMap& value);
    QString qmlSelectedTextID() const;
    void setQmlSelectedTextID(const QString& value);
    QString qmlDraggingTextID() const;
    void setQmlDraggingTextID(const QString& value);
    QVariant qmlMatte() const;
    QString qmlCutoutMethod() const;
    void setQmlCutoutMethod(const QString& value);
    QString qmlMatteModel() const;
    QStringList qmlAvailableMatteModels() const;
    void setQmlMatteModel(const QString& value);
    QVariant qmlActivePreset() const;
    void setQmlActivePreset(const QVariant& value);
    QString qmlEdgeMode() const;
    void setQmlEdgeMode(const QString& value);
    QVariant qmlHoverPoint() const;
    void setQmlHoverPoint(const QVariant& value);
    QString qmlCanvasTool() const;
    void setQmlCanvasTool(const QString& value);
    QString qmlPreviousTool() const;
    void setQmlPreviousTool(const QString& value);
    QString qmlBrushTip() const;
    void setQmlBrushTip(const QString& value);
    QString qmlSelectionKind() const;
    void setQmlSelectionKind(const QString& value);
    QVariant qmlPendingSelection() const;
    void setQmlPendingSelection(const QVariant& value);
    QString qmlPendingKind() const;
    void setQmlPendingKind(const QString& value);
    QVariant qmlLastSelection() const;
    QString qmlLastSelectionKind() const;
    QVariantList qmlLiveStroke() const;
    void setQmlLiveStroke(const QVariantList& value);
    QVariantList qmlSelectionPalette() const;
    void setQmlSelectionPalette(const QVariantList& value);
    QVariantList qmlPickedColors() const;
    void setQmlPickedColors(const QVariantList& value);
    QStringList qmlMaskOps() const;
    QColor qmlPaintColor() const;
    void setQmlPaintColor(const QColor& value);
    QString qmlPaintBlend() const;
    void setQmlPaintBlend(const QString& value);
    QString qmlGradientKind() const;
    void setQmlGradientKind(const QString& value);
    QColor qmlGradientStart() const;
    void setQmlGradientStart(const QColor& value);
    QColor qmlGradientEnd() const;
    void setQmlGradientEnd(const QColor& value);
    QVariant qmlGradientLine() const;
    void setQmlGradientLine(const QVariant& value);
    QStringList qmlPaintOps() const;
    QVariant qmlCropDraft() const;
    void setQmlCropDraft(const QVariant& value);
    QString qmlCropAspect() const;
    void setQmlCropAspect(const QString& value);
    QString qmlExportFormat() const;
    void setQmlExportFormat(const QString& value);
    QVariant qmlExportFile() const;
    QString qmlExportDestination() const;
    void setQmlExportDestination(const QString& value);
    QString qmlSvgSource() const;
    void setQmlSvgSource(const QString& value);
    QString qmlImportTarget() const;
    void setQmlImportTarget(const QString& value);
    QVariantMap qmlSheetSettings() const;
    QVariantMap qmlSheetPins() const;
    void setQmlSheetPins(const QVariantMap& value);
    QVariantMap qmlSheetLayout() const;
    QVariantList qmlComplianceItems() const;

    // Stores a value and emits its signal when it differs; true when it did.
    template <typename T, typename U>
    bool assign(T& member, U&& value, void (EditorState::*changed)());

    // Results and bookkeeping that only operations write.
    void setDocument(std::optional<ImageDocument> value);
    void setCutout(std::optional<ImageBox> value);
    // The frame and opacity are stored first, so observers of the composite
    // read its own.
    void setComposite(std::optional<ImageBox> value, const CompositeFrame& frame = {}, bool opaque = false);
    void setSubjectMeasures(QSizeF bounds, double whiteFraction);
    void setMatte(std::optional<MatteBox> value);
    void setSuggestFillHoles(bool value);
    void setCutoutNote(const QString& value);
    void setIsLoadingPalette(bool value);
    void setMaskOps(std::vector<MaskEditOp> value);
    void setActiveOpCount(int value);
    void setEditLayers(std::optional<MaskEditLayers> value);
    void setPaintOps(std::vector<PaintOp> value);
    void setActivePaintOpCount(int value);
    void setPaintLayers(std::optional<PaintLayers> value);
    void setUndoStack(QList<EditSnapshot> value);
    void setRedoStack(QList<EditSnapshot> value);
    void setLastCommitted(const EditSnapshot& value);
    void setExportFile(std::optional<ExportFile> value);
    void setShareURL(const QUrl& value);
    void setSheetLayoutPending(bool value);
    void publishSheetExportable();
    // sheetNotice says `reason`; stickerPinRefused. Always false.
    bool refuseStickerPin(const QString& reason);
    // The notice's parts at once; one change signal when any differs.
    void setNotice(const QString& text, const QString& revealPath, const QString& copyPath, bool failure = false);

    // ---- Work ----------------------------------------------------------------
    // A new busy entry with its label; 0 for a job that shows none.
    std::uint64_t beginBusy(const QString& label);
    void endBusy(std::uint64_t token);
    void relabelBusy(std::uint64_t token, const QString& label);
    void publishBusy();
    // Starts a request in the slot (cancelling the previous one), with a busy
    // entry when `label` is given.
    TaskSlot::Ticket beginTask(TaskSlot& slot, const std::optional<QString>& label);
    void cancelTask(TaskSlot& slot);
    // Whether a result of the ticket may still land.
    bool isCurrent(const TaskSlot& slot, const TaskSlot::Ticket& ticket) const;
    // Runs `work` on a worker of the priority; on the GUI thread, when the ticket
    // is still current, `apply` receives its Outcome (work that did not throw
    // first takes away an error older than the job: clearErrorsUpTo); the
    // ticket's busy entry ends after that, or at once when the result is dropped.
    template <typename Work, typename Apply>
    void runTask(TaskSlot& slot, TaskSlot::Ticket ticket, TaskPriority priority, Work work, Apply apply);
    // runTask after the slot's debounce wait (none with `skipDebounce`).
    template <typename Work, typename Apply>
    void runAfterWait(TaskSlot& slot, TaskSlot::Ticket ticket, bool skipDebounce, Work work, Apply apply);
    // An apply that shows a failure's sentence in lastError (a render error)
    // and hands a value on.
    template <typename T, typename OnValue>
    auto orLastError(OnValue onValue);
    // Work that began when `count` errors had been shown succeeded: the error
    // on screen goes unless it came up after that work began.
    void clearErrorsUpTo(std::uint64_t count);
    // Connects the batch's ends to the notice and to lastError.
    void watchBatch();
    // A chain of work (a job, the one its landing starts, a wait and what
    // follows it) counts as begun when the user's action started it: what
    // follows a failure in the chain does not take that failure away. Jobs and
    // waits take chainErrorCount() when they start and run their landing
    // inChain() of it.
    std::uint64_t chainErrorCount() const { return m_chainErrorCount.value_or(m_errorCount); }
    template <typename Body>
    void inChain(std::uint64_t errorCount, Body&& body);
    // Calls `callback` after the wait (none: at once) while the ticket is current.
    void afterWait(TaskSlot& slot, TaskSlot::Ticket ticket, std::chrono::milliseconds wait,
                   std::function<void()> callback);
    // Cancels the work of the document (the document changed); with
    // `alsoBackdrops` the backdrop jobs too (the editor is cleared).
    void cancelDocumentTasks(bool alsoBackdrops);

    // ---- Steps shared by the topics ------------------------------------------
    void applyLoadedDocument(ImageDocument document);
    void applyLoadedBackground(const Image& picture, const QString& name);
    void startWarmUp();
    void scheduleIdleRelease();
    void scheduleNetworkRelease();
    // A model load under way holds `lock`; the editor going away waits for it
    // and stops a load not yet begun (a load cut off by the process's exit
    // would crash it).
    struct WarmUpGate {
        std::mutex lock;
        bool stopped = false;
    };
    std::shared_ptr<WarmUpGate> m_warmUpGate = std::make_shared<WarmUpGate>();
    void runCutout(std::optional<QRectF> region, bool fromSelection);
    void startFillHolesProbe(const MatteBox& matte);
    // `recipe`: how the picture is made again (a generated backdrop), or none.
    void applyBackdropResult(const std::optional<Image>& picture, const QString& id, const QString& failure,
                             std::shared_ptr<const BackdropRecipe> recipe = {});
    // Waits for a content store's future; `apply` receives its value (none when
    // the future was cancelled or failed) while the ticket is current; a value
    // takes away an error older than the wait, as runTask's work does.
    template <typename T, typename Apply>
    void awaitTask(TaskSlot& slot, TaskSlot::Ticket ticket, QFuture<std::optional<T>> future, Apply apply);
    void runFlatColor(std::function<void()> completion, std::function<void()> onFailure);
    void runFlatColor(std::function<void()> completion, std::function<void()> onFailure, MatteOrigin origin);
    // Starts a run in the cutout slot, replacing the one before.
    TaskSlot::Ticket beginCutoutRun(const QString& label);
    // The "Line art" preset's key colours: the corners' (without those within
    // 0.04 of one already taken), white when none can be read.
    std::vector<RGBAColor> lineArtKeyColors(const Image& image) const;
    // Runs the preset's flat keying; its colour key follows (finishLineArt).
    void keyLineArt(std::vector<RGBAColor> colors);
    // Puts the colour key of a "Line art" preset whose keying is running (or
    // was replaced) first in the preset's mask list, in force in every state
    // the preset's step led to; nothing when none waits.
    void finishLineArt();
    void applyMaskEdits(const QString& busyLabel);
    // Undo (backwards) or redo: the newest step of one stack goes into force,
    // the state as it stands onto the other.
    void stepHistory(bool backwards);
    // Records what one user action changed as one history step; nothing
    // without a document, while a snapshot is being restored, or inside a
    // HistoryGroup (its end records). A change with a merge key (a slider's
    // field, the text being typed) amends the newest step while the one
    // before carried the same key and nothing closed it since (commitHistory,
    // undo, redo, a change without that key); a change back to where that
    // step began takes the step away. `before`: what the action changed beyond
    // the snapshot, as it stood before (a new matte and mask list, the
    // export); the step carries it, and is recorded whenever that changed.
    void recordStep(const QString& mergeKey, const StepExtras& before = {});
    // Holds history back while one action makes several changes: they are one
    // step, recorded (with the group's merge key and extras) when the
    // outermost group ends.
    class HistoryGroup {
    public:
        explicit HistoryGroup(EditorState& editor, QString mergeKey = {}, StepExtras before = {});
        ~HistoryGroup();
        HistoryGroup(const HistoryGroup&) = delete;
        HistoryGroup& operator=(const HistoryGroup&) = delete;

    private:
        EditorState& m_editor;
        QString m_mergeKey;
        StepExtras m_before;
    };
    CutoutSetup currentCutoutSetup() const;
    ExportSetup currentExportSetup(bool withSvg) const;
    StepExtras currentExtras(const StepExtras& like) const;
    void restoreCutoutSetup(const CutoutSetup& setup);
    void restoreExportSetup(const ExportSetup& setup);
    // Every step of both stacks and the last committed one, changed; with
    // maskList only those whose mask count runs along the list in force.
    enum class HistoryReach { all, maskList };
    void rewriteHistory(const std::function<EditSnapshot(EditSnapshot)>& change,
                        HistoryReach reach = HistoryReach::all);
    // Empties both stacks; the state as it stands is where history begins.
    void resetHistory();
    // Lets the pixels of backdrop pictures beyond the nearest kHistoryPictures
    // go where they can be made again.
    void boundHistoryPictures();
    void setBackground(std::optional<BackdropPicture> value);
    // Renders the shown picture again after undo or redo brought it back
    // without its pixels; the composite waits for it.
    void remakeBackground();
    // A backdrop picture got its identifier (saved to My Backgrounds): the
    // editor, when it still shows that picture, and every history step that
    // holds it, name it so. `stillChosen`: no newer backdrop choice came since,
    // so the picker may mark it too.
    void relabelBackground(std::uint64_t generation, const QString& backdropID, bool stillChosen);
    // setComp, recording the change with a merge key.
    void setComp(const CompositeSettings& value, const QString& mergeKey);
    // A committed brush stroke stays drawn (in liveStroke) until its result is
    // on screen: holdStroke keeps it, settleStroke lets it go once nothing
    // runs and no text draw is pending (`textDrawn`: the pending one just
    // landed), dropSettlingStroke at once.
    void holdStroke(const Points& points);
    void settleStroke(bool textDrawn = false);
    void dropSettlingStroke();
    void appendTextLayer(const TextLayer& layer);
    // Appending behind undone operations cuts them: history steps that counted
    // them count only what is left.
    void limitHistoryCounts(std::optional<int> maskOps, std::optional<int> paintOps);
    void resetDocumentState();
    // The gradient applyPanelGradient replaces (see willReplaceGradient); null
    // when it adds one.
    const PaintGradient* replaceableGradient() const;
    void setLastGradientOpIndex(std::optional<int> value);
    void updateWillReplaceGradient();
    // Records the change (a slider's with its merge key) and refines when
    // there is a matte; nothing while a snapshot is being restored.
    void onMatteSettingAssigned(const QString& mergeKey);
    void onFlatSettingAssigned();
    void onCompAssigned(const CompositeSettings& old);
    void clearSelectionState();
    // The box of the pending selection's path, else of the cutout's visible
    // content; none with neither.
    std::optional<QRectF> selectionOrContentBox() const;
    std::optional<std::pair<SelectionKind, Points>> pendingClip() const;
    void deliverExport(const Outcome<QByteArray>& outcome, ExportFormat format);
    void startWaitingExport();
    // The shown result changed: its PNG is made again after the wait.
    void onResultChanged();
    void encodeResultPNG(bool now);
    // One encode of the result's PNG: `ahead` of any request (it yields to
    // work the user waits for), or asked for.
    struct ResultPNGJob {
        TaskSlot::Ticket ticket;
        ImageBox image;
        bool ahead = false;
    };
    void startResultPNG(ResultPNGJob job);
    void landResultPNG(const Outcome<std::optional<QByteArray>>& encoded);
    void deliverCopy();
    void writeMatteModelSetting();
    MatteModel readMatteModelSetting() const;
    bool autoSubjectOnImport() const;

    // Services
    std::shared_ptr<EditorEngines> m_engines;
    std::shared_ptr<TaskRunner> m_runner;
    std::shared_ptr<ClipboardSink> m_clipboard;
    std::unique_ptr<QSettings> m_settings;
    QString m_shareFolderSetting;
    BatchState* m_batch = nullptr;   // a child
    TextLayerList* m_textLayerList = nullptr;   // a child

    // Document and results
    EditorTool m_tool = EditorTool::cutout;
    std::optional<ImageDocument> m_document;
    std::optional<ImageBox> m_cutout;
    std::optional<ImageBox> m_composite;
    std::optional<BackdropPicture> m_background;
    std::optional<ImageBox> m_compositeBase;
    // The composite waits for a backdrop whose pixels history let go: the
    // base published is over the backdrop before it until the render lands.
    bool m_compositeAwaitsBackdrop = false;
    CompositeFrame m_compositeBaseFrame;
    bool m_compositeBaseOpaque = false;
    CompositeFrame m_compositeFrame;
    bool m_resultOpaque = false;
    // The document as an RGBA bitmap, made once, for colour keys.
    std::shared_ptr<const std::optional<RGBABitmap>> m_sourceBitmap;
    QSizeF m_subjectBoundsSize{0, 0};
    double m_subjectWhiteFraction = 0;
    // The cutout's visible bounds and white share, measured by the refine: the
    // subject's measures while the composite is the cutout itself, and the box
    // of the panel gradient.
    std::optional<QRectF> m_cutoutContentBounds;
    double m_cutoutWhiteFraction = 0;
    bool m_cutoutOpaque = false;

    // Backdrop and composite
    QString m_backdropID;
    // The identifier of the backdrop whose picture is backgroundImage: what a
    // failed pick returns backdropID to.
    QString m_shownBackdropID;
    RGBAColor m_customBackdropA{0.99, 0.86, 0.76, 1};
    RGBAColor m_customBackdropB{0.55, 0.38, 0.82, 1};
    CustomBackdropShape m_customBackdropShape = CustomBackdropShape::fade;
    CompositeSettings m_comp;

    // Text layers
    QUuid m_selectedTextID;
    QUuid m_draggingTextID;

    // Cutout and matte settings
    std::optional<MatteBox> m_matte;
    MatteOrigin m_matteOrigin = MatteOrigin::automatic;
    // The colours of a "Line art" preset whose keying has not ended yet.
    std::optional<std::vector<RGBAColor>> m_lineArtColors;
    QString m_processingLabel;
    bool m_wasProcessing = false;
    bool m_suggestFillHoles = false;
    QString m_cutoutNote;
    CutoutMethod m_cutoutMethod = CutoutMethod::autoSubject;
    MatteModel m_matteModel = MatteModel::apple;
    double m_flatTolerance = 25;
    bool m_flatConnectedOnly = true;
    double m_flatCloseGaps = 0;
    std::optional<ListingPreset> m_activePreset;
    std::optional<ExportSetup> m_exportBeforePreset;   // see EditSnapshot
    bool m_fillHoles = false;
    EdgeRefineMode m_edgeMode = EdgeRefineMode::smooth;
    double m_feather = 0.6;
    bool m_decontaminateEnabled = true;
    double m_decontaminate = 30;

    // View
    double m_zoom = 1.0;
    bool m_compareEnabled = false;
    double m_comparePosition = 0.5;
    QSizeF m_panOffset{0, 0};
    bool m_spacePan = false;
    std::optional<QPointF> m_hoverPoint;

    // Canvas tools and brush
    CanvasTool m_canvasTool = CanvasTool::view;
    CanvasTool m_previousTool = CanvasTool::view;
    BrushTip m_brushTip = BrushTip::round;
    double m_brushSize = 40;
    double m_brushHardness = 0.8;

    // Selections and colour picking
    SelectionKind m_selectionKind = SelectionKind::rectangle;
    std::optional<Points> m_pendingSelection;
    SelectionKind m_pendingKind = SelectionKind::rectangle;
    std::optional<Points> m_lastSelection;
    SelectionKind m_lastSelectionKind = SelectionKind::rectangle;
    Points m_liveStroke;
    // The committed stroke liveStroke still shows (see holdStroke).
    std::optional<Points> m_settlingStroke;
    QList<PaletteEntry> m_selectionPalette;
    QList<RGBAColor> m_pickedColors;
    double m_colorTolerance = 20;
    bool m_isLoadingPalette = false;

    // Mask and paint edits
    std::vector<MaskEditOp> m_maskOps;
    int m_activeOpCount = 0;
    std::optional<MaskEditLayers> m_editLayers;
    RGBAColor m_paintColor = kStartViolet;
    PaintBlend m_paintBlend = PaintBlend::color;
    double m_paintOpacity = 100;
    GradientKind m_gradientKind = GradientKind::linear;
    RGBAColor m_gradientStart = kStartViolet;
    RGBAColor m_gradientEnd{1, 1, 1, 1};
    std::optional<QLineF> m_gradientLine;
    double m_gradientAngle = 0;
    std::optional<int> m_lastGradientOpIndex;
    bool m_willReplaceGradient = false;
    std::vector<PaintOp> m_paintOps;
    int m_activePaintOpCount = 0;
    std::optional<PaintLayers> m_paintLayers;
    std::optional<QRectF> m_cropDraft;
    AspectPreset m_cropAspect = AspectPreset::original;

    // History
    QList<EditSnapshot> m_undoStack;
    QList<EditSnapshot> m_redoStack;
    EditSnapshot m_lastCommitted;
    bool m_suppressHistory = false;
    // The merge key of the newest step while it may still be amended.
    QString m_openStepKey;
    // How many HistoryGroups are open.
    int m_historyHold = 0;

    // Export and share
    ExportFormat m_exportFormat = kPlainExport.format;
    int m_exportLongEdge = kPlainExport.longEdge;
    double m_exportQuality = 90;
    bool m_transparentBackground = true;
    bool m_showExportSheet = false;
    bool m_showFileExporter = false;
    std::optional<ExportFile> m_exportFile;
    QString m_exportFilename = QStringLiteral("cutout");
    ExportDestination m_exportDestination = ExportDestination::files;
    QUrl m_shareURL;
    bool m_showShareSheet = false;
    int m_svgColors = 1;
    double m_svgDetail = 0.6;
    bool m_svgFileMaker = false;
    TraceSource m_svgSource = TraceSource::autoDetect;

    // Window and application
    ImportTarget m_importTarget = ImportTarget::document;
    bool m_showImporter = false;
    QString m_lastError;
    // How many errors were shown so far; lastError is the one of that number.
    std::uint64_t m_errorCount = 0;
    // The error count of the chain whose landing or wait is running; none outside.
    std::optional<std::uint64_t> m_chainErrorCount;
    // The error counts when the batch's run and its Export All began.
    struct {
        std::uint64_t run = 0;
        std::uint64_t save = 0;
    } m_batchErrorCounts;
    QString m_notice;
    QString m_noticeRevealPath;
    QString m_noticeCopyPath;
    bool m_noticeIsFailure = false;
    bool m_batchMode = false;
    QUrl m_pendingIncomingURL;
    bool m_showIncomingReplaceConfirm = false;

    // Sticker sheet
    std::vector<StickerItem> m_sheetItems;
    SheetSettings m_sheetSettings;
    std::optional<SheetRender> m_sheetRender;
    SheetPins m_sheetPins;
    QString m_sheetNotice;
    int m_sheetRenderStamp = 0;
    QString m_sheetError;
    double m_defaultStickerWidth = 2.0;
    StickerItemList* m_sheetItemList = nullptr;   // a child
    bool m_sheetLayoutPending = false;
    bool m_sheetExportable = false;
    QString m_sheetExportRefusal;
    // The render whose file was saved last.
    std::optional<int> m_sheetSavedStamp;

    // Work
    BusyJobs m_busy;
    std::uint64_t m_documentGeneration = 0;
    // Reading an image file for import (the newest import wins).
    TaskSlot m_importTask{TaskSlot::Scope::editor};
    // Auto Subject, the selection cut and a keying run: only the newest lands.
    TaskSlot m_cutoutTask;
    // The wait before flat-colour keying: a new change waits 120 ms again.
    TaskSlot m_flatTask{std::chrono::milliseconds(120)};
    // The fill-holes probe after a new matte.
    TaskSlot m_probeTask;
    // Refine: a slider change waits 90 ms; each change restarts the wait.
    TaskSlot m_renderTask{std::chrono::milliseconds(90)};
    // Composite: a setting change waits 90 ms; each change restarts the wait.
    TaskSlot m_compositeTask{std::chrono::milliseconds(90)};
    // Drawing the text layers over the composite base: the newest draw wins.
    TaskSlot m_textTask;
    // Rendering the active mask edits and paint into their layers.
    TaskSlot m_maskTask;
    TaskSlot m_paintTask;
    // Rendering, loading or reading a backdrop (a generated one, a photo, a
    // saved background, a picture of the user's): the newest choice wins.
    TaskSlot m_backdropTask{TaskSlot::Scope::editor};
    // Saving an imported background to My Backgrounds.
    TaskSlot m_saveBackgroundTask{TaskSlot::Scope::editor};
    // Reading the selection palette.
    TaskSlot m_paletteTask;
    // Encoding an export.
    TaskSlot m_exportTask;
    // An export asked for while the picture was still being made, for the
    // document of this generation: it starts once the editor falls idle.
    std::optional<std::uint64_t> m_exportWaiting;
    // Writing a saved export: the newest save reports.
    TaskSlot m_saveTask{TaskSlot::Scope::editor};
    // The notice on screen: a newer one replaces it and restarts the wait.
    TaskSlot m_noticeTask{TaskSlot::Scope::editor};
    // The PNG of the shown result: made 250 ms after the result is published
    // (a slider dragged across many composites makes one) once no work the user
    // waits for runs, at once on request.
    TaskSlot m_resultPNGTask{std::chrono::milliseconds(250)};
    std::optional<QByteArray> m_resultPNG;
    bool m_resultPNGEncoding = false;
    // One encode runs at a time; the newest result waits for it here.
    bool m_resultPNGRunning = false;
    std::optional<ResultPNGJob> m_resultPNGNext;
    // The running encode made ahead of any request: work the user waits for
    // stops it (its deflate would take OpenCV's pool from that work), and it
    // is made again once the editor is idle.
    std::shared_ptr<std::atomic<bool>> m_resultPNGStop;
    // A copy or a drag-out waits for the PNG.
    bool m_resultPNGWanted = false;
    bool m_copyWhenReady = false;
    // Laying the sticker sheet out: each change waits 120 ms again.
    TaskSlot m_sheetTask{std::chrono::milliseconds(120), TaskSlot::Scope::editor};
    // Giving back memory once neither the editor nor the batch has had work
    // for 10 s; new work cancels the wait.
    TaskSlot m_idleTask{std::chrono::seconds(10), TaskSlot::Scope::editor};
    // Letting the network's session go 5 s after the last cutout began, while
    // the user goes on editing; each cutout restarts the wait.
    TaskSlot m_networkIdleTask{std::chrono::seconds(5), TaskSlot::Scope::editor};
    // The recent renders under their inputs; the revisions name the matte,
    // mask and paint layers in force (each write of one takes a new number).
    KeptRenders m_kept;
    std::uint64_t m_revisions = 0;
    std::uint64_t m_matteRevision = 0;
    std::uint64_t m_editsRevision = 0;
    std::uint64_t m_paintRevision = 0;
};

} // namespace zephrin
