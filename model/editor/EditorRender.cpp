// EditorState: from the matte to what the canvas shows, in three steps.
//
//   refine      matte + refinement settings + mask edits  → cutout
//   composite   cutout + comp (without text) + backdrop + paint → composite base
//   text        composite base + text and shape layers → composite
//
// A refine always ends in a composite and a composite in a text draw, so any
// change flows down to `composite`. Each step runs in its own slot; a request
// that follows a setting change waits 90 ms first, so a slider dragged across
// many values runs the engine once after it stops. The text draw runs off the
// GUI thread too, without a wait: drawing over a 12-megapixel base takes longer
// than the GUI thread may stall, and only the newest draw lands.
//
// The composite is published with its frame: where its pixels lie in the
// document (crop, trim, padding, aspect and mirror move them), worked out from
// the same bounds the compositor trims to.
//
// Each step keeps its last results under the inputs they were made from
// (`KeptRenders`): a request whose inputs match a kept result publishes it at
// once, without a wait or an engine, which is what makes undo and redo of
// recent steps immediate.
//
// The subject's measures (visible bounds and white share, read by the listing
// checks) are taken in the frame of the composite: the subject is never scaled
// there, so its bounds are those of the cutout inside the crop, and the white
// share is that of the composite base where the design is (the subject with
// its colour mode, adjustments and paint as they show, and its outline; not
// the backdrop around it).

#include "model/editor/EditorState.h"

#include "engine/composite/CanvasGeometry.h"
#include "engine/matte/MatteEngine.h"
#include "engine/pixel/Crop.h"
#include "engine/types/MatteError.h"
#include "model/editor/EditorStateWork.h"
#include "model/engines/EditorEngines.h"

