// zephrin-share's walk over the shared items, and the program as a user runs it.

#include "share/handoff/ImageKind.h"
#include "share/handoff/PictureHeader.h"
#include "share/handoff/ShareHandOff.h"
#include "share/inbox/OriginalName.h"
#include "share/inbox/InboxFolder.h"
#include "share/inbox/InboxName.h"
#include "support/Patience.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace zephrin {
namespace {

// The signature and the header chunk of a 1 × 1 RGBA picture, then data.
const QByteArray kPngHead = QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x06\0\0\0\x1f\x15\xc4\x89", 33);
const QByteArray kPng = kPngHead + QByteArray(200, 'p');
const QByteArray kJpeg = QByteArray("\xff\xd8\xff\xe0", 4) + QByteArray(200, 'j');

TEST(ImageKind, NamesTheTypeFromTheFirstBytes)
{
    EXPECT_EQ(imageExtensionFromMagic(kPng), QStringLiteral("png"));
    EXPECT_EQ(imageExtensionFromMagic(kJpeg), QStringLiteral("jpg"));
    EXPECT_EQ(imageExtensionFromMagic("GIF89a...."), QStringLiteral("gif"));
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("RIFF\x10\0\0\0WEBPVP8 ", 16)), QStringLiteral("webp"));
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("II*\0\x08\0\0\0", 8)), QStringLiteral("tiff"));
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("MM\0*\0\0\0\x08", 8)), QStringLiteral("tiff"));
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("BM\x36\0\0\0\0\0\0\0\x36\0\0\0", 14)), QStringLiteral("bmp"));
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("\0\0\0\x18" "ftypheic\0\0\0\0", 16)), QStringLiteral("heic"));
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("\0\0\0\x18" "ftypavif\0\0\0\0", 16)), QStringLiteral("avif"));
    // Many cameras name the codec's brand only among the compatible ones.
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("\0\0\0\x1c" "ftypmif1\0\0\0\0mif1heicmiaf", 28)), QStringLiteral("heic"));
    EXPECT_EQ(imageExtensionFromMagic(QByteArray("\0\0\0\x18" "ftypmif1\0\0\0\0miafavif", 24)), QStringLiteral("avif"));
    for (const QByteArray& other : {QByteArray(), QByteArray("%PDF-1.7"), QByteArray("\x89PN", 3), QByteArray("BM"),
                                    QByteArray("\0\0\0\x18" "ftypisom\0\0\0\0", 16), QByteArray("RIFF\0\0\0\0WAVE", 12)})
        EXPECT_TRUE(imageExtensionFromMagic(other).isEmpty()) << other.toStdString();
}

