// The inspector's state-dependent texts and rules, with the values the
// panels must show at their edges: truncation rather than rounding, the
// singular and plural forms, and the thresholds of the export sheet.

#include "inspector/CutoutPanelText.h"
#include "inspector/ExportSheetRules.h"
#include "inspector/HandRefineText.h"
#include "inspector/SelectionAreaText.h"

#include <gtest/gtest.h>

namespace zephrin {
namespace {

TEST(CutoutPanelText, SliderTextsCutTheFractionOff)
{
    const CutoutPanelText text;
    EXPECT_EQ(text.toleranceText(25), "25");
    EXPECT_EQ(text.toleranceText(99.9), "99");
    EXPECT_EQ(text.closeGapsText(0), "Off");
    EXPECT_EQ(text.closeGapsText(0.49), "Off");
    EXPECT_EQ(text.closeGapsText(1), "1 px");
    EXPECT_EQ(text.closeGapsText(20), "20 px");
    EXPECT_EQ(text.featherText(0.6), "0.6 px");
    EXPECT_EQ(text.featherText(20), "20.0 px");
    EXPECT_EQ(text.decontaminateText(30), "30%");
    // Arithmetic noise under a whole number does not cost a unit.
    EXPECT_EQ(text.decontaminateText(0.57 * 100), "57%");
    EXPECT_EQ(text.decontaminateText(0), "0%");
}

TEST(CutoutPanelText, TitlesAndDescriptionsFollowTheMethodAndModel)
{
    const CutoutPanelText text;
    EXPECT_EQ(text.runTitle("Auto Subject"), "Auto Subject");
    EXPECT_EQ(text.runTitle("Flat Color"), "Remove Background Color");
    EXPECT_TRUE(text.methodDescription("Flat Color").startsWith("Removes the color sampled at the corners."));
    EXPECT_TRUE(text.methodDescription("Auto Subject").startsWith("AI subject detection."));
    // What this build runs, not a platform's finder.
    EXPECT_TRUE(text.modelDescription("IS-Net").contains("ONNX Runtime"));
    EXPECT_TRUE(text.modelDescription("Subject Lift").startsWith("Subject Lift"));
    EXPECT_EQ(text.edgeTitle("contrast"), "Contrast");
    EXPECT_EQ(text.edgeSymbol("detail"), "waveform.path.ecg");
}

TEST(HandRefineText, ToolBlocksAndNotes)
{
    const HandRefineText text;
    EXPECT_EQ(text.toolSymbol(QStringLiteral("Gradient")), QStringLiteral("circle.lefthalf.striped.horizontal"));
    EXPECT_EQ(text.toolTitle(QStringLiteral("Pick color")), QStringLiteral("Pick color"));
    EXPECT_TRUE(text.toolSymbol(QStringLiteral("Brush")).isEmpty());
    EXPECT_EQ(text.toolBlock("Erase"), "brush");
    EXPECT_EQ(text.toolBlock("Restore"), "brush");
    EXPECT_EQ(text.toolBlock("Select"), "selection");
    EXPECT_EQ(text.toolBlock("Pick color"), "selection");
    EXPECT_EQ(text.toolBlock("Crop"), "note");
    EXPECT_EQ(text.toolNote("Crop"), "Crop tool is active (see Adjust or Resize).");
    EXPECT_EQ(text.toolNote("Gradient"), "Gradient tool is active (see Adjust or Resize).");
    EXPECT_TRUE(text.toolNote("Pan").startsWith("Drag to move the view."));
    EXPECT_TRUE(text.toolNote("Erase").isEmpty());
    EXPECT_EQ(text.brushHint("Erase"), "Paint over areas to remove them from the cutout.");
    EXPECT_EQ(text.toolSymbol("Select"), "lasso");
    EXPECT_EQ(text.toolTitle("Pick color"), "Pick color");
    EXPECT_TRUE(text.toolTitle("Wand").isEmpty());
}

TEST(HandRefineText, BrushAndColourTexts)
{
    const HandRefineText text;
    EXPECT_EQ(text.sizeText(40), "40 px");
    EXPECT_EQ(text.sizeText(40.9), "40 px");
    EXPECT_EQ(text.hardnessText(0.8), "80%");
    EXPECT_EQ(text.hardnessText(0.05), "5%");
    EXPECT_EQ(text.hardnessText(0.57), "57%");
    EXPECT_EQ(text.hardnessText(0.579), "57%");
    EXPECT_EQ(text.shareText(0.37), "37%");
    EXPECT_EQ(text.colorsHeading(false), "Colors in image");
    EXPECT_EQ(text.colorsHeading(true), "Colors in selection");
    EXPECT_EQ(text.pickedCountText(0), "No colors picked yet");
    EXPECT_EQ(text.pickedCountText(1), "Will act on 1 color:");
    EXPECT_EQ(text.pickedCountText(3), "Will act on 3 colors:");
    EXPECT_EQ(text.removeTitle(0), "Remove color");
    EXPECT_EQ(text.removeTitle(1), "Remove color");
    EXPECT_EQ(text.removeTitle(2), "Remove 2 colors");
}

TEST(SelectionAreaText, StatesAndHints)
{
    const SelectionAreaText text;
    EXPECT_EQ(text.blockState(true, true), "selected");
    EXPECT_EQ(text.blockState(false, true), "outline");
    EXPECT_EQ(text.blockState(false, false), "choosing");
    EXPECT_EQ(text.selectedStatus("Lasso"), "Lasso selected");
    const QString handles = "Drag the handles to resize, or drag inside to move it. Esc clears.";
    const QString corners = "Drag the corner handles to scale it, or drag inside to move it. Esc clears.";
    EXPECT_EQ(text.selectedHint("Ellipse", 2), handles);
    EXPECT_EQ(text.selectedHint("Lasso", 3), corners);
    EXPECT_EQ(text.selectedHint("Outline", 12), corners);
    EXPECT_EQ(text.selectedHint("Lasso", 2), handles);
    EXPECT_EQ(text.cornersPlaced(1), "1 corner placed");
    EXPECT_EQ(text.cornersPlaced(4), "4 corners placed");
    EXPECT_EQ(text.choosingHint("Rectangle", "…or use the colors below on the whole image."),
              "Drag out the shape on the image. …or use the colors below on the whole image.");
    EXPECT_EQ(text.choosingHint("Lasso", ""), "Draw freehand around the part.");
    EXPECT_TRUE(text.choosingHint("Outline", "").startsWith("Click corner by corner"));
}

TEST(ExportSheetRules, RowsPerFormat)
{
    const ExportSheetRules rules;
    struct Row {
        const char* format;
        bool vector, webpNote, quality, transparency;
        const char* title;
    };
    for (const Row& row : {Row{"PNG", false, false, false, true, "Export Image"},
                           Row{"JPG", false, false, true, false, "Export Image"},
                           Row{"WebP", false, true, true, true, "Export Image"},
                           Row{"HEIC", false, false, true, true, "Export Image"},
                           Row{"SVG", true, false, false, true, "Export SVG"}}) {
        SCOPED_TRACE(row.format);
        EXPECT_EQ(rules.isVector(row.format), row.vector);
        EXPECT_EQ(rules.showsWebPNote(row.format), row.webpNote);
        EXPECT_EQ(rules.qualityEnabled(row.format), row.quality);
        EXPECT_EQ(rules.transparencyEnabled(row.format, false), row.transparency);
        EXPECT_FALSE(rules.transparencyEnabled(row.format, true)) << "an opaque result keeps no transparency";
        EXPECT_EQ(rules.exportTitle(row.format), row.title);
    }
}

TEST(ExportSheetRules, MenuAndSliderTexts)
{
    const ExportSheetRules rules;
    EXPECT_EQ(rules.colorsTitle(1), "Silhouette");
    EXPECT_EQ(rules.colorsTitle(2), "2 colors");
    EXPECT_EQ(rules.colorsTitle(16), "16 colors");
    EXPECT_EQ(rules.sizeTitle(800), "800 px");
    EXPECT_EQ(rules.detailText(0.0), "Smooth");
    EXPECT_EQ(rules.detailText(0.3399), "Smooth");
    EXPECT_EQ(rules.detailText(0.34), "Balanced");
    EXPECT_EQ(rules.detailText(0.6), "Balanced");
    EXPECT_EQ(rules.detailText(0.67), "Precise");
    EXPECT_EQ(rules.qualityText(90), "90%");
    EXPECT_EQ(rules.qualityText(89.6), "89%");
}

// The size the export writes, a picture never enlarged, a drawing at the
// chosen size, against the active preset's floor.
TEST(ExportSheetRules, TheSizeNoteSaysWhatIsWritten)
{
    const ExportSheetRules rules;
    const struct {
        QSize written;
        int longEdge;
        const char* format;
        QVariant preset;
        const char* text;
        bool isShort;
    } cases[] = {
        {{2400, 1600}, 2400, "PNG", {}, "Writes 2400 × 1600 px.", false},
        {{1215, 1215}, 2000, "JPG", QString("Amazon main image"),
         "Writes 1215 × 1215 px. The picture is smaller than 2000 px, and an export never enlarges it.", false},
        {{1215, 1215}, 2700, "PNG", QString("Etsy listing"),
         "Writes 1215 × 1215 px, under the 2000 px “Etsy listing” asks for. The picture is smaller than 2700 px, "
         "and an export never enlarges it.",
         true},
        {{1200, 900}, 1200, "PNG", QString("Etsy listing"), "Writes 1200 × 900 px, under the 2000 px “Etsy listing” asks for.",
         true},
        {{618, 618}, 618, "PNG", QString("iMessage sticker"), "Writes 618 × 618 px.", false},
        {{1215, 1215}, 2048, "SVG", QString("Etsy listing"), "Writes the drawing 2048 px on its longer side.", false},
        {{3000, 3000}, 1500, "SVG", QString("Etsy listing"),
         "Writes the drawing 1500 px on its longer side, under the 2000 px “Etsy listing” asks for.", true},
        {{0, 0}, 2400, "SVG", {}, "", false},
        {{0, 0}, 2400, "PNG", {}, "", false},
    };
    for (const auto& c : cases) {
        const QVariantMap note = rules.sizeNote(c.written, c.longEdge, c.format, c.preset);
        EXPECT_EQ(note["text"].toString(), QString::fromUtf8(c.text));
        EXPECT_EQ(note["short"].toBool(), c.isShort) << c.text;
    }
}

TEST(ExportSheetRules, RequirementSummaryCountsFailingChecks)
{
    const ExportSheetRules rules;
    const QVariantMap met{{"ok", true}, {"text", "Square"}};
    const QVariantMap unmet{{"ok", false}, {"text", "2000 px"}};
    const QString etsy = "Etsy listing";

    QVariantMap summary = rules.requirementSummary({met, met}, etsy);
    EXPECT_TRUE(summary["met"].toBool());
    EXPECT_EQ(summary["text"], "Meets Etsy listing requirements");
    EXPECT_EQ(summary["symbol"], "checkmark.seal.fill");

    summary = rules.requirementSummary({met, unmet}, etsy);
    EXPECT_FALSE(summary["met"].toBool());
    EXPECT_EQ(summary["text"], "1 Etsy listing requirement not met (see Resize)");
    EXPECT_EQ(summary["symbol"], "exclamationmark.triangle.fill");

    summary = rules.requirementSummary({unmet, met, unmet}, etsy);
    EXPECT_EQ(summary["text"], "2 Etsy listing requirements not met (see Resize)");
    EXPECT_EQ(rules.requirementSummary({}, etsy)["text"], "Meets Etsy listing requirements");
}

} // namespace
} // namespace zephrin
