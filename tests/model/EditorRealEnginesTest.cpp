// The editor on the real engines and worker pools, as the application runs it.

#include "content/support/Waiting.h"
#include "engine/composite/CanvasGeometry.h"
#include "model/editor/EditorState.h"
#include "model/engines/EditorEngines.h"
#include "support/GuiApplication.h"
#include "support/ProductShot.h"
#include "support/Scenes.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include <functional>

namespace zephrin::testing {


TEST(EditorOnRealEngines, CutsOutRefinesAndExportsAProductShot)
{
    ensureGuiApplication();
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("product.png"));
    ASSERT_TRUE(toQImage(productOnSheet({480, 360}, 7)).save(photo));

    EditorServices services;
    services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    services.shareFolder = dir.filePath(QStringLiteral("share"));
    EditorState editor(services);
    editor.setMatteModel(MatteModel::apple);  // the subject lift: no model file needed

    editor.importImage(QUrl::fromLocalFile(photo));
    ASSERT_TRUE(waitUntil([&] { return editor.composite() && !editor.isProcessing(); }));
    EXPECT_TRUE(editor.lastError().isEmpty()) << editor.lastError().toStdString();
    const double fill = editor.subjectBoundsSize().width() / 480.0;
    EXPECT_GT(fill, 0.15);
    EXPECT_LT(fill, 0.9);

    const auto cutout = editor.cutout()->generation();
    editor.setFeather(4);
    ASSERT_TRUE(waitUntil([&] { return editor.cutout()->generation() != cutout && !editor.isProcessing(); }));

    editor.setComp(QStringLiteral("backgroundMode"), QStringLiteral("Color"));
    ASSERT_TRUE(waitUntil([&] { return editor.compositeBase()->generation() != editor.cutout()->generation() &&
                                       !editor.isProcessing(); }));

    editor.exportImage();
    ASSERT_TRUE(waitUntil([&] { return editor.exportFile().has_value(); }));
    EXPECT_TRUE(editor.exportFile()->data.startsWith("\x89PNG"));
}

namespace {

// An editor on the real engines whose settings and share folder live in `dir`.
std::unique_ptr<EditorState> realEditor(const QTemporaryDir& dir, MatteModel model)
{
    ensureGuiApplication();
    EditorServices services;
    services.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    services.shareFolder = dir.filePath(QStringLiteral("share"));
    auto editor = std::make_unique<EditorState>(services);
    editor->setMatteModel(model);
    return editor;
}

// Opens the picture (Auto Subject runs on import) and waits for its composite.
void openPicture(EditorState& editor, const QTemporaryDir& dir, const Image& picture)
{
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(toQImage(picture).save(path));
    editor.importImage(QUrl::fromLocalFile(path));
    ASSERT_TRUE(waitUntil([&] { return editor.composite() && !editor.isProcessing(); }));
    ASSERT_TRUE(editor.lastError().isEmpty()) << editor.lastError().toStdString();
}

double cutoutIoU(const EditorState& editor, const cv::Mat& shape)
{
    cv::Mat alpha;
    cv::extractChannel(editor.cutout()->image().pixels, alpha, 3);
    return intersectionOverUnion(alpha, shape);
}

// Waits for the composite that follows a change made by `change`.
void recomposited(EditorState& editor, const std::function<void()>& change)
{
    const auto before = editor.composite()->generation();
    change();
    ASSERT_TRUE(waitUntil([&] { return editor.composite()->generation() != before && !editor.isProcessing(); }));
}

} // namespace

// Where the subject finder leaves a subject see-through, the probe says so and
// Fill makes it solid: the walls of a coloured drawing left paper white, and
// the white label of a product on a white sweep.
TEST(EditorOnRealEngines, SuggestsFillForSeeThroughSubjectsAndFillMakesThemSolid)
{
    const std::pair<const char*, Scene> scenes[] = {
        {"drawing", colouredDrawingOnPaper({900, 700}, 3)},
        {"white product", whiteProductOnStudioBackdrop({900, 700}, 3)},
    };
    for (const auto& [name, scene] : scenes) {
        SCOPED_TRACE(name);
        QTemporaryDir dir;
        auto editor = realEditor(dir, MatteModel::apple);
        openPicture(*editor, dir, scene.image);
        ASSERT_TRUE(waitUntil([&] { return editor->suggestFillHoles(); }));
        EXPECT_LT(cutoutIoU(*editor, scene.shape), 0.7);

        recomposited(*editor, [&] { editor->setFillHoles(true); });
        EXPECT_GT(cutoutIoU(*editor, scene.shape), 0.95);
    }
}

