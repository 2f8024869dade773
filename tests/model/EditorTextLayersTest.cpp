// Text and label layers: where new ones go, label sizes and words, and deletion.

#include "EditorFixture.h"

#include "engine/shapes/ShapeKit.h"

using namespace std::chrono_literals;

namespace zephrin::testing {

using EditorTextLayers = EditorTest;

TEST_F(EditorTextLayers, NewLayersStepDownAndPileUpNearTheBottom)
{
    for (int i = 0; i < 7; ++i)
        editor->addTextLayer();
    const auto& texts = editor->comp().texts;
    EXPECT_DOUBLE_EQ(texts[5].y, 0.75);
    EXPECT_DOUBLE_EQ(texts[6].y, 0.85);
    EXPECT_EQ(editor->selectedTextID(), texts[6].id);
}

TEST_F(EditorTextLayers, ALabelFitsThePictureAndKeepsItsEditedText)
{
    const ShapeKit::Kind& kind = ShapeKit::kinds().front();
    editor->addShapeLayer(kind.id);
    EXPECT_EQ(editor->comp().texts.back().shapeW, kind.w);  // no composite yet: default size

    openDocument(QStringLiteral("narrow.png"), 40, 100);
    editor->addShapeLayer(kind.id);
    const TextLayer& label = editor->comp().texts.back();
    const double limit = 0.8 * 40.0 / 100.0;
    if (kind.w > limit) {
        EXPECT_NEAR(label.shapeW, limit, 1e-12);
        EXPECT_NEAR(label.shapeH, kind.h * limit / kind.w, 1e-12);
    }
    EXPECT_EQ(label.text, kind.word);
    EXPECT_EQ(label.color, (RGBAColor{1, 1, 1, 1}));

    const ShapeKit::Kind& other = ShapeKit::kinds().back();
    const double scale = label.shapeH / kind.h;
    editor->applyShapeToSelectedLayer(other.id);
    EXPECT_EQ(editor->comp().texts.back().text, other.word);
    EXPECT_NEAR(editor->comp().texts.back().shapeH, other.h * scale, 1e-12);

    editor->setTextField(editor->property("selectedTextID").toString(), QStringLiteral("text"), QStringLiteral("Hi"));
    editor->applyShapeToSelectedLayer(kind.id);
    EXPECT_EQ(editor->comp().texts.back().text, QStringLiteral("Hi"));
    EXPECT_EQ(editor->comp().texts.back().shape, kind.id);

    const qsizetype count = editor->comp().texts.size();
    editor->addShapeLayer(QStringLiteral("no-such-shape"));
    EXPECT_EQ(editor->comp().texts.size(), count);
}

TEST_F(EditorTextLayers, ACopyIsOffsetAndSelected)
{
    editor->addTextLayer();
    const QString id = editor->property("selectedTextID").toString();
    editor->setTextField(id, QStringLiteral("x"), 0.93);
    editor->duplicateTextLayer(id);
    ASSERT_EQ(editor->comp().texts.size(), 2);
    EXPECT_EQ(editor->comp().texts[1].x, 0.95);
    EXPECT_NE(editor->comp().texts[1].id, editor->comp().texts[0].id);
    EXPECT_EQ(editor->selectedTextID(), editor->comp().texts[1].id);
}

TEST_F(EditorTextLayers, DeletingKeepsTheSelectionOnALayerThatExists)
{
    editor->addTextLayer();
    const QUuid a = editor->selectedTextID();
    editor->deleteTextLayer(a);
    EXPECT_TRUE(editor->selectedTextID().isNull());
    EXPECT_EQ(editor->comp().texts.size(), 1);  // it goes 60 ms later
    runner->advance(60ms);
    EXPECT_TRUE(editor->comp().texts.isEmpty());
    EXPECT_TRUE(editor->selectedTextID().isNull());

    editor->addTextLayer();
    const QUuid b = editor->selectedTextID();
    editor->addTextLayer();
    const QUuid c = editor->selectedTextID();
    editor->addTextLayer();
    const QUuid d = editor->selectedTextID();
    editor->deleteTextLayer(b);  // not selected: d stays selected
    runner->advance(60ms);
    EXPECT_EQ(editor->selectedTextID(), d);

    // The remembered layer went meanwhile (the composite settings were reset):
    // the selection does not point at it.
    editor->deleteTextLayer(c);
    editor->setComp(CompositeSettings{});
    runner->advance(60ms);
    EXPECT_TRUE(editor->comp().texts.isEmpty());
    EXPECT_TRUE(editor->selectedTextID().isNull());
}

TEST_F(EditorTextLayers, TheListKeepsOneRowPerLayerByItsId)
{
    TextLayerList& list = *editor->textLayerList();
    QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&list, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
    editor->addTextLayer();
    editor->addTextLayer();
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(inserted.count(), 2);

    const int textRole = list.roleNames().key("text");
    const QString second = editor->comp().texts[1].id.toString(QUuid::WithoutBraces);
    EXPECT_TRUE(list.setData(list.index(1), QStringLiteral("Sale"), textRole));
    EXPECT_EQ(editor->comp().texts[1].text, QStringLiteral("Sale"));
    EXPECT_EQ(list.data(list.index(1), textRole).toString(), QStringLiteral("Sale"));

    editor->deleteTextLayer(editor->comp().texts[0].id);
    runner->advance(60ms);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(list.rowOf(second), 0);
    EXPECT_EQ(reset.count(), 0);
}

} // namespace zephrin::testing
