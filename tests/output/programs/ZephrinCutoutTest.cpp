// zephrin-cutout run as a user runs it: a separate process, arguments, files on
// disk, standard output and error, exit status.

#include "../ImageFiles.h"
#include "support/TinyOnnxModel.h"
#include "support/ChildProcess.h"
#include "support/HostileImages.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

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

// Starts the program; `modelFile`, when given, stands in for the built model, and
// `logRules` sets QT_LOGGING_RULES.
void startCutout(QProcess& process, const QStringList& arguments, const QString& modelFile = {},
                 const QString& logRules = {})
{
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    if (!modelFile.isEmpty())
        variables.insert(QStringLiteral("ZEPHRIN_MODEL"), modelFile);
    variables.remove(QStringLiteral("QT_LOGGING_RULES"));
    if (!logRules.isEmpty())
        variables.insert(QStringLiteral("QT_LOGGING_RULES"), logRules);
    process.setProcessEnvironment(variables);
    process.start(programPath(), arguments);
}

ProcessResult finished(QProcess& process)
{
    if (!process.waitForFinished(180'000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed(),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

ProcessResult runCutout(const QStringList& arguments, const QString& modelFile = {}, const QString& logRules = {})
{
    QProcess process;
    startCutout(process, arguments, modelFile, logRules);
    return finished(process);
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

// A run whose arguments are bytes (QProcess passes only text): the program
// with `arguments`, the IS-Net model given as `modelFile` (empty: the built
// one) and `logRules` as QT_LOGGING_RULES. `watch` sees the standard error so
// far each time more arrives, with the process's id.
using RawRun = ChildRun;

RawRun runRaw(const std::vector<std::string>& arguments, const QString& modelFile = {}, const char* logRules = nullptr,
              const std::function<void(pid_t, const QByteArray&)>& watch = {})
{
    std::vector<std::string> environment;
    if (logRules)
        environment.push_back(std::string("QT_LOGGING_RULES=") + logRules);
    if (!modelFile.isEmpty())
        environment.push_back("ZEPHRIN_MODEL=" + QFile::encodeName(modelFile).toStdString());
    return runChild(QFile::encodeName(programPath()).toStdString(), arguments, environment, 180, watch);
}

class ZephrinCutout : public ::testing::Test {
protected:
    QTemporaryDir temporary;
    QDir folder{temporary.path()};

    std::string folderBytes() const { return QFile::encodeName(folder.path()).toStdString(); }

    // Every entry of the folder, hidden ones too.
    QStringList entries() const { return folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot); }
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

// --overwrite renamed the cutout over a pipe of its name, or over the pipe a
// link of its name led to: the pipe became a file. Such a name is refused
// before the work, and the pipe is never opened.
TEST_F(ZephrinCutout, NeverReplacesAPipeOrWhatALinkLeadsTo)
{
    const QString input = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    const QString target = folder.filePath(QStringLiteral("disc-cutout.png"));
    QTemporaryDir elsewhere;
    const WatchedFifo linked(elsewhere.filePath(QStringLiteral("pipe")));
    for (const bool throughALink : {false, true}) {
        SCOPED_TRACE(throughALink);
        std::optional<WatchedFifo> named;
        if (throughALink)
            ASSERT_EQ(::symlink(QFile::encodeName(linked.path()).constData(), QFile::encodeName(target).constData()), 0);
        else
            named.emplace(target);
        const RawRun run = runRaw({"--overwrite", QFile::encodeName(input).toStdString()}, kNoModel);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.toStdString(), "The cutout couldn't be saved.\n" + QFile::encodeName(target).toStdString()
                                             + ": it's a device, a pipe or a socket, not a file, so it isn't replaced\n");
        EXPECT_LT(run.peakKilobytes, 200 * 1024) << "refused before the work";
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
        EXPECT_TRUE(S_ISFIFO(status.st_mode));
        EXPECT_FALSE(named ? named->wasOpened() : linked.wasOpened());
        named.reset();
        ::unlink(QFile::encodeName(target).constData());
        EXPECT_EQ(entries(), QStringList{QStringLiteral("disc.png")}) << "no temporary file left";
    }
}

TEST_F(ZephrinCutout, NeverReplacesAFileThatAnotherRunWroteMeanwhile)
{
    // Both runs find the name free when they start; only one may take it.
    const QString input = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    QProcess first;
    QProcess second;
    startCutout(first, {input}, kNoModel);
    startCutout(second, {input}, kNoModel);
    const ProcessResult runs[] = {finished(first), finished(second)};
    const int succeeded = int(runs[0].exitCode == 0) + int(runs[1].exitCode == 0);
    EXPECT_EQ(succeeded, 1) << runs[0].err.toStdString() << runs[1].err.toStdString();
    const ProcessResult& refused = runs[0].exitCode == 0 ? runs[1] : runs[0];
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(u"already exists; pass --overwrite to replace it.")) << refused.err.toStdString();
    EXPECT_TRUE(isPng(contents(folder.filePath(QStringLiteral("disc-cutout.png")))));
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden).size(), 2); // no temporary file left
}

