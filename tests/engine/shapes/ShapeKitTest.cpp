#include "engine/shapes/ShapeKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using namespace zephrin;

namespace {

void expectRect(const QRectF& actual, const QRectF& expected, double tolerance = 1e-9)
{
    EXPECT_NEAR(actual.left(), expected.left(), tolerance);
    EXPECT_NEAR(actual.top(), expected.top(), tolerance);
    EXPECT_NEAR(actual.width(), expected.width(), tolerance);
    EXPECT_NEAR(actual.height(), expected.height(), tolerance);
}

bool hasVertex(const QPainterPath& path, QPointF point)
{
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (!e.isCurveTo() && std::abs(e.x - point.x()) < 1e-9 && std::abs(e.y - point.y()) < 1e-9)
            return true;
    }
    return false;
}

} // namespace

TEST(ShapeKitCatalogue, LooksKindsUpByExactId)
{
    ASSERT_EQ(ShapeKit::kinds().size(), 12u);
    const auto scallop = ShapeKit::kind(QStringLiteral("scallop"));
    ASSERT_TRUE(scallop.has_value());
    EXPECT_EQ(*scallop, ShapeKit::kinds()[11]);
    EXPECT_EQ(scallop->name, QStringLiteral("Scalloped"));
    EXPECT_EQ(ShapeKit::kind(QStringLiteral("thought"))->word, QStringLiteral("Hmm\u2026"));

    EXPECT_FALSE(ShapeKit::kind(QStringLiteral("Rect")).has_value()) << "ids are case-sensitive";
    EXPECT_FALSE(ShapeKit::kind(QString()).has_value());
    EXPECT_FALSE(ShapeKit::kind(QStringLiteral("none")).has_value());
}

TEST(ShapeKitGeometry, UnknownIdsHaveNoPathAndAZeroRectangle)
{
    for (const QString& id : {QString(), QStringLiteral("none"), QStringLiteral("Rect"), QStringLiteral("circle")}) {
        const ShapeKit::Geometry geometry = ShapeKit::path(id, 100, 50);
        EXPECT_FALSE(geometry.path.has_value()) << id.toStdString();
        EXPECT_EQ(geometry.textRect, QRectF()) << id.toStdString();
    }
    for (const QString& id : {QStringLiteral("rect"), QStringLiteral("rounded"), QStringLiteral("speech")})
        EXPECT_FALSE(ShapeKit::unitPath(id).path.has_value()) << "drawn at their size, not in unit space";
}

TEST(ShapeKitGeometry, RectangleFillsTheBoxWithItsTextInset)
{
    const ShapeKit::Geometry rect = ShapeKit::path(QStringLiteral("rect"), 100, 50);
    ASSERT_TRUE(rect.path.has_value());
    expectRect(rect.path->boundingRect(), QRectF(-50, -25, 100, 50));
    expectRect(rect.textRect, QRectF(-42, -19, 84, 38));
}

TEST(ShapeKitGeometry, RoundedCornersHaveRadiusOfAFifthOfTheShortSide)
{
    const ShapeKit::Geometry rounded = ShapeKit::path(QStringLiteral("rounded"), 100, 50);
    ASSERT_TRUE(rounded.path.has_value());
    expectRect(rounded.path->boundingRect(), QRectF(-50, -25, 100, 50));
    // Radius 0.22 × 50 = 11: the top-right corner's circle is centred at (39, 14).
    const QPointF centre(39, 14);
    const QPointF diagonal(std::sqrt(0.5), std::sqrt(0.5));
    EXPECT_TRUE(rounded.path->contains(centre + diagonal * 10.9));
    EXPECT_FALSE(rounded.path->contains(centre + diagonal * 11.1));
    EXPECT_TRUE(rounded.path->contains(QPointF(49.9, 13.9)));
}

