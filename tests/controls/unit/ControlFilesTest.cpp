// The icon table against the installed icon font, and the files a drag offers.

#include "controls/DragOut.h"
#include "controls/DragOutFile.h"
#include "controls/IconTable.h"
#include "support/GuiApplication.h"
#include "support/ScopedEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QRawFont>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace zephrin {
namespace {

TEST(IconTable, EverySymbolIsAGlyphOfTheIconFont)
{
    testing::ensureGuiApplication();
    const QString path = QStringLiteral(
        "/usr/share/fonts/truetype/material-design-icons-iconfont/MaterialIcons-Regular.ttf");
    const QRawFont font(path, 24);
    ASSERT_TRUE(font.isValid()) << "fonts-material-design-icons-iconfont is missing";
    EXPECT_EQ(font.familyName(), icons::fontFamily());
    QStringList glyphs;
    for (const QString& symbol : icons::symbols()) {
        const QString glyph = icons::glyph(symbol);
        ASSERT_EQ(glyph.size(), 1) << symbol.toStdString();
        EXPECT_TRUE(font.supportsCharacter(glyph[0])) << symbol.toStdString();
        EXPECT_FALSE(glyphs.contains(glyph)) << symbol.toStdString() << " shares its glyph";
        glyphs << glyph;
    }
    EXPECT_TRUE(icons::glyph(u"no.such.symbol").isEmpty());
}

// A drag carries the PNG, the file when it could be written (the data alone
// when not), and this process's mark, which only this process takes for its own.
TEST(DragOut, CarriesThePngAndTheMarkOfThisProcess)
{
    const std::unique_ptr<QMimeData> withFile(DragOutQml::mimeData("png", QStringLiteral("/run/x/cut.png")));
    EXPECT_EQ(withFile->urls(), QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/run/x/cut.png"))});
    EXPECT_EQ(withFile->data(QStringLiteral("image/png")), QByteArray("png"));
    EXPECT_TRUE(DragOutQml::startedHere(QString::fromUtf8(withFile->data(DragOutQml::sourceFormat()))));

    const std::unique_ptr<QMimeData> dataOnly(DragOutQml::mimeData("png", std::nullopt));
    EXPECT_FALSE(dataOnly->hasUrls());
    EXPECT_EQ(dataOnly->data(QStringLiteral("image/png")), QByteArray("png"));

    EXPECT_FALSE(DragOutQml::startedHere(QString()));
    EXPECT_FALSE(DragOutQml::startedHere(QStringLiteral("00000000-0000-0000-0000-000000000000")));
}

TEST(DragOutFile, SanitisesTheName)
{
    EXPECT_EQ(sanitizedFileName(QStringLiteral("beach-cutout")), QStringLiteral("beach-cutout"));
    EXPECT_EQ(sanitizedFileName(QStringLiteral("../../etc/passwd")), QStringLiteral("etcpasswd"));
    EXPECT_EQ(sanitizedFileName(QStringLiteral("a\\b/c")), QStringLiteral("abc"));
    EXPECT_EQ(sanitizedFileName(QStringLiteral(" .hidden")), QStringLiteral("hidden"));
    EXPECT_EQ(sanitizedFileName(QStringLiteral("tab\there\nline")), QStringLiteral("tabhereline"));
    EXPECT_EQ(sanitizedFileName(QStringLiteral("..")), QStringLiteral("cutout"));
    EXPECT_EQ(sanitizedFileName(QString()), QStringLiteral("cutout"));
    EXPECT_EQ(sanitizedFileName(QString(300, u'x')).size(), 120);
}

TEST(DragOutFile, WritesIntoAPrivateFolderAndReplacesTheLastDrag)
{
    QTemporaryDir runtime;
    QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    testing::ScopedEnvironment environment("XDG_RUNTIME_DIR", qPrintable(runtime.path()));
    const std::optional<QString> folder = dragFolder();
    ASSERT_TRUE(folder);
    EXPECT_TRUE(folder->startsWith(runtime.path()));
    EXPECT_EQ(QFileInfo(*folder).permissions() & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteOther),
              QFileDevice::Permissions());

    const std::optional<QString> first = writeDragFile(*folder, "first", QStringLiteral("../beach"));
    const std::optional<QString> second = writeDragFile(*folder, "second", QStringLiteral("../beach"));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(*first, QDir(*folder).filePath(QStringLiteral("beach.png")));
    EXPECT_EQ(*first, *second);
    QFile file(*second);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("second"));
    EXPECT_EQ(QDir(*folder).entryList(QDir::Files | QDir::Hidden).size(), 1);

    EXPECT_EQ(writeDragFile(*folder, QByteArray(), QStringLiteral("empty")), std::nullopt);
    EXPECT_FALSE(QFile::exists(QDir(*folder).filePath(QStringLiteral("empty.png"))));
}

} // namespace
} // namespace zephrin
