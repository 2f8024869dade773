#pragma once
// One step of the undo history: the refinement settings, how many mask and
// paint operations were in force, and the composite as the user set it up
// (the composite settings with their text and shape layers, the backdrop
// that is shown and its picture). History keeps counts and settings, never
// operation lists; the backdrop's picture is held by reference (its box
// shares the pixels), never copied. Undo and redo move the counts along the
// lists and put the settings back.

#include "engine/types/CompositeSettings.h"
#include "engine/types/ImageBox.h"
#include "engine/types/MatteSettings.h"

#include <QString>

#include <optional>

namespace zephrin {

struct EditSnapshot {
    MatteSettings settings;
    int opCount = 0;       // active mask operations
    int paintOpCount = 0;  // active paint operations
    CompositeSettings comp;
    QString backdropID;                      // the shown backdrop's identifier; empty: none
    std::optional<ImageBox> backgroundImage; // the shown backdrop's picture

    // Whether the composite part (settings, backdrop, picture) is the same.
    bool sameComposite(const EditSnapshot& other) const
    {
        const auto generation = [](const std::optional<ImageBox>& box) { return box ? box->generation() : 0; };
        return comp == other.comp && backdropID == other.backdropID &&
               generation(backgroundImage) == generation(other.backgroundImage);
    }

    friend bool operator==(const EditSnapshot& a, const EditSnapshot& b)
    {
        return a.settings == b.settings && a.opCount == b.opCount && a.paintOpCount == b.paintOpCount &&
               a.sameComposite(b);
    }
};

} // namespace zephrin
