// The text handles against a real editor: a move writes nothing until it
// ends, a resize writes on every change, keys act on the selected layer, and
// every event uses the image size it is given.

#include "EditorFixture.h"

#include "canvas/text/TextHandleSession.h"
#include "support/GuiApplication.h"

using namespace std::chrono_literals;

namespace zephrin::testing {
namespace {

class TextHandleSessionTest : public EditorTest {
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        editor->setTool(EditorTool::text);
    }

    // A label of 0.5 × 0.3 of the image height, centred.
    QUuid addLabel()
    {
        editor->addShapeLayer(QStringLiteral("rect"));
        const QUuid id = editor->selectedTextID();
        editor->updateTextLayer(id, [](TextLayer& l) {
            l.shapeW = 0.5;
            l.shapeH = 0.3;
        });
        return id;
    }

    const TextLayer& layer(QUuid id) const { return *std::find_if(editor->comp().texts.begin(), editor->comp().texts.end(), [&](const TextLayer& l) { return l.id == id; }); }

    int compWrites(const std::function<void()>& action) { return emissions(*editor, &EditorState::compChanged, action); }

    const QSizeF image{1000, 1000};
    const QSizeF frame{500, 500};
};

TEST_F(TextHandleSessionTest, AMoveShowsASpriteAndWritesThePositionOnceItEnds)
{
    const QUuid id = addLabel();
    editor->setSelectedTextID({});
    TextHandleSession session(*editor);

    EXPECT_TRUE(session.startsMove(id));
    int writes = compWrites([&] {
        const QSizeF offset = session.moveChanged(id, {50, 25}, frame, image);
        EXPECT_EQ(offset, QSizeF(50, 25));
        session.moveChanged(id, {100, 50}, frame, image);
    });
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(editor->selectedTextID(), id);   // dragging an unselected layer selects it
    EXPECT_EQ(editor->draggingTextID(), id);
    ASSERT_TRUE(session.sprite().has_value());
    EXPECT_EQ(session.movingID(), id);
    EXPECT_FALSE(session.startsMove(id));

    writes = compWrites([&] { session.moveEnded(id, {100, 50}, frame, image); });
    EXPECT_EQ(writes, 2);   // x, then y
    EXPECT_NEAR(layer(id).x, 0.7, 1e-12);
    EXPECT_NEAR(layer(id).y, 0.6, 1e-12);
    EXPECT_TRUE(editor->draggingTextID().isNull());
    EXPECT_FALSE(session.sprite().has_value());
}

TEST_F(TextHandleSessionTest, ALayerGoneDuringAMoveIsNotWrittenBack)
{
    const QUuid id = addLabel();
    TextHandleSession session(*editor);
    session.moveChanged(id, {10, 0}, frame, image);
    editor->deleteTextLayer(id);
    runner->advance(100ms);
    const int writes = compWrites([&] { session.moveEnded(id, {10, 0}, frame, image); });
    EXPECT_EQ(writes, 0);
    EXPECT_TRUE(editor->comp().texts.isEmpty());
    EXPECT_TRUE(editor->draggingTextID().isNull());
}

TEST_F(TextHandleSessionTest, EveryEventUsesTheImageSizeItIsGiven)
{
    const QUuid id = addLabel();
    TextHandleSession session(*editor);
    // The label is 500 px wide; the image was 1000 px wide when the drag
    // began and is cropped to 400 px before it ends: the label is wider than
    // the image now, so its centre goes to the middle.
    session.moveChanged(id, {-200, 0}, frame, image);
    session.moveEnded(id, {-200, 0}, QSizeF(200, 500), QSizeF(400, 1000));
    EXPECT_DOUBLE_EQ(layer(id).x, 0.5);

    // A nudge measures against the image as it is now, too.
    editor->updateTextLayer(id, [](TextLayer& l) { l.x = 0.3; });
    EXPECT_TRUE(session.handleKey(Qt::Key_Left, {}, false, QSizeF(400, 1000)));
    EXPECT_DOUBLE_EQ(layer(id).x, 0.5);
}

TEST_F(TextHandleSessionTest, AResizeWritesEachChangeAndClampsTheCentreAtTheEnd)
{
    const QUuid id = addLabel();
    editor->updateTextLayer(id, [](TextLayer& l) { l.x = 0.3; });
    TextHandleSession session(*editor);
    EXPECT_TRUE(session.startsResize());
    const int writes = compWrites([&] { session.resizeChanged(id, {125, 25}, frame, image, false); });
    EXPECT_EQ(writes, 2);   // shapeW, then shapeH
    EXPECT_FALSE(session.startsResize());
    EXPECT_NEAR(layer(id).shapeW, 1.0, 1e-12);
    EXPECT_NEAR(layer(id).shapeH, 0.4, 1e-12);

    // Measured from where the drag began, not from the last change.
    session.resizeChanged(id, {125, 50}, frame, image, true);
    EXPECT_NEAR(layer(id).shapeW, 1.0, 1e-12);
    EXPECT_NEAR(layer(id).shapeH, 0.6, 1e-12);

    // The label now spans the image's width: the end centres it.
    session.resizeEnded(id, image);
    EXPECT_TRUE(session.startsResize());
    EXPECT_DOUBLE_EQ(layer(id).x, 0.5);
}

TEST_F(TextHandleSessionTest, AResizeOfAVanishedLayerWritesNothing)
{
    TextHandleSession session(*editor);
    const QUuid gone = QUuid::createUuid();
    const int writes = compWrites([&] {
        session.resizeChanged(gone, {10, 10}, frame, image, true);
        session.resizeEnded(gone, image);
    });
    EXPECT_EQ(writes, 0);
}

TEST_F(TextHandleSessionTest, KeysActOnTheSelectedLayerOnly)
{
    const QUuid id = addLabel();
    TextHandleSession session(*editor);
    const auto shift = Qt::KeyboardModifiers(Qt::ShiftModifier);

    EXPECT_TRUE(session.usesKey(Qt::Key_Right, shift, false));
    EXPECT_FALSE(session.usesKey(Qt::Key_Right, shift, true));
    EXPECT_FALSE(session.usesKey(Qt::Key_A, {}, false));
    int writes = compWrites([&] { EXPECT_TRUE(session.handleKey(Qt::Key_Right, shift, false, image)); });
    EXPECT_EQ(writes, 1);   // x moved; y wrote the value it had
    EXPECT_NEAR(layer(id).x, 0.51, 1e-12);
    EXPECT_TRUE(session.handleKey(Qt::Key_Up, {}, false, image));
    EXPECT_NEAR(layer(id).y, 0.499, 1e-12);

    // A text field being edited, or another tool: the key passes, nothing changes.
    writes = compWrites([&] { EXPECT_FALSE(session.handleKey(Qt::Key_Backspace, {}, true, image)); });
    EXPECT_EQ(writes, 0);
    editor->setTool(EditorTool::background);
    EXPECT_FALSE(session.handleKey(Qt::Key_Escape, {}, false, image));
    editor->setTool(EditorTool::text);

    EXPECT_TRUE(session.handleKey(Qt::Key_Escape, {}, false, image));
    EXPECT_TRUE(editor->selectedTextID().isNull());
    // Nothing selected: Escape and Delete pass.
    EXPECT_FALSE(session.handleKey(Qt::Key_Escape, {}, false, image));
    EXPECT_FALSE(session.handleKey(Qt::Key_Delete, {}, false, image));

    editor->setSelectedTextID(id);
    EXPECT_TRUE(session.handleKey(Qt::Key_Delete, {}, false, image));
    runner->advance(100ms);
    EXPECT_TRUE(editor->comp().texts.isEmpty());
}

} // namespace
} // namespace zephrin::testing
