// EditorState's properties: start values, the equal-write rule for every
// property, the matte model setting, and the QML faces.

#include "EditorFixture.h"

#include <QMetaProperty>

namespace zephrin::testing {

using EditorProperties = EditorTest;

TEST_F(EditorProperties, StartAsAnEmptyEditor)
{
    EXPECT_EQ(editor->tool(), EditorTool::cutout);
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);
    EXPECT_EQ(editor->comp(), CompositeSettings{});
    EXPECT_EQ(editor->comp().tintColor, kStartViolet);
    EXPECT_EQ(editor->comp().edgeBlend, 60);
    EXPECT_EQ(editor->matteSettings(), MatteSettings{});
    EXPECT_EQ(editor->lastCommitted(), EditSnapshot{});
    EXPECT_EQ(editor->sheetSettings(), SheetSettings{});
    EXPECT_EQ(editor->customBackdropA(), (RGBAColor{0.99, 0.86, 0.76, 1}));
    EXPECT_EQ(editor->exportLongEdge(), 2400);
    EXPECT_EQ(editor->exportFilename(), QStringLiteral("cutout"));
    EXPECT_EQ(editor->flatTolerance(), 25);
    EXPECT_EQ(editor->colorTolerance(), 20);
    EXPECT_EQ(editor->compositeSizeLabel(), QStringLiteral("—"));
    EXPECT_FALSE(editor->isProcessing());
    EXPECT_EQ(runner->pendingJobs(), 0u);
}

// Every property notifies; writing back the value QML read from it stores
// nothing and says nothing, whatever its QML type.
TEST_F(EditorProperties, WritingBackWhatWasReadNotifiesNobody)
{
    openDocument();
    editor->addTextLayer();
    editor->finishSelection(EditorState::Points{{10, 10}, {50, 40}});
    editor->togglePickedColor(RGBAColor{0.3, 0.6, 0.9, 1});
    editor->setCropDraft(QRectF(1.5, 2.5, 30, 20));
    editor->setGradientLine(QLineF(1, 2, 3, 4));
    editor->setHoverPoint(QPointF(4, 5));
    runner->settle();

    const QMetaObject& meta = EditorState::staticMetaObject;
    int written = 0;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        SCOPED_TRACE(property.name());
        if (property.isConstant())
            continue;
        ASSERT_TRUE(property.hasNotifySignal());
        if (!property.isWritable())
            continue;
        const QVariant value = property.read(editor.get());
        QSignalSpy spy(editor.get(), property.notifySignal());
        property.write(editor.get(), value);
        EXPECT_EQ(spy.count(), 0);
        EXPECT_EQ(property.read(editor.get()), value);
        ++written;
    }
    EXPECT_GT(written, 60);
}

TEST_F(EditorProperties, NotifyOnlyWhenTheValueChanges)
{
    EXPECT_EQ(emissions(*editor, &EditorState::zoomChanged, [&] { editor->setZoom(1.0); }), 0);
    EXPECT_EQ(emissions(*editor, &EditorState::zoomChanged, [&] { editor->setZoom(2.0); }), 1);
    EXPECT_EQ(editor->zoomLabel(), QStringLiteral("200%"));
    editor->setZoom(0.125);
    EXPECT_EQ(editor->zoomLabel(), QStringLiteral("13%"));
    EXPECT_EQ(emissions(*editor, &EditorState::compChanged, [&] { editor->setComp(CompositeSettings{}); }), 0);
}

TEST_F(EditorProperties, MatteModelStartsFromTheSettingsWhereThatModelCanRun)
{
    const auto startWith = [&](std::optional<QString> stored, bool isnetPresent) {
        if (stored)
            settings().setValue(QStringLiteral("matteModel"), *stored);
        else
            settings().remove(QStringLiteral("matteModel"));
        engines->isnetPresent = isnetPresent;
        makeEditor();
        return editor->matteModel();
    };
    EXPECT_EQ(startWith(std::nullopt, true), MatteModel::isnet);
    EXPECT_EQ(startWith(std::nullopt, false), MatteModel::apple);
    EXPECT_EQ(startWith(QStringLiteral("IS-Net"), false), MatteModel::apple);
    EXPECT_EQ(settings().value(QStringLiteral("matteModel")).toString(), QStringLiteral("IS-Net"));
    EXPECT_EQ(startWith(QStringLiteral("Subject Lift"), true), MatteModel::apple);
    EXPECT_EQ(startWith(QStringLiteral("banana"), true), MatteModel::isnet);
}

TEST_F(EditorProperties, MatteModelIsStoredOnEveryAssignment)
{
    editor->setMatteModel(MatteModel::isnet);
    EXPECT_EQ(settings().value(QStringLiteral("matteModel")).toString(), QStringLiteral("IS-Net"));
    settings().remove(QStringLiteral("matteModel"));
    editor->setMatteModel(MatteModel::isnet);
    EXPECT_EQ(settings().value(QStringLiteral("matteModel")).toString(), QStringLiteral("IS-Net"));
    editor->setProperty("matteModel", QStringLiteral("Subject Lift"));
    EXPECT_EQ(settings().value(QStringLiteral("matteModel")).toString(), QStringLiteral("Subject Lift"));
}

