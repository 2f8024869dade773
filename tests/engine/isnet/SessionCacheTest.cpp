#include "engine/isnet/SessionCache.h"

#include "engine/isnet/ContentChecksum.h"
#include "engine/isnet/MappedFile.h"
#include "engine/isnet/ModelResource.h"
#include "engine/isnet/RuntimeEnvironment.h"
#include "engine/isnet/WorkingMemory.h"
#include "support/TinyOnnxModel.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <opencv2/core.hpp>
#include <zlib.h>

#include <sys/stat.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <filesystem>
#include <limits>
#include <vector>

using namespace zephrin;
namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kSide = 1024;

Ort::SessionOptions options()
{
    Ort::SessionOptions options;
    options.SetIntraOpNumThreads(2);
    return options;
}

class SessionCache : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_folder.isValid());
        writeModel(zephrin::testing::twoOutputModel());
    }

    void writeModel(const QByteArray& bytes)
    {
        QFile file(QString::fromStdString(model().string()));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    fs::path model() const { return fs::path(m_folder.path().toStdString()) / "tiny.onnx"; }
    fs::path cache() const { return fs::path(m_folder.path().toStdString()) / "cache"; }

    CachedSession open() { return openCachedSession(runtimeEnvironment(), model(), cache(), "CPUExecutionProvider", options); }

    // Every file in the cache folder but the models' checksum notes.
    std::vector<fs::path> cacheFiles() const
    {
        std::vector<fs::path> files;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(cache(), error))
            if (entry.path().extension() != ".sum")
                files.push_back(entry.path());
        return files;
    }

    fs::path checksumNote() const { return cache() / "tiny.onnx.sum"; }

    fs::path onlyCacheFile() const
    {
        const std::vector<fs::path> files = cacheFiles();
        EXPECT_EQ(files.size(), 1u);
        return files.empty() ? fs::path() : files.front();
    }

    // "output_image" for a fixed input, as the session computes it.
    static std::vector<float> outputOf(const CachedSession& opened)
    {
        std::vector<float> input(size_t(3 * kSide * kSide));
        for (size_t i = 0; i < input.size(); ++i)
            input[i] = float(i % 251) / 251.0f - 0.5f;
        const std::int64_t shape[] = {1, 3, kSide, kSide};
        const auto memory = Ort::MemoryInfo::CreateCpu(OrtArenaAllocator, OrtMemTypeDefault);
        const Ort::Value tensor = Ort::Value::CreateTensor<float>(memory, input.data(), input.size(), shape, 4);
        const char* inputName = "input_image";
        const char* outputName = "output_image";
        auto outputs = const_cast<Ort::Session&>(opened.session).Run(Ort::RunOptions{nullptr}, &inputName, &tensor, 1,
                                                                      &outputName, 1);
        const float* data = outputs[0].GetTensorData<float>();
        return std::vector<float>(data, data + outputs[0].GetTensorTypeAndShapeInfo().GetElementCount());
    }

    QTemporaryDir m_folder;
};

QByteArray readAll(const fs::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const fs::path& path, const QByteArray& bytes)
{
    QFile file(QString::fromStdString(path.string()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

constexpr qsizetype kTrailer = 56;

} // namespace

TEST_F(SessionCache, SavesTheOptimisedModelOnceAndLoadsItAfterwards)
{
    const CachedSession first = open();
    EXPECT_EQ(first.origin, CachedSession::Origin::modelFile);
    const fs::path saved = onlyCacheFile();
    EXPECT_EQ(saved.extension(), ".ort");
    EXPECT_TRUE(saved.filename().string().starts_with("tiny-"));

    const CachedSession second = open();
    EXPECT_EQ(second.origin, CachedSession::Origin::cache);
    EXPECT_NE(second.mapping, nullptr);
    EXPECT_EQ(outputOf(second), outputOf(first)); // bit for bit
    EXPECT_EQ(cacheFiles().size(), 1u);
}

TEST_F(SessionCache, RebuildsADamagedCacheAndNeverTrustsIt)
{
    const std::vector<float> reference = outputOf(open());
    const fs::path saved = onlyCacheFile();
    const QByteArray good = readAll(saved);
    ASSERT_GT(good.size(), kTrailer);

    // A changed byte in the runtime's bytes, in the trailer's key, a file cut
    // short, one cut to nothing, and garbage whose trailer is valid for it (the
    // runtime itself refuses it).
    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x10);
    QByteArray otherKey = good;
    otherKey[good.size() - kTrailer + 8] = char(otherKey[good.size() - kTrailer + 8] ^ 1);
    QByteArray garbage(good.size() - kTrailer, 'x');
    {
        const auto* data = reinterpret_cast<const unsigned char*>(garbage.constData());
        const ContentChecksum sum = contentChecksum({data, size_t(garbage.size())});
        QByteArray trailer = good.right(kTrailer);
        std::memcpy(trailer.data() + 48, &sum.crc32, 4);
        std::memcpy(trailer.data() + 52, &sum.adler32, 4);
        garbage += trailer;
    }
    for (const QByteArray& damaged : {flipped, otherKey, good.left(good.size() - 9), QByteArray(), garbage}) {
        SCOPED_TRACE(damaged.size());
        writeAll(saved, damaged);
        const CachedSession rebuilt = open();
        EXPECT_EQ(rebuilt.origin, CachedSession::Origin::modelFile);
        EXPECT_EQ(outputOf(rebuilt), reference);
        EXPECT_EQ(onlyCacheFile(), saved); // made again, and nothing else left behind
        EXPECT_EQ(open().origin, CachedSession::Origin::cache);
    }
}

// The model's checksum is noted once the file has settled, trusted while the
// file stays the very same, and taken again from the bytes once it changes.
TEST_F(SessionCache, KeysByTheNotedModelChecksumOnlyWhileTheModelStaysTheSame)
{
    EXPECT_EQ(open().origin, CachedSession::Origin::modelFile);
    EXPECT_FALSE(fs::exists(checksumNote())); // written just now: read every time
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    const fs::path keyed = open().file;
    const QByteArray bytes = readAll(model());
    const ContentChecksum sum = contentChecksum(
        {reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size())});
    const QByteArray note = readAll(checksumNote());
    const QByteArray numbers = QByteArray::number(qulonglong(sum.size)) + ' ' + QByteArray::number(sum.crc32) + ' '
        + QByteArray::number(sum.adler32) + '\n';
    ASSERT_TRUE(note.endsWith(' ' + numbers)) << note.toStdString();

    // Trusted: a note with other numbers keys another copy.
    QByteArray other = note;
    other.replace(numbers, "1 2 3\n");
    writeAll(checksumNote(), other);
    EXPECT_NE(open().file, keyed);
    // The same bytes written again are another version of the file: read again.
    writeModel(bytes);
    EXPECT_EQ(open().file, keyed);
}

