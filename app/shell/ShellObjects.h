#pragma once
// The objects the window works with, built around one EditorState, and their
// registration as QML singletons: Editor (module Zephrin.Model) and Commands,
// Settings, Incoming and WindowFrame (module Zephrin.Shell). The application
// builds one set; the QML tests build theirs over scripted engines.
//
// The stored export defaults are where the export sheet and the batch
// start, and a change in the settings window applies to both at once.

#include "app/shell/AppSettings.h"
#include "app/shell/IncomingRoad.h"
#include "app/shell/WindowCommands.h"
#include "app/shell/WindowFrame.h"

#include <memory>

namespace zephrin {

class EditorState;

struct ShellObjects {
    ShellObjects(EditorState& editor, const QString& settingsFile, bool isnetAvailable);

    EditorState& editor;
    WindowCommands commands;
    AppSettings settings;
    IncomingRoad incoming;
    WindowFrame frame;

    // Registers the singletons; call once, before the first QML engine loads.
    void registerForQml();
};

} // namespace zephrin
