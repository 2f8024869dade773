#pragma once
// What the editor keeps of its recent renders, step by step (mask layers,
// refine, composite, text), each under the inputs it was made from: the
// generations of the images that went in, the revisions of the layers, the
// settings. Undo and redo of recent steps find their images here. Each step
// keeps a few results, bounded by bytes; `bytes()` counts them all.

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
    // Two results of 12 megapixels per image step, two sets of mask layers.
    static constexpr std::size_t kImageBudget = 100u << 20;
    static constexpr std::size_t kMaskBudget = 48u << 20;

    KeptResults<MaskLayersKey, KeptMaskLayers> mask{kMaskBudget};
    KeptResults<RefineKey, Refined> refine{kImageBudget};
    KeptResults<CompositeKey, Composited> composite{kImageBudget};
    KeptResults<TextKey, ImageBox> text{kImageBudget};

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
