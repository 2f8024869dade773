// Font previews redrawn in the picker's ink: the catalogue's dark strokes on
// transparency, and a preview on an opaque ground, both come out as the
// strokes alone in the ink.

#include "pickers/fonts/FontPreviewInk.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace zephrin {
namespace {

QImage preview(QColor ground, QColor stroke)
{
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(ground);
    QPainter painter(&image);
    painter.fillRect(QRect(10, 5, 20, 10), stroke);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(30, 5, 2, 10), QColor(stroke.red(), stroke.green(), stroke.blue(), 128));
    return image;
}

TEST(FontPreviewInk, DrawsTheStrokesInTheInkAndLeavesTheGroundClear)
{
    const QColor ink(0xF6, 0xF2, 0xFF);
    struct Case {
        const char* name;
        QColor ground;
        QColor stroke;
    };
    const Case cases[] = {
        {"catalogue ink on transparency", Qt::transparent, QColor(26, 26, 31)},
        {"dark ink on white", Qt::white, QColor(26, 26, 31)},
        {"light ink already", Qt::transparent, ink},
    };
    for (const Case& c : cases) {
        const QImage inked = fontpreview::inked(preview(c.ground, c.stroke), ink);
        ASSERT_EQ(inked.size(), QSize(40, 20)) << c.name;
        EXPECT_EQ(inked.pixelColor(15, 10), ink) << c.name;
        EXPECT_EQ(inked.pixelColor(2, 2).alpha(), 0) << c.name;
        const int edge = inked.pixelColor(30, 10).alpha();
        EXPECT_GT(edge, 80) << c.name;
        EXPECT_LT(edge, 200) << c.name;
    }
    EXPECT_TRUE(fontpreview::inked(QImage(), ink).isNull());
}

} // namespace
} // namespace zephrin
