#pragma once
// One step of the undo history: the refinement settings and how many mask and
// paint operations were in force. History keeps counts, never operation lists
// or images; undo and redo move the counts along the lists.

#include "engine/types/MatteSettings.h"

namespace zephrin {

struct EditSnapshot {
    MatteSettings settings;
    int opCount = 0;       // active mask operations
    int paintOpCount = 0;  // active paint operations

    friend bool operator==(const EditSnapshot&, const EditSnapshot&) = default;
};

} // namespace zephrin