TEST_F(ZephrinCutout, ChecksTheOutputFolderAndNameBeforeTheWork)
{
    // An input that would fail in the work: the folder is what is reported,
    // and what is wrong with it.
    QImage blank(320, 240, QImage::Format_RGB32);
    blank.fill(QColor(128, 128, 128));
    const QString input = writeFile(folder, QStringLiteral("blank.png"), encoded(blank, "png"));
    const QString notAFolder = writeFile(folder, QStringLiteral("notes.txt"), QByteArray("a file"));
    const std::pair<QString, QString> cases[] = {
        {folder.filePath(QStringLiteral("no/such/folder")), QStringLiteral("the folder doesn't exist")},
        {notAFolder, QStringLiteral("notes.txt is a file, not a folder")},
        {notAFolder + QStringLiteral("/below"), QStringLiteral("part of the path is a file, not a folder")},
        {QStringLiteral("/proc"), QStringLiteral("that folder doesn't take new files")},
    };
    for (const auto& [output, reason] : cases) {
        const ProcessResult run = runCutout({QStringLiteral("--output-folder"), output, input}, kNoModel);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, QStringLiteral("The cutout couldn't be saved.\n%1: %2\n")
                               .arg(QDir(output).filePath(QStringLiteral("blank-cutout.png")), reason));
    }

    // A cutout name too long for the folder (the picture's name is 252 bytes,
    // the cutout's 259) was found out only after the work: 3 s and 719 MB.
    const QString longName = writeFile(folder, QString(248, u'n') + QStringLiteral(".png"), encoded(blank, "png"));
    const RawRun run = runRaw({QFile::encodeName(longName).toStdString()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("The cutout couldn't be saved.\n")) << run.err.toStdString();
    EXPECT_TRUE(run.err.endsWith("-cutout.png: the name is too long\n")) << run.err.toStdString();
    EXPECT_LT(run.peakKilobytes, 200 * 1024) << "no network loaded, no work done";
}

TEST_F(ZephrinCutout, RefusesFilesThatCannotHoldThePictureTheyClaim)
{
    // Each claims 16000 × 16000 pixels; decoded, each made an invented cutout.
    // The RLE8 BMP only jumps over its rows, and the XPM's rows are empty: both
    // made a black 16000 × 16000 cutout (1.7 GB), the XPM with 16000 warnings.
    const QString damaged = QStringLiteral("the picture is damaged or incomplete");
    const std::pair<QByteArray, QString> files[] = {
        {tinyGifClaiming(16000, 16000), damaged},      {bmpClaiming(16000, 16000, 1024), damaged},
        {flatGreyJpeg(16000, 16000, 600), damaged},    {rleBmpClaiming(16000, 16000), damaged},
        {xpmClaiming(16000, 16000), QStringLiteral("it isn't a picture Zephrin reads")},
    };
    for (const auto& [bytes, reason] : files) {
        const QString input = writeFile(folder, QStringLiteral("claim"), bytes);
        const ProcessResult run = runCutout({QStringLiteral("--overwrite"), input});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, QStringLiteral("That image couldn't be read.\n%1: %2\n").arg(input, reason))
            << "the sentence and its reason alone";
        EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("claim-cutout.png"))));
    }
    const QString large = writeFile(folder, QStringLiteral("large.png"), pngClaiming(16400, 16400, 1100 * 1000, 8, true));
    const ProcessResult run = runCutout({large});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, QStringLiteral("That image is too large.\n%1: the picture would take more than 1 GB of memory\n")
                           .arg(large));
}

