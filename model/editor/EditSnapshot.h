#pragma once
// One step of the undo history: the refinement settings, how many mask and
// paint operations were in force, the composite as the user set it up (the
// composite settings with their text and shape layers, the backdrop that is
// shown and its picture) and the listing preset, with the export it found.
// History keeps counts and settings, never operation lists; the backdrop's
// picture is held by reference (its box shares the pixels), never copied, and
// only the pictures of the nearest steps keep their pixels where the picture
// can be made again (BackdropPicture). Undo and redo move the counts along the
// lists and put the settings back.
//
// A few steps change more: the "Line art" preset makes a new matte by flat
// keying and starts a new list of mask edits, and a listing preset sets the
// export. What such a step changed is carried by the snapshot on its far
// side (the one undo, or redo, goes to), as it stood there: the snapshot on
// the undo stack before a "Line art" step holds the cutout setup from before
// it, with the mask list the counts below it run along. The state the newest
// step leads to (lastCommitted) never carries them.

#include "engine/edits/MaskEditOp.h"
#include "engine/types/CompositeSettings.h"
#include "engine/types/ExportFormat.h"
#include "engine/types/ImageBox.h"
#include "engine/types/ListingPreset.h"
#include "engine/types/MatteBox.h"
#include "engine/types/MatteSettings.h"
#include "engine/types/RGBAColor.h"
#include "model/editor/BackdropPicture.h"
#include "model/editor/EditorEnums.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace zephrin {

// How the matte is made and what it is: the cutout method with the flat and
// colour-key settings, the matte itself (held by reference) and the whole
// mask-edit list, undone entries too.
struct CutoutSetup {
    CutoutMethod method = CutoutMethod::autoSubject;
    double flatTolerance = 0;
    bool flatConnectedOnly = false;
    double flatCloseGaps = 0;
    double colorTolerance = 0;
    std::optional<MatteBox> matte;
    MatteOrigin matteOrigin = MatteOrigin::automatic;
    std::uint64_t matteRevision = 0;   // names the matte to the kept renders
    std::vector<MaskEditOp> maskOps;
    // The colours of a "Line art" preset taken back before its colour key
    // came: going there again keys again and adds the key.
    std::optional<std::vector<RGBAColor>> lineArtColors;
};

// The export a listing preset sets: format and long edge, and for the
// iron-on preset the SVG colours and the cutting-machine file.
struct ExportSetup {
    struct Svg {
        int colors = 1;
        bool fileMaker = false;
        friend bool operator==(const Svg&, const Svg&) = default;
    };
    ExportFormat format = ExportFormat::png;
    int longEdge = 0;
    std::optional<Svg> svg;

    friend bool operator==(const ExportSetup&, const ExportSetup&) = default;
};

// What a step changed beyond the usual, as it stood on one side of the step.
struct StepExtras {
    std::shared_ptr<const CutoutSetup> cutout;
    std::optional<ExportSetup> exports;

    bool empty() const { return !cutout && !exports; }
    friend bool operator==(const StepExtras&, const StepExtras&) = default;
};

struct EditSnapshot {
    MatteSettings settings;
    int opCount = 0;       // active mask operations
    int paintOpCount = 0;  // active paint operations
    CompositeSettings comp;
    QString backdropID;                       // the shown backdrop's identifier; empty: none
    std::optional<BackdropPicture> background; // the shown backdrop's picture
    std::optional<ListingPreset> activePreset;
    // The export in force before the preset (the first of several applied in
    // a row) set its own, which "Reset to plain cutout" puts back.
    std::optional<ExportSetup> exportBeforePreset;
    // Carried only on the far side of a step that changed more (see above).
    StepExtras extras;

    // Whether the composite part (settings, backdrop, picture) is the same.
    bool sameComposite(const EditSnapshot& other) const
    {
        const auto generation = [](const std::optional<BackdropPicture>& picture) {
            return picture ? picture->generation : 0;
        };
        return comp == other.comp && backdropID == other.backdropID &&
               generation(background) == generation(other.background);
    }

    // The snapshot without what it carries for its step.
    EditSnapshot plain() const
    {
        EditSnapshot copy = *this;
        copy.extras = {};
        return copy;
    }

    friend bool operator==(const EditSnapshot& a, const EditSnapshot& b)
    {
        return a.settings == b.settings && a.opCount == b.opCount && a.paintOpCount == b.paintOpCount &&
               a.sameComposite(b) && a.activePreset == b.activePreset &&
               a.exportBeforePreset == b.exportBeforePreset && a.extras == b.extras;
    }
};

} // namespace zephrin