TEST_F(EditorProperties, QmlChangesOneFieldOfASettingsRecordInOneWrite)
{
    EXPECT_EQ(emissions(*editor, &EditorState::compChanged, [&] {
                  EXPECT_TRUE(editor->setComp(QStringLiteral("outlineWidth"), 14));
              }),
              1);
    EXPECT_EQ(editor->comp().outlineWidth, 14);
    EXPECT_TRUE(editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color")));
    EXPECT_EQ(editor->comp().backgroundMode, BackgroundMode::color);
    EXPECT_TRUE(editor->setComp(QStringLiteral("backgroundColor"), QColor(Qt::red)));
    EXPECT_EQ(editor->comp().backgroundColor, (RGBAColor{1, 0, 0, 1}));
    EXPECT_TRUE(editor->setComp(QStringLiteral("crop"), QRectF(1, 2, 3, 4)));
    EXPECT_TRUE(editor->setComp(QStringLiteral("crop"), QVariant()));
    EXPECT_FALSE(editor->comp().crop);
    EXPECT_TRUE(editor->setAdjust(QStringLiteral("subject"), QStringLiteral("warmth"), 0.25));
    EXPECT_EQ(editor->comp().subjectAdjust.warmth, 0.25);

    const CompositeSettings before = editor->comp();
    EXPECT_FALSE(editor->setComp(QStringLiteral("outlineWidth"), QStringLiteral("wide")));
    EXPECT_FALSE(editor->setComp(QStringLiteral("backgroundMode"), QStringLiteral("Plaid")));
    EXPECT_FALSE(editor->setComp(QStringLiteral("noSuchField"), 1));
    EXPECT_FALSE(editor->setAdjust(QStringLiteral("sky"), QStringLiteral("warmth"), 1));
    EXPECT_EQ(editor->comp(), before);

    editor->addTextLayer();
    const QString id = editor->property("selectedTextID").toString();
    EXPECT_TRUE(editor->setTextField(id, QStringLiteral("text"), QStringLiteral("Sale")));
    EXPECT_EQ(editor->comp().texts.front().text, QStringLiteral("Sale"));
    EXPECT_FALSE(editor->setTextField(QUuid::createUuid().toString(), QStringLiteral("text"), QStringLiteral("x")));
}

TEST_F(EditorProperties, QmlSeesEnumerationsAsTheirLabels)
{
    editor->setProperty("canvasTool", QStringLiteral("Pick color"));
    EXPECT_EQ(editor->canvasTool(), CanvasTool::eyedropper);
    // A text that is no label (the case's name) changes nothing.
    editor->setProperty("canvasTool", QStringLiteral("eyedropper"));
    EXPECT_EQ(editor->canvasTool(), CanvasTool::eyedropper);
    editor->setCanvasTool(CanvasTool::view);
    editor->setProperty("canvasTool", QStringLiteral("eyedropper"));
    EXPECT_EQ(editor->canvasTool(), CanvasTool::view);
    EXPECT_EQ(editor->choices(QStringLiteral("exportFormat")),
              (QStringList{"PNG", "JPG", "WebP", "HEIC", "SVG"}));
    EXPECT_EQ(editor->choices(QStringLiteral("matteModel")), (QStringList{"Subject Lift", "IS-Net"}));
    EXPECT_TRUE(editor->choices(QStringLiteral("zoom")).isEmpty());
    EXPECT_FALSE(editor->property("activePreset").isValid());
}

TEST_F(EditorProperties, SettingsStayWithinTheRangesTheirControlsOffer)
{
    editor->setFeather(500);
    EXPECT_EQ(editor->feather(), MatteSettings::featherRange.upper);
    editor->setProperty("brushSize", -3);
    EXPECT_EQ(editor->brushSize(), 2);
    editor->setExportQuality(std::nan(""));
    EXPECT_EQ(editor->exportQuality(), 90);
    EXPECT_TRUE(editor->setComp(QStringLiteral("padding"), 90));
    EXPECT_EQ(editor->comp().padding, 40);
    EXPECT_TRUE(editor->setAdjust(QStringLiteral("background"), QStringLiteral("exposure"), -9));
    EXPECT_EQ(editor->comp().backgroundAdjust.exposure, -2);

    const QVariantMap feather = editor->settingRange(QStringLiteral("feather"));
    EXPECT_EQ(feather.value(QStringLiteral("upper")).toDouble(), 20);
    EXPECT_EQ(feather.value(QStringLiteral("step")).toDouble(), 0.1);
    EXPECT_EQ(editor->settingRange(QStringLiteral("outlineWidth")).value(QStringLiteral("defaultValue")).toDouble(), 12);
    EXPECT_EQ(editor->settingRange(QStringLiteral("curve")).value(QStringLiteral("lower")).toDouble(), -100);
    EXPECT_TRUE(editor->settingRange(QStringLiteral("mirror")).isEmpty());
}

} // namespace zephrin::testing