TEST_F(SessionCache, ReplacesTheCopyOfAModelThatChanged)
{
    const fs::path old = open().file;
    EXPECT_EQ(old, onlyCacheFile());
    noteWorkingMemory(old, {4096, 8192});
    writeModel(zephrin::testing::modelWithoutOutputImage());
    EXPECT_EQ(open().origin, CachedSession::Origin::modelFile);
    const fs::path current = onlyCacheFile(); // the stale copy is gone, with its note
    EXPECT_NE(current, old);
    EXPECT_EQ(open().origin, CachedSession::Origin::cache);
}

// The working memory noted beside a copy is read back as it was written, and
// nothing but the figures with a check that matches them counts as a note:
// a damaged note would map in up to the working memory's whole range.
TEST_F(SessionCache, NotesTheWorkingMemoryBesideItsCopyAndTrustsOnlyItsOwnFigures)
{
    const fs::path file = open().file;
    EXPECT_EQ(notedWorkingMemory(file), std::nullopt);
    const WorkingMemoryNote written{180617216, 447283200};
    noteWorkingMemory(file, written);
    EXPECT_EQ(notedWorkingMemory(file), written);
    EXPECT_EQ(open().origin, CachedSession::Origin::cache); // the note is no damage to the copy
    EXPECT_EQ(cacheFiles().size(), 2u);

    const fs::path note = fs::path(file).concat(".memory");
    const QByteArray good = readAll(note);
    QByteArray damaged = good;
    damaged[good.indexOf(' ') + 1] = '9'; // 947283200: half a gigabyte more
    for (const QByteArray& text : {QByteArray(), QByteArray("abc"), QByteArray("447283200\n"), damaged,
                                   good.chopped(1), good + '\n', QByteArray(" ") + good,
                                   QByteArray(good).replace(' ', "  ")}) {
        writeAll(note, text);
        EXPECT_EQ(notedWorkingMemory(file), std::nullopt) << text.toStdString();
    }
    EXPECT_EQ(notedWorkingMemory({}), std::nullopt);
    noteWorkingMemory({}, written); // no copy, no note
    EXPECT_EQ(cacheFiles().size(), 2u);
}