TEST_F(ZephrinCutout, ReportsFailuresOnStandardErrorWithTheFileAndWhy)
{
    // Each said "That image couldn't be read." alone, whatever was wrong.
    const QString notes = writeFile(folder, QStringLiteral("notes.txt"), QByteArray("Remember the milk.\n"));
    const QString pipe = folder.filePath(QStringLiteral("pipe.png"));
    // A pipe nobody writes to is refused unopened instead of waiting forever.
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const std::pair<QString, QString> cases[] = {
        {notes, QStringLiteral("it isn't a picture Zephrin reads")},
        {folder.filePath(QStringLiteral("missing.png")), QStringLiteral("the file doesn't exist")},
        {pipe, QStringLiteral("it isn't a regular file")},
    };
    for (const auto& [input, reason] : cases) {
        const ProcessResult run = runCutout({input});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, QStringLiteral("That image couldn't be read.\n%1: %2\n").arg(input, reason));
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("notes-cutout.png"))));
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

TEST_F(ZephrinCutout, ReadsTheNetworksOutputByItsName)
{
    const QString disc = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    // The first output would make the page the subject; "output_image" makes it the disc.
    const QString twoOutputs = writeFile(folder, QStringLiteral("two.onnx"), twoOutputModel());
    ProcessResult run = runCutout({QStringLiteral("--overwrite"), disc}, twoOutputs);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());
    QImage cutout = decoded(run.out);
    EXPECT_GT(meanAlpha(cutout, QRect(110, 70, 20, 20)), 240);
    EXPECT_LT(meanAlpha(cutout, QRect(0, 120, 30, 30)), 15);

    // A model without that output is no IS-Net: the subject finder steps in.
    const QString noOutput = writeFile(folder, QStringLiteral("other.onnx"), modelWithoutOutputImage());
    run = runCutout({QStringLiteral("--overwrite"), disc}, noOutput);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"other.onnx could not be loaded, using Subject Lift: it has no output named "
                                 u"output_image"))
        << run.err.toStdString();
    EXPECT_GT(meanAlpha(decoded(run.out), QRect(110, 70, 20, 20)), 240);
}

TEST_F(ZephrinCutout, ShowsTheNetworksDiagnosticsWhenAskedTo)
{
    const QString disc = writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    const ProcessResult run = runCutout({disc}, {}, QStringLiteral("IS-Net.info=true"));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"IS-Net loaded from ISNetGeneral.onnx")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(u"confidence: ")) << run.err.toStdString();
}

TEST_F(ZephrinCutout, CallsAnEmptyCutoutNoSubject)
{
    // A sky over a field: IS-Net keeps the scene, and stripping its two flat
    // areas leaves no pixel. An empty cutout is no cutout.
    QImage landscape(320, 240, QImage::Format_RGB32);
    landscape.fill(QColor(120, 170, 230));
    QPainter(&landscape).fillRect(0, 120, 320, 120, QColor(90, 140, 60));
    const QString scene = writeFile(folder, QStringLiteral("landscape.png"), encoded(landscape, "png"));
    const ProcessResult run = runCutout({scene});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"No subject was found in this image.")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("landscape-cutout.png"))));
}

TEST_F(ZephrinCutout, CallsAFaintSpeckNoSubject)
{
    // A transparent picture but for nine pixels of alpha 4: IS-Net kept them,
    // and a cutout of next to nothing was written.
    QImage speck(256, 256, QImage::Format_ARGB32);
    speck.fill(Qt::transparent);
    for (int y = 100; y < 103; ++y)
        for (int x = 100; x < 103; ++x)
            speck.setPixel(x, y, qRgba(255, 255, 255, 4));
    const QString input = writeFile(folder, QStringLiteral("speck.png"), encoded(speck, "png"));
    const ProcessResult run = runCutout({input});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(u"No subject was found in this image.")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("speck-cutout.png"))));
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

TEST_F(ZephrinCutout, CutsOutNoPictureAnSvgNames)
{
    // The SVG's <image> names a private picture (its cutout was written), or a
    // pipe (the run waited for a writer forever).
    const QString privatePicture = writeFile(folder, QStringLiteral("private.png"), encoded(discOnWhite(240, 160), "png"));
    const WatchedFifo fifo(folder.filePath(QStringLiteral("pipe.png")));
    for (const QString& named : {privatePicture, fifo.path()}) {
        const QString input = writeFile(folder, QStringLiteral("drawing.svg"), svgDrawing(named));
        const ProcessResult run = runCutout({QStringLiteral("--overwrite"), input}, kNoModel);
        EXPECT_EQ(run.exitCode, 1) << named.toStdString();
        EXPECT_EQ(run.err, QStringLiteral("That image couldn't be read.\n%1: it isn't a picture Zephrin reads\n").arg(input));
        EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("drawing-cutout.png"))));
    }
    EXPECT_FALSE(fifo.wasOpened());
}

