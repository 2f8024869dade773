#include "engine/text/FontResolver.h"

#include "engine/text/FontFixtures.h"
#include "engine/text/FontRegistration.h"
#include "support/GuiApplication.h"

#include <QFileInfo>
#include <QRawFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zephrin;
using namespace zephrin::testing;

namespace {

// A face of one of the two Helvetica stand-ins, with the traits asked for.
void checkHelveticaStandIn(const QString& name, bool bold, bool italic)
{
    SCOPED_TRACE(name.toStdString());
    const FontFace face = FontResolver::resolve(name);
    EXPECT_TRUE(face.family == QStringLiteral("Nimbus Sans") || face.family == QStringLiteral("TeX Gyre Heros"))
        << face.family.toStdString();
    EXPECT_EQ(face.bold, bold);
    EXPECT_EQ(face.italic, italic);
    EXPECT_TRUE(QFileInfo::exists(face.file));
}

} // namespace

TEST(FontResolver, DefaultFontResolvesToABoldNeoGrotesque)
{
    checkHelveticaStandIn(QStringLiteral("HelveticaNeue-Bold"), true, false);
}

TEST(FontResolver, HelveticaNamesPickTheStandInOfTheirStyle)
{
    checkHelveticaStandIn(QStringLiteral("HelveticaNeue"), false, false);
    checkHelveticaStandIn(QStringLiteral("HelveticaNeue-Light"), false, false);
    checkHelveticaStandIn(QStringLiteral("HelveticaNeue-BoldItalic"), true, true);
    checkHelveticaStandIn(QStringLiteral("Helvetica-Oblique"), false, true);
    checkHelveticaStandIn(QStringLiteral("Helvetica-BoldOblique"), true, true);
}

TEST(FontResolver, UnknownNameGetsTheRegularStandIn)
{
    // The platform the documents come from substitutes plain Helvetica; the
    // layer's own bold and italic flags decide the rest.
    checkHelveticaStandIn(QStringLiteral("NoSuchFont-BoldItalic"), false, false);
    checkHelveticaStandIn(QString(), false, false);
}

TEST(FontResolver, InstalledNamesResolveToThemselves)
{
    const FontFace italic = FontResolver::resolve(QStringLiteral("NimbusSans-Italic"));
    EXPECT_EQ(italic.postScriptName, QStringLiteral("NimbusSans-Italic"));
    EXPECT_TRUE(italic.italic);
    EXPECT_FALSE(italic.bold);
    // The face also ships as Type 1; the OpenType file is the one to use.
    EXPECT_TRUE(italic.file.endsWith(QStringLiteral(".otf"))) << italic.file.toStdString();

    const FontFace heros = FontResolver::resolve(QStringLiteral("TeXGyreHeros-Regular"));
    EXPECT_EQ(heros.postScriptName, QStringLiteral("TeXGyreHeros-Regular"));
    EXPECT_EQ(heros.family, QStringLiteral("TeX Gyre Heros"));

    const FontFace byFullName = FontResolver::resolve(QStringLiteral("Nimbus Sans Bold"));
    EXPECT_EQ(byFullName.postScriptName, QStringLiteral("NimbusSans-Bold"));
    EXPECT_TRUE(byFullName.bold);
}

TEST(FontResolver, QFontOfAFaceLoadsThatVeryFile)
{
    ensureGuiApplication();
    for (const QString& name : {QStringLiteral("HelveticaNeue-Bold"), QStringLiteral("NimbusSans-Italic"),
                                QStringLiteral("NimbusSans-BoldItalic"), QStringLiteral("TeXGyreHeros-Bold"),
                                QStringLiteral("Inter-Light")}) {
        SCOPED_TRACE(name.toStdString());
        const FontFace face = FontResolver::resolve(name);
        QFont font = face.font();
        font.setPixelSize(40);
        const QRawFont chosen = QRawFont::fromFont(font);
        const QRawFont exact(face.file, 40);
        ASSERT_TRUE(chosen.isValid());
        ASSERT_TRUE(exact.isValid());
        EXPECT_EQ(chosen.styleName(), face.styleName);
        // The header table carries each file's checksum and dates.
        const QByteArray head = exact.fontTable("head");
        ASSERT_FALSE(head.isEmpty());
        EXPECT_EQ(chosen.fontTable("head"), head) << "Qt picked another copy of the face";
    }
}

TEST(FontResolver, WithTraitsFindsTheFamilysFaceOrNothing)
{
    const FontFace regular = FontResolver::resolve(QStringLiteral("NimbusSans-Regular"));
    EXPECT_EQ(FontResolver::withTraits(regular, true, false)->postScriptName, QStringLiteral("NimbusSans-Bold"));
    EXPECT_EQ(FontResolver::withTraits(regular, true, true)->postScriptName,
              QStringLiteral("NimbusSans-BoldItalic"));
    EXPECT_EQ(FontResolver::withTraits(regular, false, false), regular);

    // Traits the face has are kept: italic wanted on a bold face is bold italic.
    const FontFace bold = FontResolver::resolve(QStringLiteral("NimbusSans-Bold"));
    EXPECT_EQ(FontResolver::withTraits(bold, false, true)->postScriptName, QStringLiteral("NimbusSans-BoldItalic"));
    EXPECT_EQ(FontResolver::withTraits(bold, true, false), bold);

    // Of many weights, bold is the nearest bold face; semibold is not bold.
    const FontFace light = FontResolver::resolve(QStringLiteral("Inter-Light"));
    EXPECT_EQ(FontResolver::withTraits(light, true, false)->postScriptName, QStringLiteral("Inter-Bold"));
    EXPECT_FALSE(FontResolver::resolve(QStringLiteral("Inter-SemiBold")).bold);

    // A family of one regular face has nothing to offer: the caller imitates.
    const FontFace icons = FontResolver::resolve(QStringLiteral("MaterialIcons-Regular"));
    ASSERT_EQ(icons.family, QStringLiteral("Material Icons"));
    EXPECT_FALSE(FontResolver::withTraits(icons, true, false).has_value());
    EXPECT_FALSE(FontResolver::withTraits(icons, false, true).has_value());
}

TEST(FontResolver, FindsFontsTheProcessRegistered)
{
    ensureGuiApplication();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("Downloaded.otf"));
    const RenamedFont downloaded = writeRenamedFont(file);
    ASSERT_NE(FontResolver::resolve(downloaded.postScriptName).file, file);

    FontRegistration(folder.path()).registerOnce();

    const FontFace face = FontResolver::resolve(downloaded.postScriptName);
    EXPECT_EQ(face.file, file);
    EXPECT_EQ(face.family, downloaded.family);
    EXPECT_TRUE(face.bold);
}