TEST(ShapeKitGeometry, SpeechBubbleHasItsTailAtTheBottomLeft)
{
    const ShapeKit::Geometry speech = ShapeKit::path(QStringLiteral("speech"), 100, 100);
    ASSERT_TRUE(speech.path.has_value());
    const QPainterPath& path = *speech.path;
    expectRect(path.boundingRect(), QRectF(-50, -50, 100, 100), 1e-6);
    EXPECT_TRUE(hasVertex(path, {-34, -50})) << "tail tip";
    EXPECT_TRUE(hasVertex(path, {-6, -28})) << "tail leaves the body's bottom edge";
    EXPECT_TRUE(hasVertex(path, {-27, -28}));
    // Body bottom at -28; corner radius 20 (0.2 w is below 0.28 × 78).
    EXPECT_TRUE(path.contains(QPointF(10, -27.9)));
    EXPECT_FALSE(path.contains(QPointF(10, -28.1)));
    const QPointF corner(30, 30);
    const QPointF diagonal(std::sqrt(0.5), std::sqrt(0.5));
    EXPECT_TRUE(path.contains(corner + diagonal * 19.9));
    EXPECT_FALSE(path.contains(corner + diagonal * 20.1));
    // The text sits in the body, above the tail.
    expectRect(speech.textRect, QRectF(-40, -28 + 0.16 * 78, 80, 0.68 * 78));
}

TEST(ShapeKitGeometry, UnitKindsFillTheirBoxExactly)
{
    for (const ShapeKit::Kind& kind : ShapeKit::kinds()) {
        for (const QSizeF size : {QSizeF(100, 50), QSizeF(37, 211)}) {
            const ShapeKit::Geometry geometry = ShapeKit::path(kind.id, size.width(), size.height());
            ASSERT_TRUE(geometry.path.has_value()) << kind.id.toStdString();
            const QRectF box(-size.width() / 2, -size.height() / 2, size.width(), size.height());
            SCOPED_TRACE(kind.id.toStdString());
            expectRect(geometry.path->boundingRect(), box, 1e-6);
            EXPECT_TRUE(box.contains(geometry.textRect));
            EXPECT_GT(geometry.textRect.width(), 0);
        }
    }
}

TEST(ShapeKitGeometry, ThoughtCloudBodySitsAboveTheCentreOfItsBox)
{
    const ShapeKit::Geometry unit = ShapeKit::unitPath(QStringLiteral("thought"));
    ASSERT_TRUE(unit.path.has_value());
    const QRectF design = unit.path->boundingRect();
    // Label space is y up, so QRectF's top() is the lowest point.
    EXPECT_NEAR(design.top(), -0.94, 1e-9) << "the last trailing bubble";
    EXPECT_NEAR(design.bottom(), 0.18 + 0.52 * std::sin(0.2 + 2 * 2 * std::numbers::pi / 10) + 0.36, 1e-6);

    // Scaled to 200 × 200, the cloud's body (the big circle) is centred above y = 0.
    const ShapeKit::Geometry placed = ShapeKit::path(QStringLiteral("thought"), 200, 200);
    const double bodyCentre = (0.18 - design.center().y()) * 200 / design.height();
    EXPECT_GT(bodyCentre, 5);
    EXPECT_TRUE(placed.path->contains(QPointF(0, bodyCentre)));
}

TEST(ShapeKitGeometry, CloudAndScallopMergeIntoOneSilhouette)
{
    // Circles that wound against each other, or an even-odd fill, would leave
    // holes where they overlap.
    for (const QString& id : {QStringLiteral("thought"), QStringLiteral("scallop")}) {
        const ShapeKit::Geometry geometry = ShapeKit::unitPath(id);
        ASSERT_EQ(geometry.path->fillRule(), Qt::WindingFill);
        for (double x = -0.8; x <= 0.8; x += 0.05)
            EXPECT_TRUE(geometry.path->contains(QPointF(x, id == u"thought" ? 0.18 : 0))) << id.toStdString() << " " << x;
    }
}