namespace zephrin {

namespace {

QSizeF sizeOf(const std::optional<QRectF>& bounds)
{
    return bounds ? bounds->size() : QSizeF(0, 0);
}

} // namespace

void EditorState::scheduleRender(bool skipDebounce)
{
    if (!m_document || !m_matte)
        return;
    const RefineKey key{m_document->image.generation(), m_matteRevision, m_editsRevision, matteSettings()};
    if (const auto kept = m_kept.refine.find(key)) {
        cancelTask(m_renderTask);
        publishRefined(*kept);
        return;
    }
    const TaskSlot::Ticket ticket = beginTask(m_renderTask, QStringLiteral("Rendering…"));
    auto work = [engines = m_engines, source = m_document->image, matte = *m_matte, settings = key.settings,
                 edits = m_editLayers] {
        const Image cutout = engines->refine(source.image(), matte, settings, edits);
        if (cutout.empty())
            throw MatteError(MatteErrorKind::renderFailed);
        return Refined{ImageBox(cutout), engines->alphaBounds(cutout), engines->whiteFraction(cutout, std::nullopt),
                       engines->isOpaque(cutout)};
    };
    runAfterWait(m_renderTask, ticket, skipDebounce, work, orLastError<Refined>([this, key](const Refined& refined) {
                     m_kept.refine.keep(key, refined, pixelBytes(refined.cutout.image()));
                     publishRefined(refined);
                 }));
}

void EditorState::publishRefined(const Refined& refined)
{
    m_cutoutContentBounds = refined.contentBounds;
    m_cutoutWhiteFraction = refined.whiteFraction;
    m_cutoutOpaque = refined.opaque;
    setCutout(refined.cutout);
    recomposite(true);
}

void EditorState::recomposite(bool skipDebounce)
{
    if (!m_document || !m_cutout)
        return;
    CompositeSettings base = m_comp;
    base.texts.clear();

    // Nothing to add to the cutout: it is the composite.
    if (base == defaultCompositeSettings() && !m_paintLayers) {
        cancelTask(m_compositeTask);
        m_compositeBase = m_cutout;
        m_compositeAwaitsBackdrop = false;
        m_compositeBaseFrame = CompositeFrame{};
        m_compositeBaseOpaque = m_cutoutOpaque;
        setSubjectMeasures(sizeOf(m_cutoutContentBounds), m_cutoutWhiteFraction);
        redrawTextLayers();
        return;
    }

    const CompositeKey key{m_cutout->generation(), m_background ? m_background->generation : 0, m_paintRevision,
                           base};
    if (const auto kept = m_kept.composite.find(key)) {
        cancelTask(m_compositeTask);
        publishComposited(*kept);
        return;
    }
    // A picture brought back without its pixels: its render composites when it lands.
    if (m_background && !m_background->pixels) {
        // A composite still running over the previous backdrop must not land over it.
        cancelTask(m_compositeTask);
        m_compositeAwaitsBackdrop = true;
        if (m_background->recipe && !m_backdropTask.running())
            remakeBackground();
        return;
    }
    const TaskSlot::Ticket ticket = beginTask(m_compositeTask, QStringLiteral("Compositing…"));
    std::optional<Image> background;
    if (m_background)
        background = m_background->pixels->image();
    auto work = [engines = m_engines, cutout = *m_cutout, source = m_document->image, background,
                 paint = m_paintLayers, base] {
        const Image& cut = cutout.image();
        const Image picture = engines->composite(cut, source.image(), background, paint, base);
        const auto crop = cropRect(base.crop, cut.extent());
        const Image subject = crop ? cropped(cut, *crop) : cut;
        const std::optional<QRectF> bounds = engines->alphaBounds(subject);
        const CompositeFrame frame = zephrin::compositeFrame(cut.extent(), bounds, base);
        // The design's own pixels as composited: a backdrop around it is no part of it.
        const Matte design = inCompositePixels(MatteEngine::designAlpha(cut, base), frame);
        return Composited{ImageBox(picture), frame, sizeOf(bounds), engines->whiteFraction(picture, design),
                          engines->isOpaque(picture)};
    };
    runAfterWait(m_compositeTask, ticket, skipDebounce, work,
                 orLastError<Composited>([this, key](const Composited& composited) {
                     m_kept.composite.keep(key, composited, pixelBytes(composited.base.image()));
                     publishComposited(composited);
                 }));
}

void EditorState::publishComposited(const Composited& composited)
{
    m_compositeBase = composited.base;
    m_compositeAwaitsBackdrop = false;
    m_compositeBaseFrame = composited.frame;
    m_compositeBaseOpaque = composited.opaque;
    setSubjectMeasures(composited.subjectBounds, composited.whiteFraction);
    redrawTextLayers();
}

void EditorState::redrawTextLayers()
{
    if (!m_compositeBase || !m_cutout)
        return;
    QList<TextLayer> layers;
    for (const TextLayer& layer : m_comp.texts)
        if (layer.id != m_draggingTextID || m_draggingTextID.isNull())
            layers.append(layer);
    if (layers.isEmpty()) {
        cancelTask(m_textTask);
        setComposite(m_compositeBase, m_compositeBaseFrame, m_compositeBaseOpaque);
        settleStroke();
        return;
    }
    const TextKey key{m_compositeBase->generation(), layers, m_comp.mirror};
    // Text over an opaque base leaves it opaque.
    if (const auto kept = m_kept.text.find(key)) {
        cancelTask(m_textTask);
        setComposite(*kept, m_compositeBaseFrame, m_compositeBaseOpaque);
        settleStroke(true);
        return;
    }
    const TaskSlot::Ticket ticket = beginTask(m_textTask, std::nullopt);
    runTask(
        m_textTask, ticket, TaskPriority::userInitiated,
        [engines = m_engines, layers, base = *m_compositeBase, mirrored = m_comp.mirror] {
            const auto drawn = engines->drawTextLayers(layers, base.image(), mirrored);
            return drawn ? ImageBox(*drawn) : base;
        },
        [this, key, frame = m_compositeBaseFrame, opaque = m_compositeBaseOpaque](const Outcome<ImageBox>& drawn) {
            if (drawn.ok()) {
                m_kept.text.keep(key, *drawn.value, pixelBytes(drawn.value->image()));
                setComposite(*drawn.value, frame, opaque);
            } else if (m_compositeBase) {
                setComposite(m_compositeBase, m_compositeBaseFrame, m_compositeBaseOpaque);
            }
            settleStroke(true);
        });
}

} // namespace zephrin