// Whatever stands under the note's name is looked at without waiting and
// read no further than a note's length: a pipe would hang every load of the
// network, a device or a huge file would be read whole into memory; and no
// note promises more than the working memory can ever hold, or less than the
// session held before it ran.
TEST_F(SessionCache, RefusesANoteThatIsNoSmallFileOrPromisesMoreThanTheWorkingMemoryHolds)
{
    const fs::path file = open().file;
    const fs::path note = fs::path(file).concat(".memory");
    const std::size_t most = std::numeric_limits<std::size_t>::max();

    for (const WorkingMemoryNote& fits : {WorkingMemoryNote{0, WorkingMemory::kCapacity}, WorkingMemoryNote{4096, 4096},
                                          WorkingMemoryNote{0, 0}}) {
        noteWorkingMemory(file, fits);
        EXPECT_EQ(notedWorkingMemory(file), fits) << fits.used;
    }
    for (const WorkingMemoryNote& beyond : {WorkingMemoryNote{0, WorkingMemory::kCapacity + 1},
                                            WorkingMemoryNote{8192, 4096}, WorkingMemoryNote{most, most}}) {
        noteWorkingMemory(file, beyond);
        EXPECT_EQ(notedWorkingMemory(file), std::nullopt) << beyond.loaded << ' ' << beyond.used;
    }
    writeAll(note, QByteArray(std::size_t(1) << 20, '1'));
    EXPECT_EQ(notedWorkingMemory(file), std::nullopt);

    fs::remove(note);
    ASSERT_EQ(::mkfifo(note.c_str(), 0600), 0);
    EXPECT_EQ(notedWorkingMemory(file), std::nullopt);
    fs::remove(note);
    fs::create_symlink("/dev/zero", note);
    EXPECT_EQ(notedWorkingMemory(file), std::nullopt);

    // A session made otherwise (from the model file, or by another build)
    // holds other bytes once made, and takes nothing of the note.
    EXPECT_EQ((WorkingMemoryNote{180617216, 447283200}.forSession(180617216)), 447283200u);
    EXPECT_EQ((WorkingMemoryNote{180617216, 447283200}.forSession(356777984)), 0u);
}

TEST_F(SessionCache, WorksWithoutACacheAndStillRefusesABadModel)
{
    const CachedSession uncached = openCachedSession(runtimeEnvironment(), model(), {}, "CPUExecutionProvider", options);
    EXPECT_EQ(uncached.origin, CachedSession::Origin::modelFile);
    EXPECT_FALSE(fs::exists(cache()));

    // A folder that cannot be made (a file is in its way).
    writeAll(cache(), "not a folder");
    EXPECT_EQ(open().origin, CachedSession::Origin::modelFile);

    fs::remove(cache());
    writeModel("this is no model");
    EXPECT_THROW(open(), Ort::Exception);
    EXPECT_TRUE(cacheFiles().empty()); // no half-written file left
}

TEST_F(SessionCache, GivesTheNetworkTheSameResultFromItsCacheWhateverBecomesOfTheFile)
{
    const std::optional<fs::path> network = isnetModelPath();
    if (!network)
        GTEST_SKIP() << "no IS-Net model in this build";
    const auto openNetwork = [&] {
        return openCachedSession(runtimeEnvironment(), *network, cache(), "CPUExecutionProvider", options);
    };
    const std::vector<float> reference = outputOf(openNetwork());
    const CachedSession loaded = openNetwork();
    ASSERT_EQ(loaded.origin, CachedSession::Origin::cache);
    EXPECT_EQ(outputOf(loaded), reference); // the optimised graph, bit for bit

    // Another instance rebuilding the cache, or a cache cleaner, changes the
    // file under a session that reads its weights from it: with the file
    // mapped, the next prediction ended the process (SIGBUS).
    const fs::path file = onlyCacheFile();
    std::filesystem::resize_file(file, 0);
    EXPECT_EQ(outputOf(loaded), reference);
    writeAll(file, QByteArray(4096, 'x')); // the same file, other bytes
    EXPECT_EQ(outputOf(loaded), reference);
}

TEST(MappedFile, ACopyKeepsItsBytesWhateverHappensToTheFile)
{
    QTemporaryDir folder;
    const fs::path path = fs::path(folder.path().toStdString()) / "model.ort";
    // Several parts of the parallel read and a ragged end, each byte telling where it stands.
    QByteArray contents((20 << 20) + 123, Qt::Uninitialized);
    for (qsizetype i = 0; i < contents.size(); ++i)
        contents[i] = char((i / 4099) % 251);
    writeAll(path, contents);
    const std::unique_ptr<MappedFile> copy = MappedFile::copyOf(path);
    ASSERT_NE(copy, nullptr);
    fs::resize_file(path, 0);
    writeAll(path, "other");
    const auto bytes = copy->bytes();
    ASSERT_EQ(bytes.size(), size_t(contents.size()));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())), contents);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bytes.data()) % 4096, 0u); // as a mapping would be
    EXPECT_EQ(MappedFile::copyOf(path / "missing"), nullptr);
    EXPECT_EQ(MappedFile::copyOf(fs::path(folder.path().toStdString())), nullptr); // a folder
}

TEST(ContentChecksum, MatchesZlibOverBlocksAndEmptyInput)
{
    std::vector<unsigned char> bytes((std::size_t(9) << 20) + 3);
    cv::RNG(5).fill(bytes, cv::RNG::UNIFORM, 0, 256);
    const ContentChecksum sum = contentChecksum(bytes);
    EXPECT_EQ(sum.size, bytes.size());
    EXPECT_EQ(sum.crc32, crc32(0, bytes.data(), uInt(bytes.size())));
    EXPECT_EQ(sum.adler32, adler32(1, bytes.data(), uInt(bytes.size())));
    EXPECT_EQ(contentChecksum({}), (ContentChecksum{0, 0, 1}));
}
