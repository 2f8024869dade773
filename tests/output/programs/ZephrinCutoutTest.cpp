// zephrin-cutout run as a user runs it: a separate process, arguments, files on
// disk, standard output and error, exit status.

#include "../ImageFiles.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

using namespace zephrin::testing;

namespace {

struct ProcessResult {
    int exitCode = -1;
    QString out;
    QString err;
};

// The program sits beside this test executable (both in build/bin).
QString programPath()
{
    return QString::fromStdString(
        (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "zephrin-cutout").string());
}

// A model file that is not there: the program falls back to the subject finder
// (and runs faster, which the tests of naming and files use).
const QString kNoModel = QStringLiteral("/nonexistent/ISNetGeneral.onnx");

// Runs the program; `modelFile`, when given, stands in for the built model, and
// `logRules` sets QT_LOGGING_RULES.
ProcessResult runCutout(const QStringList& arguments, const QString& modelFile = {}, const QString& logRules = {})
{
    QProcess process;
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    if (!modelFile.isEmpty())
        variables.insert(QStringLiteral("ZEPHRIN_MODEL"), modelFile);
    variables.remove(QStringLiteral("QT_LOGGING_RULES"));
    if (!logRules.isEmpty())
        variables.insert(QStringLiteral("QT_LOGGING_RULES"), logRules);
    process.setProcessEnvironment(variables);
    process.start(programPath(), arguments);
    if (!process.waitForFinished(180'000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString writeFile(const QDir& folder, const QString& name, const QByteArray& bytes)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage decoded(const QString& path)
{
    QImageReader reader(path);
    reader.setAutoTransform(true);
    return reader.read();
}

bool isPng(const QByteArray& bytes) { return bytes.startsWith("\x89PNG\r\n\x1A\n"); }
bool isJpeg(const QByteArray& bytes) { return bytes.startsWith("\xFF\xD8\xFF"); }
bool isHeic(const QByteArray& bytes) { return bytes.mid(4, 8) == "ftypheic"; }

// The mean alpha of a rectangle of a decoded cutout, 0 to 255.
double meanAlpha(const QImage& image, const QRect& area)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            sum += qAlpha(argb.pixel(x, y));
    return sum / (area.width() * area.height());
}

class ZephrinCutout : public ::testing::Test {
protected:
    QTemporaryDir temporary;
    QDir folder{temporary.path()};
};

} // namespace

TEST_F(ZephrinCutout, HelpShowsTheTitleAndTheParameters)
{
    const ProcessResult run = runCutout({QStringLiteral("--help")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(u"Remove Background")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(u"Image"));
    EXPECT_TRUE(run.out.contains(u"Format (PNG, JPEG, or HEIC)"));
    EXPECT_TRUE(run.out.contains(u"Default: PNG"));

    EXPECT_EQ(runCutout({}).exitCode, 2);
    EXPECT_EQ(runCutout({QStringLiteral("--no-such-option"), QStringLiteral("x.png")}).exitCode, 2);
}

TEST_F(ZephrinCutout, CutsOutASubjectBesideTheImage)
{
    const QString input = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(300, 200), "png"));
    const QString expected = folder.filePath(QStringLiteral("disc-cutout.png"));
    // With the IS-Net model, and without it through the subject finder.
    for (const QString& model : {QString(), kNoModel}) {
        SCOPED_TRACE(model.isEmpty() ? "IS-Net" : "subject finder");
        const ProcessResult run = runCutout({QStringLiteral("--overwrite"), input}, model);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, expected);
        EXPECT_EQ(run.err, QString()) << "the network's diagnostics stay quiet unless asked for";

        const QImage cutout = decoded(expected);
        ASSERT_EQ(cutout.size(), QSize(300, 200));
        EXPECT_TRUE(cutout.hasAlphaChannel());
        EXPECT_GT(meanAlpha(cutout, QRect(140, 40, 20, 20)), 240); // inside the disc
        EXPECT_LT(meanAlpha(cutout, QRect(0, 150, 40, 40)), 15);   // the white page
    }
}

TEST_F(ZephrinCutout, NamesAndTypesTheFileByTheFormatText)
{
    const QString input =
        writeFile(folder, QStringLiteral("beach.photo.JPG"), encoded(discOnWhite(240, 160), "jpeg"));
    struct Case {
        QString format;
        QString name;
        bool (*isType)(const QByteArray&);
    };
    const Case cases[] = {
        {QStringLiteral("jpg"), QStringLiteral("beach.photo-cutout.jpg"), isJpeg},
        {QStringLiteral("Jpeg"), QStringLiteral("beach.photo-cutout.jpg"), isJpeg},
        {QStringLiteral("JPEG"), QStringLiteral("beach.photo-cutout.jpg"), isJpeg},
        {QStringLiteral("heic"), QStringLiteral("beach.photo-cutout.heic"), isHeic},
        {QStringLiteral("webp"), QStringLiteral("beach.photo-cutout.png"), isPng},
        {QStringLiteral("tiff"), QStringLiteral("beach.photo-cutout.png"), isPng},
        {QString(), QStringLiteral("beach.photo-cutout.png"), isPng},
        {QStringLiteral(" JPEG"), QStringLiteral("beach.photo-cutout.png"), isPng},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE("format \"" + c.format.toStdString() + "\"");
        const QString out = folder.filePath(QString::number(index++));
        ASSERT_TRUE(folder.mkpath(out));
        const ProcessResult run = runCutout({QStringLiteral("--format"), c.format, QStringLiteral("--output-folder"), out, input},
                                  kNoModel);
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out, QDir(out).filePath(c.name));
        EXPECT_TRUE(c.isType(contents(run.out)));
    }
    // A JPEG cutout has no alpha: white where the page was.
    const QImage jpeg = decoded(QDir(folder.filePath(QStringLiteral("0"))).filePath(QStringLiteral("beach.photo-cutout.jpg")));
    EXPECT_FALSE(jpeg.hasAlphaChannel());
    EXPECT_GT(qRed(jpeg.pixel(5, 150)), 240);

    // Without any extension, and with the default format.
    const QString scan = writeFile(folder, QStringLiteral("scan"), encoded(discOnWhite(240, 160), "png"));
    const ProcessResult run = runCutout({scan}, kNoModel);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, folder.filePath(QStringLiteral("scan-cutout.png")));
}