// A ring's hole is real: the cutout keeps it open, and Fill is only ever the
// user's choice. A new cutout takes the suggestion of the last one away at once.
TEST(EditorOnRealEngines, KeepsARealHoleOpen)
{
    const Scene ring = ringWithARealHole({900, 700}, 5);
    QTemporaryDir dir;
    auto editor = realEditor(dir, MatteModel::apple);
    openPicture(*editor, dir, ring.image);
    ASSERT_TRUE(waitUntil([&] { return editor->suggestFillHoles(); }));
    EXPECT_FALSE(editor->fillHoles());
    EXPECT_GT(cutoutIoU(*editor, ring.shape), 0.95);
    editor->runAutoSubject();
    EXPECT_FALSE(editor->suggestFillHoles());
    ASSERT_TRUE(waitUntil([&] { return !editor->isProcessing(); }));
}

// Each listing preset's own settings meet its own checklist on a product
// photo. What a preset cannot change, the photo's size, is the only row left
// unmet, and it says what the photo has.
TEST(EditorOnRealEngines, EveryPresetMeetsItsOwnChecklistOnAProductPhoto)
{
    QTemporaryDir dir;
    auto editor = realEditor(dir, MatteModel::apple);
    openPicture(*editor, dir, productOnSheet({1200, 900}, 5));
    for (ListingPreset preset : allCases<ListingPreset>()) {
        SCOPED_TRACE(rawValue(preset).toStdString());
        recomposited(*editor, [&] { editor->applyListingPreset(preset); });
        const int side = std::max(editor->composite()->image().width(), editor->composite()->image().height());
        for (const ComplianceItem& item : editor->complianceItems()) {
            if (!item.ok) {
                EXPECT_TRUE(item.text.contains(QStringLiteral("(now %1 px)").arg(side))) << item.text.toStdString();
            }
        }
    }

    // A shadow needs room the product cannot fill: the row says what to do.
    recomposited(*editor, [&] { editor->setComp(QStringLiteral("shadowEnabled"), true); });
    recomposited(*editor, [&] { editor->applyListingPreset(ListingPreset::amazon); });
    const auto items = editor->complianceItems();
    const auto fill = std::find_if(items.begin(), items.end(),
                                   [](const ComplianceItem& i) { return i.text.startsWith("Product"); });
    ASSERT_NE(fill, items.end());
    EXPECT_FALSE(fill->ok);
    EXPECT_TRUE(fill->text.contains(QStringLiteral("shadow"))) << fill->text.toStdString();
}

// Every aspect gives its exact ratio in the composite and in the exported
// file, also when the export scales it down.
TEST(EditorOnRealEngines, EveryAspectIsExactOnCanvasAndInTheExport)
{
    QTemporaryDir dir;
    auto editor = realEditor(dir, MatteModel::apple);
    openPicture(*editor, dir, productOnSheet({1200, 900}, 5));
    editor->setComp(QStringLiteral("trimToContent"), true);
    editor->setExportLongEdge(480);
    for (AspectPreset aspect : allCases<AspectPreset>()) {
        const std::optional<AspectParts> parts = aspectParts(aspect);
        if (!parts)
            continue;
        SCOPED_TRACE(rawValue(aspect).toStdString());
        recomposited(*editor, [&] { editor->setComp(QStringLiteral("aspect"), rawValue(aspect)); });
        const Image& composite = editor->composite()->image();
        EXPECT_EQ(composite.width() * parts->height, composite.height() * parts->width);

        const QByteArray before = editor->exportFile() ? editor->exportFile()->data : QByteArray();
        editor->exportImage();
        ASSERT_TRUE(waitUntil([&] { return editor->exportFile() && editor->exportFile()->data != before; }));
        const QImage exported = QImage::fromData(editor->exportFile()->data);
        EXPECT_EQ(std::max(exported.width(), exported.height()), 480);
        EXPECT_EQ(exported.width() * parts->height, exported.height() * parts->width)
            << exported.width() << " × " << exported.height();
    }
}

} // namespace zephrin::testing
