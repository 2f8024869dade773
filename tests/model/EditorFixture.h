#pragma once
// An editor over scripted engines and a manual task runner, with its settings
// and share folder in a temporary folder, and the pictures the tests open.

#include "ManualTaskRunner.h"
#include "RecordingClipboard.h"
#include "ScriptedEngines.h"
#include "model/editor/EditorState.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zephrin::testing {

class EditorTest : public ::testing::Test {
protected:
    EditorTest();

    // A new editor on the fixture's services (settings written before are read).
    void makeEditor();

    // A PNG of width × height in the temporary folder: white, with a red block
    // over the middle half.
    QUrl writePicture(const QString& name, int width = 120, int height = 80);
    // Imports a picture as the document and runs everything that follows.
    void openDocument(const QString& name = QStringLiteral("beach.png"), int width = 120, int height = 80);
    // The settings the editor reads.
    QSettings& settings() { return *m_settings; }

    QTemporaryDir dir;
    std::shared_ptr<ScriptedEngines> engines = std::make_shared<ScriptedEngines>();
    std::shared_ptr<ManualTaskRunner> runner = std::make_shared<ManualTaskRunner>();
    std::shared_ptr<RecordingClipboard> clipboard = std::make_shared<RecordingClipboard>();
    std::unique_ptr<EditorState> editor;

private:
    std::unique_ptr<QSettings> m_settings;
};

// The number of times `signal` fires while `action` runs.
template <typename Signal, typename Action>
int emissions(EditorState& editor, Signal signal, Action action)
{
    QSignalSpy spy(&editor, signal);
    action();
    return int(spy.count());
}

} // namespace zephrin::testing
