#pragma once
// What the editor keeps of its recent renders, step by step (mask layers,
// refine, composite, text), each under the inputs it was made from: the
// generations of the images that went in, the revisions of the layers, the
// settings. Undo and redo of recent steps find their images here. Each step
// keeps two results the size of the picture: the one on screen and the one
// before it, so undo and redo of the latest change publish kept images
// without holding a history of full-size copies. `bytes()` counts them all.

#include "engine/composite/CompositeFrame.h"
#include "engine/edits/MaskEditLayers.h"
#include "engine/edits/MaskEditOp.h"
#include "engine/types/CompositeSettings.h"
#include "engine/types/ImageBox.h"
#include "engine/types/MatteSettings.h"
#include "model/editor/KeptResults.h"

#include <QList>
#include <QRectF>
#include <QSizeF>

#include <cstdint>
#include <optional>
#include <vector>

namespace zephrin {

struct MaskLayersKey {
    std::uint64_t source = 0;
    std::vector<MaskEditOp> ops;
    friend bool operator==(const MaskLayersKey&, const MaskLayersKey&) = default;
};

struct KeptMaskLayers {
    std::optional<MaskEditLayers> layers;
    std::uint64_t revision = 0;
};

struct RefineKey {
    std::uint64_t source = 0;
    std::uint64_t matteRevision = 0;
    std::uint64_t editsRevision = 0;
    MatteSettings settings;
    friend bool operator==(const RefineKey&, const RefineKey&) = default;
};

struct Refined {
    ImageBox cutout;
    std::optional<QRectF> contentBounds;
    double whiteFraction = 0;
    bool opaque = false;
};

struct CompositeKey {
    std::uint64_t cutout = 0;
    std::uint64_t background = 0; // 0: none
    std::uint64_t paintRevision = 0;
    CompositeSettings settings;   // without its text layers
    friend bool operator==(const CompositeKey&, const CompositeKey&) = default;
};

struct Composited {
    ImageBox base;
    CompositeFrame frame;
    QSizeF subjectBounds;
    double whiteFraction = 0;
    bool opaque = false;
};

struct TextKey {
    std::uint64_t base = 0;
    QList<TextLayer> layers;
    bool mirrored = false;
    friend bool operator==(const TextKey&, const TextKey&) = default;
};

struct KeptRenders {
    static constexpr int kResultsPerStep = 2;

    KeptResults<MaskLayersKey, KeptMaskLayers> mask{kResultsPerStep};
    KeptResults<RefineKey, Refined> refine{kResultsPerStep};
    KeptResults<CompositeKey, Composited> composite{kResultsPerStep};
    KeptResults<TextKey, ImageBox> text{kResultsPerStep};

    // Sizes the budgets for a picture of `pixels` pixels: RGBA images, and
    // two 8-bit layers for the mask edits.
    void fitTo(std::size_t pixels)
    {
        mask.setUnit(2 * pixels);
        refine.setUnit(4 * pixels);
        composite.setUnit(4 * pixels);
        text.setUnit(4 * pixels);
    }

    std::size_t bytes() const { return mask.bytes() + refine.bytes() + composite.bytes() + text.bytes(); }
    int count() const { return mask.count() + refine.count() + composite.count() + text.count(); }

    void clear()
    {
        mask.clear();
        refine.clear();
        composite.clear();
        text.clear();
    }
};

// Bytes of the pixels an image holds.
inline std::size_t pixelBytes(const Image& image)
{
    return image.pixels.total() * image.pixels.elemSize();
}

inline std::size_t pixelBytes(const std::optional<MaskEditLayers>& layers)
{
    if (!layers)
        return 0;
    return layers->erase.pixels.total() + layers->restore.pixels.total();
}

} // namespace zephrin