// Each of the refused was handed over, and the editor refused it later.
TEST(PictureHeader, JudgesTheHeaderAsTheReaderWould)
{
    QByteArray badCrc = kPngHead;
    badCrc[31] = 'x';
    QByteArray noWidth = kPngHead;
    noWidth[19] = 0;
    const QByteArray bmp("BM\x3a\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x01\0\0\0\x01\0\0\0\x01\0\x18\0", 30);
    const QByteArray gif("GIF89a\x01\0\x01\0\x80\0\0\0\0\0\xff\xff\xff", 19);
    const QByteArray jfif = QByteArray("\xff\xd8\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 20);
    const struct {
        const char* kind;
        QByteArray head;
        bool holds;
    } cases[] = {
        {"png", kPng, true},
        {"png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(200, 'g'), false},
        {"png", badCrc + QByteArray(20, '\0'), false},
        {"png", noWidth, false},
        {"png", kPngHead + QByteArray(12, '\0'), false},
        {"bmp", bmp + QByteArray(4, '\xff'), true},
        {"bmp", QByteArray("BMW owners' club: minutes of the meeting\n"), false},
        {"bmp", QByteArray(bmp).replace(26, 2, QByteArray("\x02\0", 2)), false}, // two planes
        {"gif", gif + QByteArray("\x2c\0\0\0\0\x01\0\x01\0\0\x02\x02\x44\x01\0\x3b", 16), true},
        {"gif", gif + QByteArray(100, '\0'), false},
        {"jpg", jfif + QByteArray("\xff\xc0\0\x0b\x08\0\x10\0\x10\x01\x01\x11\0", 13), true},
        {"jpg", jfif + QByteArray("\xff\xc0\0\x0b\x08\0\0\0\x10\x01\x01\x11\0", 13), false}, // no height
        {"jpg", QByteArray("\xff\xd8\xffhello, this is text"), false},
        // libjpeg passes over bytes between segments, and a stuffed zero.
        {"jpg", QByteArray("\xff\xd8\xff\0junk", 8) + jfif.mid(2) + QByteArray("\xff\xc0\0\x0b\x08\0\x10\0\x10\x01\x01\x11\0", 13), true},
        {"jpg", jfif + QByteArray("\xff\xda\0\x08\x01\x01\0\0\x3f\0", 10), false}, // a scan before the frame
        {"webp", QByteArray("RIFF\x1a\0\0\0WEBPVP8L\x0d\0\0\0\x2f\0\0\0\0", 25), true},
        {"webp", QByteArray("RIFF\x1a\0\0\0WEBPJUNK\x0d\0\0\0\x2f\0\0\0\0", 25), false},
        {"webp", QByteArray("RIFF\x1a\0\0\0WEBPVP8L\x0d\0\0\0garbage", 27), false},
        {"tiff", QByteArray("II*\0\x08\0\0\0\x0a\0", 10), true},
        {"tiff", QByteArray("II*\0\0\0\0\0\x0a\0", 10), false},
        {"tiff", QByteArray("MM\0*\0\0\0\x08\0\0", 10), false}, // a directory of no entries
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.head.toHex().toStdString());
        ASSERT_EQ(imageExtensionFromMagic(c.head), QString::fromLatin1(c.kind));
        EXPECT_EQ(holdsReadableHeader(QString::fromLatin1(c.kind), c.head), c.holds);
    }
}

TEST(ImageKind, JudgesFileNamesByTheirExtension)
{
    EXPECT_TRUE(isImageFileName(QStringLiteral("beach.JPG")));
    EXPECT_TRUE(isImageFileName(QStringLiteral("/tmp/a.b/scan.tiff")));
    EXPECT_TRUE(isImageFileName(QStringLiteral("shot.heic")));
    EXPECT_TRUE(isImageFileName(QStringLiteral("shot.AVIF")));
    EXPECT_FALSE(isImageFileName(QStringLiteral("notes.pdf")));
    EXPECT_FALSE(isImageFileName(QStringLiteral("photo")));
    EXPECT_FALSE(isImageFileName(QStringLiteral("archive.png.zip")));
    // Pictures of kinds the editor does not open are not handed over.
    for (const char* other : {"drawing.svg", "icon.ico", "sprite.xpm", "scan.pbm", "photo.jxl"})
        EXPECT_FALSE(isImageFileName(QString::fromLatin1(other))) << other;
}

// The permission bits of a file or folder.
int modeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

class ShareHandOffTest : public ::testing::Test {
protected:
    QTemporaryDir m_sources;
    QTemporaryDir m_inbox;

    QString source(const QString& name, const QByteArray& bytes)
    {
        const QString path = QDir(m_sources.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QStringList inboxNames() const { return QDir(m_inbox.path()).entryList(QDir::Files | QDir::Hidden); }

    QByteArray waiting(const HandOffResult& result) const
    {
        QFile file(QDir(m_inbox.path()).filePath(result.fileName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    HandOffResult handOff(const QStringList& items, QIODevice* input = nullptr, qint64 cap = kShareSizeCap)
    {
        return handOffFirstImage(items, m_inbox.path(), input, cap);
    }
};

TEST_F(ShareHandOffTest, CopiesOnlyTheFirstImageUnchanged)
{
    const HandOffResult result = handOff({source("one.png", kPng), source("two.jpg", kJpeg)});
    ASSERT_TRUE(result.url);
    EXPECT_TRUE(isInboxFileName(result.fileName));
    EXPECT_TRUE(result.fileName.endsWith(QLatin1String(".png")));
    EXPECT_EQ(inboxNames(), QStringList{result.fileName});
    EXPECT_EQ(waiting(result), kPng);
    EXPECT_EQ(result.url->toString(), QStringLiteral("zephrin://open?file=") + result.fileName);
}

TEST_F(ShareHandOffTest, PassesOverWhatIsNoImage)
{
    QDir(m_sources.path()).mkdir(QStringLiteral("folder.png"));
    const HandOffResult result =
        handOff({source("report.pdf", "%PDF-1.7 ..."), source("empty.png", {}),
                 QDir(m_sources.path()).filePath(QStringLiteral("folder.png")),
                 QDir(m_sources.path()).filePath(QStringLiteral("gone.png")), QStringLiteral("https://example.org/a.png"),
                 source("text", "just words"), QUrl::fromLocalFile(source("BEACH.JPG", kJpeg)).toString()});
    ASSERT_TRUE(result.url);
    EXPECT_TRUE(result.fileName.endsWith(QLatin1String(".JPG")));
    EXPECT_EQ(waiting(result), kJpeg);
    EXPECT_EQ(result.problems.size(), 6);
    EXPECT_EQ(inboxNames().size(), 1);
}

TEST_F(ShareHandOffTest, NamesDataWithoutAnExtensionByItsBytes)
{
    const HandOffResult named = handOff({source("IMG_0001", kJpeg)});
    ASSERT_TRUE(named.url);
    EXPECT_TRUE(named.fileName.endsWith(QLatin1String(".jpg")));

    QByteArray piped = kPng;
    QBuffer input(&piped);
    input.open(QIODevice::ReadOnly);
    const HandOffResult fromInput = handOff({QStringLiteral("-")}, &input);
    ASSERT_TRUE(fromInput.url);
    EXPECT_TRUE(fromInput.fileName.endsWith(QLatin1String(".png")));
    EXPECT_EQ(waiting(fromInput), kPng);
}

TEST_F(ShareHandOffTest, ANamedFileKeepsItsNameAsItsOrigin)
{
    const QString probe = source("probe", "x");
    if (!recordOrigin(probe, probe))
        GTEST_SKIP() << "this file system keeps no extended attributes";
    const auto origin = [&](const HandOffResult& result) {
        return originalName(QDir(m_inbox.path()).filePath(result.fileName));
    };
    EXPECT_EQ(origin(handOff({source("beach day.png", kPng)})), QStringLiteral("beach day.png"));
    QByteArray piped = kPng;
    QBuffer input(&piped);
    input.open(QIODevice::ReadOnly);
    EXPECT_EQ(origin(handOff({QStringLiteral("-")}, &input)), std::nullopt);
}

TEST_F(ShareHandOffTest, EmptyOrUnknownDataIsNoImage)
{
    QByteArray nothing;
    QBuffer empty(&nothing);
    empty.open(QIODevice::ReadOnly);
    EXPECT_FALSE(handOff({QStringLiteral("-")}, &empty).url);

    QByteArray words("hello");
    QBuffer text(&words);
    text.open(QIODevice::ReadOnly);
    EXPECT_FALSE(handOff({QStringLiteral("-")}, &text).url);
    EXPECT_TRUE(inboxNames().isEmpty());
}

// Both were handed over (exit 0), and the editor refused them later.
TEST_F(ShareHandOffTest, PassesOverDataWhoseHeaderTheReaderRefuses)
{
    const HandOffResult result =
        handOff({source("minutes", "BMW owners' club: minutes of the meeting\n"),
                 source("garbled.png", QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(500, '\x5a'))});
    EXPECT_FALSE(result.url);
    ASSERT_EQ(result.problems.size(), 2);
    for (const QString& problem : result.problems)
        EXPECT_TRUE(problem.endsWith(QLatin1String(": its contents are not an image"))) << problem.toStdString();
    EXPECT_TRUE(inboxNames().isEmpty());
}

TEST_F(ShareHandOffTest, RefusesDataOverTheCapAndLeavesNothingBehind)
{
    const QByteArray big = kPng + QByteArray(5000, 'x');
    const HandOffResult file = handOff({source("big.png", big)}, nullptr, 4096);
    EXPECT_FALSE(file.url);
    ASSERT_EQ(file.problems.size(), 1);
    EXPECT_TRUE(file.problems[0].contains(QLatin1String("larger than")));

    // A stream tells its size only by being read: the copy stops at the cap.
    QByteArray piped = big;
    QBuffer input(&piped);
    input.open(QIODevice::ReadOnly);
    EXPECT_FALSE(handOff({QStringLiteral("-")}, &input, 4096).url);
    EXPECT_TRUE(inboxNames().isEmpty());

    EXPECT_TRUE(handOff({source("small.png", kPng)}, nullptr, 4096).url);
}

TEST_F(ShareHandOffTest, WithoutAnInboxNothingIsHandedOff)
{
    const HandOffResult result = handOffFirstImage({source("one.png", kPng)}, std::nullopt, nullptr);
    EXPECT_FALSE(result.url);
    EXPECT_EQ(result.problems.size(), 1);
}

// zephrin-share run as a process, with its own data folder.
class ShareProgramTest : public ::testing::Test {
protected:
    QTemporaryDir m_home;
    QTemporaryDir m_sources;

    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    Run run(const QStringList& arguments, const QByteArray& input = {})
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_home.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(ZEPHRIN_SHARE_PROGRAM), arguments);
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(testing::kPatienceMs));
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }

    QString inbox() const { return QDir(m_home.path()).filePath(QStringLiteral("Zephrin/Inbox")); }
};

TEST_F(ShareProgramTest, PrintsTheUrlOfTheWaitingFile)
{
    const QString photo = QDir(m_sources.path()).filePath(QStringLiteral("photo.jpg"));
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kJpeg);
    file.close();

    const Run first = run({QStringLiteral("--print-url"), photo});
    const Run second = run({QStringLiteral("--print-url"), QStringLiteral("-")}, kPng);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    ASSERT_EQ(second.exitCode, 0);
    const QString url = QString::fromUtf8(first.out).trimmed();
    ASSERT_TRUE(url.startsWith(QLatin1String("zephrin://open?file=in-")));
    const QString name = url.mid(url.indexOf(u'=') + 1);
    QFile waiting(QDir(inbox()).filePath(name));
    ASSERT_TRUE(waiting.open(QIODevice::ReadOnly));
    EXPECT_EQ(waiting.readAll(), kJpeg);
    EXPECT_EQ(QDir(inbox()).entryList(QDir::Files).size(), 2);
}

TEST_F(ShareProgramTest, KeepsTheInboxAndItsFilesToTheUser)
{
    // Both were made as any folder and file are (0755, 0644): any user could
    // read what was handed over.
    const Run shared = run({QStringLiteral("--print-url"), QStringLiteral("-")}, kPng);
    ASSERT_EQ(shared.exitCode, 0) << shared.err.toStdString();
    const QString url = QString::fromUtf8(shared.out).trimmed();
    EXPECT_EQ(modeOf(inbox()), 0700);
    EXPECT_EQ(modeOf(QDir(inbox()).filePath(url.mid(url.indexOf(u'=') + 1))), 0600);
}

TEST_F(ShareProgramTest, FailsLoudlyWhenNothingCanBeHandedOff)
{
    const Run none = run({QStringLiteral("--print-url"), QStringLiteral("/no/such/file.png")});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_TRUE(none.out.isEmpty());
    const QByteArray& error = none.err;
    EXPECT_TRUE(error.contains("no image could be handed to Zephrin")) << error.toStdString();
    EXPECT_TRUE(error.contains("/no/such/file.png: no such file"));
    const Run undecodable = run({QStringLiteral("--print-url"), QStringLiteral("/tmp/caf\uFFFD.png")});
    EXPECT_TRUE(undecodable.err.contains("its name is not UTF-8 text")) << undecodable.err.toStdString();

    EXPECT_EQ(run({QStringLiteral("--print-url")}).exitCode, 1);
    EXPECT_EQ(run({QStringLiteral("--print-url"), QStringLiteral("-")}).exitCode, 1);
    const Run unknown = run({QStringLiteral("--no-such-option"), QStringLiteral("/no/such/file.png")});
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_TRUE(unknown.err.contains("--help")) << unknown.err.toStdString();
}

// A file named as a picture is judged by its bytes, as data on standard input
// is: a text file called .png was handed over, and the editor then left a
// running batch for an empty document that could not be opened.
TEST_F(ShareProgramTest, RefusesWhatIsNoImageWhateverItIsCalled)
{
    const QByteArray words("just some words, no picture");
    const QString named = QDir(m_sources.path()).filePath(QStringLiteral("notimg.png"));
    QFile file(named);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(words);
    file.close();

    const std::pair<QStringList, QByteArray> roads[] = {{{named}, named.toUtf8()},
                                                        {{QStringLiteral("-")}, "standard input"}};
    for (const auto& [items, label] : roads) {
        const Run refused = run(QStringList{QStringLiteral("--print-url")} + items, words);
        EXPECT_EQ(refused.exitCode, 1) << label.toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
        EXPECT_TRUE(refused.err.contains(label + ": its contents are not an image")) << refused.err.toStdString();
    }
    EXPECT_TRUE(QDir(inbox()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(ShareProgramTest, HelpPrintsUsageAndHandsNothingOff)
{
    for (const QString& help : {QStringLiteral("--help"), QStringLiteral("-h")}) {
        const Run shown = run({help});
        EXPECT_EQ(shown.exitCode, 0);
        EXPECT_TRUE(shown.out.contains("Usage:")) << shown.out.toStdString();
        EXPECT_TRUE(shown.out.contains("--print-url"));
        EXPECT_FALSE(QDir(inbox()).exists() && !QDir(inbox()).isEmpty(QDir::Files));
    }
    // After "--" a dash begins a file name.
    const Run named = run({QStringLiteral("--print-url"), QStringLiteral("--"), QStringLiteral("--help")});
    EXPECT_EQ(named.exitCode, 1);
    EXPECT_TRUE(named.err.contains("--help: no such file")) << named.err.toStdString();
}

} // namespace
} // namespace zephrin
