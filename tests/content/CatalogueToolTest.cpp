// The catalogue tool builds a folder that the libraries load, over HTTP or
// directly: the tool runs on installed Debian packages and a folder of
// generated pictures; a loopback server serves the fonts it wrote, and the
// photos are read from the folder itself.

#include "content/fonts/FontLibrary.h"
#include "content/net/ContentSource.h"
#include "content/photos/PhotoBackdropLibrary.h"

#include "content/support/ContentFixture.h"

#include <QImage>
#include <QProcess>

namespace zephrin {
namespace {

using namespace zephrin::testing;

class CatalogueToolTest : public ContentFixture {};

TEST_F(CatalogueToolTest, BuildsAFolderBothLibrariesLoad)
{
    for (const QString name : {"red", "green", "blue"})
        writeFile(cached("pictures/" + name + ".png"), pictureBytes({1200, 800}, QColor(name), "PNG"));
    writeFile(cached("pictures/too-small.jpg"), pictureBytes({100, 80}, Qt::gray, "JPEG"));
    writeFile(cached("pictures/broken.png"), "not a picture");
    // An overlay with transparency: no backdrop photo, whatever it is flattened onto.
    QImage overlay(1200, 800, QImage::Format_ARGB32);
    overlay.fill(QColor(255, 255, 255, 90));
    ASSERT_TRUE(overlay.save(cached("pictures/overlay.png")));

    QProcess tool;
    tool.setProcessChannelMode(QProcess::MergedChannels);
    // DejaVu comes in two packages, one with a face per weight; URW's set has
    // a face with no upright style; Inter is a family fontconfig says nothing of.
    tool.start("/usr/bin/python3",
               {ZEPHRIN_SOURCE_DIR "/tools/build-content-catalogue", "--installed", "--out", m_served.path(),
                "--font-package", "fonts-dejavu-core", "--font-package", "fonts-dejavu-extra", "--font-package",
                "fonts-urw-base35", "--font-package", "fonts-inter:Classic", "--image-folder",
                cached("pictures") + ":Colours"});
    ASSERT_TRUE(tool.waitForFinished(120000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAll().toStdString();

    FontLibrary fonts(contentResourceBase(server().address(), "zephrin/fonts"), cached("Fonts"),
                      std::make_unique<QSettings>(cached("settings.ini"), QSettings::IniFormat));
    fonts.loadIfNeeded();
    ASSERT_TRUE(waitUntil([&] { return fonts.status() != FontLibrary::Status::loading; }));
    ASSERT_EQ(fonts.status(), FontLibrary::Status::ready);
    EXPECT_EQ(fonts.categories(), QStringList({"Sans Serif", "Serif", "Display", "Monospace", "Classic"}));
    const QList<FontItem> items = fonts.items();
    const auto item = [&](const QString& name) {
        return std::find_if(items.begin(), items.end(), [&](const FontItem& i) { return i.name == name; });
    };
    // Categories from fontconfig's own data, not from the package.
    for (const auto& [name, category] : {std::pair{"DejaVu Serif", "Serif"}, {"DejaVu Sans Mono", "Monospace"},
                                         {"Nimbus Roman", "Serif"}, {"Nimbus Sans", "Sans Serif"},
                                         {"Nimbus Mono PS", "Monospace"}, {"Inter", "Classic"}}) {
        ASSERT_NE(item(name), items.end()) << name;
        EXPECT_EQ(item(name)->category, category) << name;
    }
    // One family per name across packages, every weight folded into it.
    EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const FontItem& i) { return i.name == "DejaVu Sans"; }),
              1);
    EXPECT_EQ(item("DejaVu Sans")->files.value("regular"), "dejavu-sans/DejaVuSans.ttf");
    EXPECT_EQ(item("DejaVu Sans")->files.keys(), QStringList({"bold", "boldItalic", "italic", "regular"}));
    EXPECT_EQ(item("Inter Light"), items.end());
    EXPECT_EQ(item("Z003"), items.end()) << "no upright face";
    EXPECT_EQ(item("Nimbus Sans Narrow"), items.end());

    const auto sans = item("Nimbus Sans");
    EXPECT_EQ(sans->files.keys(), QStringList({"bold", "boldItalic", "italic", "regular"}));
    EXPECT_EQ(awaitResult(fonts.download(*sans)), std::optional<QString>("NimbusSans-Regular"));
    const auto preview = awaitResult(fonts.preview(sans->id));
    ASSERT_TRUE(preview);
    EXPECT_GT(preview->width(), preview->height());

    // The folder read directly, as the program reads the one setup builds.
    PhotoBackdropLibrary photos(contentResourceBase(QUrl::fromLocalFile(m_served.path()), "zephrin/backdrops"),
                                cached("Photos"));
    photos.setStatus({PhotoLibraryStatus::Phase::loading, {}});
    ASSERT_TRUE(awaitDone(photos.refresh()));
    ASSERT_EQ(photos.status().phase, PhotoLibraryStatus::Phase::ready);
    EXPECT_EQ(photos.categories(), QStringList({"All", "Colours"}));
    ASSERT_EQ(photos.items().size(), 3);
    // Named by the picture alone: the name a saved background takes.
    QStringList names;
    for (const PhotoBackdrop& photo : photos.items())
        names.append(photo.location);
    EXPECT_EQ(names, QStringList({"Blue", "Green", "Red"}));
    const QString first = photos.items()[0].id;
    const auto thumbnail = awaitResult(photos.thumbnail(first));
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->size(), cv::Size(480, 320));
    const auto full = awaitResult(photos.fullImage(first));
    ASSERT_TRUE(full);
    EXPECT_EQ(full->size(), cv::Size(1200, 800));
}

} // namespace
} // namespace zephrin