TEST_F(ZephrinCutout, ARefusedPictureCostsNoNetwork)
{
    // The network loads only for a picture whose header is accepted: loading
    // it for a 35-byte file took about 400 MB and up to two seconds.
    const QString tiny = writeFile(folder, QStringLiteral("tiny.gif"), tinyGifClaiming(16000, 16000));
    const QString notes = writeFile(folder, QStringLiteral("notes.png"), QByteArray("Remember the milk.\n"));
    for (const QString& input : {tiny, notes}) {
        const RawRun run = runRaw({QFile::encodeName(input).toStdString()}, {}, "IS-Net.info=true");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.startsWith("That image couldn't be read.\n" + QFile::encodeName(input) + ": "));
        EXPECT_EQ(run.err.count('\n'), 2) << "no network loaded: " << run.err.toStdString();
        EXPECT_LT(run.peakKilobytes, 200 * 1024);
    }
}

TEST_F(ZephrinCutout, ReadsAHugeFileNoFurtherThanTheFirstBytesThatRefuseIt)
{
    // Sparse files of 1.9 GB: each was read whole (1.9 GB, 6 s) before its
    // first bytes were looked at.
    const QString damaged = QStringLiteral("the picture is damaged or incomplete");
    const std::pair<QByteArray, QString> heads[] = {
        {pngHeaderClaiming(4000, 3000).left(33), damaged},
        {QByteArray("Remember the milk.\n"), QStringLiteral("it isn't a picture Zephrin reads")},
        {tinyGifClaiming(4000, 3000).left(19), damaged},
        {QByteArray("\xff\xd8\xff") + QByteArray("Remember the milk.\n").repeated(20), damaged},
        {QByteArray("RIFF\xf4\xff\xff\x76WEBPVP8 ", 16), damaged},
        {QByteArray("II*\0\x08\0\0\0", 8), damaged},
    };
    for (const auto& [head, reason] : heads) {
        const QString input = folder.filePath(QStringLiteral("huge"));
        QFile file(input);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(head), head.size());
        ASSERT_TRUE(file.resize(qint64(1900) << 20));
        file.close();
        const RawRun run = runRaw({QFile::encodeName(input).toStdString()}, kNoModel);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(QString::fromUtf8(run.err), QStringLiteral("That image couldn't be read.\n%1: %2\n").arg(input, reason));
        EXPECT_LT(run.peakKilobytes, 200 * 1024) << "read no further than its head";
        QFile::remove(input);
    }
}

TEST_F(ZephrinCutout, APictureWhoseDecodeFailsWaitsForNoNetwork)
{
    // A JPEG-in-TIFF whose strip is cut passes the header and fails in its
    // decode, within a second; the run said so only once the network had
    // loaded: 1 GB and seconds to minutes on the first run on a machine.
    const QImage grey = discOnWhite(600, 400).convertToFormat(QImage::Format_Grayscale8);
    const QByteArray jpeg = encoded(grey, "jpeg", 90);
    const QString input = writeFile(folder, QStringLiteral("cut.tif"), jpegTiff(jpeg, 600, 400, jpeg.size() / 3));
    // A first run: no optimised copy of the network yet.
    const QString cache = folder.filePath(QStringLiteral("cache"));
    const ChildRun run = runChild(QFile::encodeName(programPath()).toStdString(), {QFile::encodeName(input).toStdString()},
                                  {"QT_LOGGING_RULES=IS-Net.info=true", "XDG_CACHE_HOME=" + QFile::encodeName(cache).toStdString()});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.startsWith("That image couldn't be read.\n")) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("IS-Net loaded from")) << "the load was waited for";
    // Nothing the load had begun is left in the cache.
    QDirIterator left(cache, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    EXPECT_FALSE(left.hasNext()) << left.next().toStdString();
}