TEST_F(ZephrinCutout, KeepsAnExistingFileUnlessToldToReplaceIt)
{
    const QString input = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    const QString existing = writeFile(folder, QStringLiteral("disc-cutout.png"), QByteArray("precious"));

    const ProcessResult refused = runCutout({input}, kNoModel);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u"already exists")) << refused.err.toStdString();
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_EQ(contents(existing), QByteArray("precious"));

    const ProcessResult replaced = runCutout({QStringLiteral("--overwrite"), input}, kNoModel);
    ASSERT_EQ(replaced.exitCode, 0) << replaced.err.toStdString();
    EXPECT_TRUE(isPng(contents(existing)));
    // Nothing but the cutout is left behind (no temporary files).
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 2);
}

TEST_F(ZephrinCutout, ReportsFailuresOnStandardError)
{
    const QString notes = writeFile(folder, QStringLiteral("notes.txt"), QByteArray("Remember the milk.\n"));
    ProcessResult run = runCutout({notes});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"That image couldn't be read.")) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty());
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("notes-cutout.png"))));

    run = runCutout({folder.filePath(QStringLiteral("missing.png"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"That image couldn't be read."));

    // A pipe nobody writes to is refused unopened instead of waiting forever.
    const QString pipe = folder.filePath(QStringLiteral("pipe.png"));
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    run = runCutout({pipe});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"That image couldn't be read."));

    const QString input = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    run = runCutout({QStringLiteral("--output-folder"), folder.filePath(QStringLiteral("no/such/folder")), input},
                    kNoModel);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"The cutout couldn't be saved.")) << run.err.toStdString();
}

TEST_F(ZephrinCutout, ReportsAPictureWithoutASubject)
{
    // An even grey page: the subject finder finds nothing in it. (IS-Net keeps
    // such a scene whole instead.)
    QImage blank(320, 240, QImage::Format_RGB32);
    blank.fill(QColor(128, 128, 128));
    const QString input = writeFile(folder, QStringLiteral("blank.png"), encoded(blank, "png"));
    ProcessResult run = runCutout({input}, kNoModel);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"No subject was found in this image.")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("blank-cutout.png"))));
    EXPECT_EQ(run.err.trimmed(), QStringLiteral("No subject was found in this image.")) << "the sentence alone";
}

TEST_F(ZephrinCutout, AModelTheRuntimeRefusesLeavesTheSubjectFinderToDoTheWork)
{
    const QString brokenModel = writeFile(folder, QStringLiteral("ISNetGeneral.onnx"), QByteArray("not a network"));
    const QString disc = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    const ProcessResult run = runCutout({disc}, brokenModel);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_GT(meanAlpha(decoded(run.out), QRect(110, 30, 20, 20)), 240);
    // Why the model was passed over, in one line.
    EXPECT_EQ(run.err.trimmed().count(QLatin1Char('\n')), 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"ISNetGeneral.onnx could not be loaded, using Subject Lift")) << run.err.toStdString();
}

TEST_F(ZephrinCutout, ShowsTheNetworksDiagnosticsWhenAskedTo)
{
    const QString disc = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    const ProcessResult run = runCutout({disc}, {}, QStringLiteral("IS-Net.info=true"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"IS-Net loaded from ISNetGeneral.onnx")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"confidence: ")) << run.err.toStdString();
}

TEST_F(ZephrinCutout, TurnsARotatedPhotoUpright)
{
    // Stored on its side with orientation 6 (turn 90° clockwise to view).
    const QImage stored = discOnWhite(300, 200).transformed(QTransform().rotate(-90));
    const QString input =
        writeFile(folder, QStringLiteral("phone.jpg"), withExifOrientation(encoded(stored, "jpeg"), 6));
    const ProcessResult run = runCutout({input});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage cutout = decoded(run.out);
    ASSERT_EQ(cutout.size(), QSize(300, 200));
    EXPECT_GT(meanAlpha(cutout, QRect(140, 40, 20, 20)), 240); // the disc, in the upper half
    EXPECT_LT(meanAlpha(cutout, QRect(130, 160, 40, 30)), 15);
}

TEST_F(ZephrinCutout, WritesALargePhotoAt2400OnItsLongSide)
{
    const QString input =
        writeFile(folder, QStringLiteral("large.jpg"), encoded(discOnWhite(10000, 6000), "jpeg", 80));
    const ProcessResult run = runCutout({QStringLiteral("--format"), QStringLiteral("jpeg"), input});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(QImageReader(run.out).size(), QSize(2400, 1440));
}