TEST_F(ZephrinCutout, AStoppedRunLeavesNothingBehind)
{
    // The temporary file of the cutout was made before the work, and a run
    // stopped during the work left it beside the picture.
    writeFile(folder, QStringLiteral("disc.png"), encoded(discOnWhite(240, 160), "png"));
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        bool sent = false;
        const RawRun run = runRaw({folderBytes() + "/disc.png"}, {}, "IS-Net.info=true",
                                  [&](pid_t pid, const QByteArray& err) {
                                      // The network is loaded: the work runs.
                                      if (!sent && err.contains("IS-Net loaded from")) {
                                          ::kill(pid, signal);
                                          sent = true;
                                      }
                                  });
        ASSERT_EQ(run.signal, signal) << run.err.toStdString();
        EXPECT_EQ(entries().join(u' ').toStdString(), "disc.png");
    }
}

TEST_F(ZephrinCutout, ReadsAnyNameAndPrintsItAsItsBytes)
{
    // "café.png" in Latin-1 (no UTF-8 text), and a name with a newline.
    const QByteArray picture = encoded(discOnWhite(240, 160), "png");
    const auto write = [&](const std::string& name) {
        const std::string path = folderBytes() + "/" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        EXPECT_NE(file, nullptr);
        std::fwrite(picture.constData(), 1, size_t(picture.size()), file);
        std::fclose(file);
        return path;
    };
    const std::string latin1 = write("caf\xE9.png");
    RawRun run = runRaw({latin1}, kNoModel);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const std::string written = folderBytes() + "/caf\xE9-cutout.png";
    EXPECT_EQ(run.out.toStdString(), written + "\n");
    EXPECT_EQ(::access(written.c_str(), F_OK), 0);

    // Where a name may hold a newline, --zero ends the path with a NUL.
    const std::string newline = write("new\nline.png");
    run = runRaw({"--zero", newline}, kNoModel);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), folderBytes() + "/new\nline-cutout.png" + '\0');

    // A refusal names the file by its bytes too.
    run = runRaw({latin1}, kNoModel);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.toStdString(), written + " already exists; pass --overwrite to replace it.\n");
    // Qt cannot name these files to remove them with the folder.
    for (const std::string& path : {latin1, written})
        ::unlink(path.c_str());
}

TEST_F(ZephrinCutout, KeepsToItsOwnFilesAndLeavesNoTrailOfTheRuntime)
{
    // The network's runtime kept a usage store and a device id under the
    // cache folder and wrote a session file into $TMPDIR, following a link
    // planted there. The run gets folders of its own, with such a link waiting.
    const QDir root(folder.filePath(QStringLiteral("user")));
    for (const char* name : {"home", "cache", "config", "data", "tmp", "work"})
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(name)));
    const QString victim = writeFile(folder, QStringLiteral("victim.txt"), QByteArray("keep me"));
    ASSERT_TRUE(QFile::link(victim, root.filePath(QStringLiteral("tmp/.ses"))));
    const QString input = writeFile(root, QStringLiteral("work/disc.png"), encoded(discOnWhite(240, 160), "png"));

    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"ORT_DISABLE_TELEMETRY", "QT_LOGGING_RULES", "ZEPHRIN_MODEL"})
        variables.remove(QString::fromLatin1(name));
    for (const auto& [variable, name] : {std::pair{"HOME", "home"}, {"XDG_CACHE_HOME", "cache"},
                                         {"XDG_CONFIG_HOME", "config"}, {"XDG_DATA_HOME", "data"}, {"TMPDIR", "tmp"}})
        variables.insert(QString::fromLatin1(variable), root.filePath(QString::fromLatin1(name)));
    QProcess process;
    process.setProcessEnvironment(variables);
    process.start(programPath(), {input});
    const ProcessResult run = finished(process);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    ASSERT_EQ(run.out, root.filePath(QStringLiteral("work/disc-cutout.png")));

    // What the run left: the picture, its cutout and the cache of the
    // optimised network (a name keyed by the model), nothing else.
    QStringList left;
    QDirIterator walk(root.path(), QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext())
        left << root.relativeFilePath(walk.next());
    left.sort();
    ASSERT_EQ(left.filter(QRegularExpression(QStringLiteral("^cache/Zephrin/models/ISNetGeneral-[0-9a-f]+\\.ort$"))).size(),
              1)
        << left.join(u' ').toStdString();
    left.removeIf([](const QString& path) { return path.startsWith(u"cache/Zephrin/models/"); });
    EXPECT_EQ(left.join(u' ').toStdString(), "cache cache/Zephrin cache/Zephrin/models config data home tmp tmp/.ses "
                                             "work work/disc-cutout.png work/disc.png");
    EXPECT_EQ(contents(victim), QByteArray("keep me"));
}
