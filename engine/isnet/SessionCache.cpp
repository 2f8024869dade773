#include "engine/isnet/SessionCache.h"

#include "engine/codec/RegularFileBytes.h"
#include "engine/isnet/ContentChecksum.h"
#include "engine/isnet/IsnetLog.h"
#include "engine/isnet/MappedFile.h"
#include "engine/isnet/WorkingMemory.h"

#include <QCryptographicHash>
#include <QString>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>

namespace zephrin {

namespace {

constexpr std::array<char, 8> kMagic{'Z', 'E', 'P', 'H', 'O', 'R', 'T', '1'};
// The working memory note beside a cache file: its name plus this, holding
// the two figures of WorkingMemoryNote and their CRC-32, in decimal.
constexpr const char* kNoteSuffix = ".memory";
// The longest note of ours: two numbers of 20 digits, one of 10, two spaces
// and the line's end.
constexpr qint64 kNoteLength = 53;
// The model file's checksum, noted in the cache folder under the model's file
// name plus this: its identity, size, CRC-32 and Adler-32 in decimal.
constexpr const char* kChecksumSuffix = ".sum";
constexpr qint64 kChecksumNoteLength = 256;
// A model file changed more recently than this is read every time.
constexpr std::chrono::seconds kSettledAfter{2};
using KeyDigest = std::array<unsigned char, 32>;

struct Trailer {
    std::array<char, 8> magic;
    KeyDigest key;
    std::uint64_t payloadSize;
    std::uint32_t crc32;
    std::uint32_t adler32;
};
static_assert(sizeof(Trailer) == 56);

// What the processor offers, as the kernel lists it: the runtime picks its
// kernels (and the optimiser its layouts) by these.
std::string processorFeatures()
{
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.starts_with("flags") || line.starts_with("Features"))
            return line;
    }
    return "unknown";
}

KeyDigest keyDigest(const std::string& configuration, const ContentChecksum& model)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const std::string key = "optimised model 1\n" + Ort::GetVersionString() + '\n' + processorFeatures() + '\n'
        + configuration + '\n' + std::to_string(model.size) + ' ' + std::to_string(model.crc32) + ' '
        + std::to_string(model.adler32);
    hash.addData(QByteArrayView(key.data(), qsizetype(key.size())));
    const QByteArray result = hash.result();
    KeyDigest digest{};
    std::memcpy(digest.data(), result.constData(), digest.size());
    return digest;
}

std::string hexOf(const KeyDigest& digest, std::size_t bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < bytes; ++i) {
        text += kHex[digest[i] >> 4];
        text += kHex[digest[i] & 15];
    }
    return text;
}

// The runtime's bytes of a cache file whose trailer names `key` and whose
// checksum matches; nullopt for anything else.
std::optional<std::span<const unsigned char>> validPayload(const MappedFile& file, const KeyDigest& key)
{
    const auto bytes = file.bytes();
    if (bytes.size() <= sizeof(Trailer))
        return std::nullopt;
    Trailer trailer{};
    std::memcpy(&trailer, bytes.data() + bytes.size() - sizeof(Trailer), sizeof(Trailer));
    const auto payload = bytes.first(bytes.size() - sizeof(Trailer));
    if (trailer.magic != kMagic || trailer.key != key || trailer.payloadSize != payload.size())
        return std::nullopt;
    const ContentChecksum sum = contentChecksum(payload);
    if (sum.crc32 != trailer.crc32 || sum.adler32 != trailer.adler32)
        return std::nullopt;
    return payload;
}

void removeQuietly(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// The runtime has written the optimised bytes to `temporary`: seals them with
// the trailer and puts the file in place in one rename.
bool seal(const std::filesystem::path& temporary, const std::filesystem::path& target, const KeyDigest& key)
{
    const std::unique_ptr<MappedFile> written = MappedFile::open(temporary);
    if (!written)
        return false;
    const ContentChecksum sum = contentChecksum(written->bytes());
    const Trailer trailer{kMagic, key, sum.size, sum.crc32, sum.adler32};
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool sealed = ::write(descriptor, &trailer, sizeof trailer) == ssize_t(sizeof trailer) && ::fsync(descriptor) == 0;
    ::close(descriptor);
    return sealed && ::rename(temporary.c_str(), target.c_str()) == 0;
}

// Other cache files of the same model (made for another key) will not be read
// again; unfinished ones left by a run that stopped are gone after an hour.
void removeOtherCopies(const std::filesystem::path& folder, const std::string& prefix, const std::filesystem::path& keep)
{
    std::error_code error;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(prefix) || entry.path() == keep || name == keep.filename().string() + kNoteSuffix)
            continue;
        std::error_code timeError;
        const bool stale = name.ends_with(".tmp")
            && now - std::filesystem::last_write_time(entry.path(), timeError) > std::chrono::hours(1) && !timeError;
        if (name.ends_with(".ort") || name.ends_with(kNoteSuffix) || stale)
            removeQuietly(entry.path());
    }
}

// The end of the name of an optimised copy this process is making.
std::string unfinishedEnding() { return '.' + std::to_string(::getpid()) + ".tmp"; }

QString nameOf(const std::filesystem::path& path) { return QString::fromStdString(path.filename().string()); }

// Writes `text` to `note` in one rename; a note that cannot be written costs
// nothing but the time it would have saved.
void writeNote(const std::filesystem::path& note, const std::string& text)
{
    const std::filesystem::path temporary = std::filesystem::path(note).concat('.' + std::to_string(::getpid()) + ".tmp");
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text;
        if (!out.flush()) {
            removeQuietly(temporary);
            return;
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, note, error);
    if (error)
        removeQuietly(temporary);
}

// What tells one version of a file from another without reading it: device,
// inode, size, modification and change times. Writing, replacing or touching
// the file changes its change time, which no program can set back.
std::string identityOf(const struct stat& status)
{
    return std::to_string(status.st_dev) + ' ' + std::to_string(status.st_ino) + ' ' + std::to_string(status.st_size)
        + ' ' + std::to_string(status.st_mtim.tv_sec) + '.' + std::to_string(status.st_mtim.tv_nsec) + ' '
        + std::to_string(status.st_ctim.tv_sec) + '.' + std::to_string(status.st_ctim.tv_nsec);
}

std::optional<struct stat> regularFileStatus(const std::filesystem::path& path)
{
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0)
        return std::nullopt;
    return status;
}

// The model file's checksum. Reading 176 MB for it costs a start some 15 ms,
// so it is noted beside the cache under the file's identity and read again only
// when that changes. nullopt when the model file cannot be read.
std::optional<ContentChecksum> modelChecksum(const std::filesystem::path& model, const std::filesystem::path& folder)
{
    const std::optional<struct stat> before = regularFileStatus(model);
    if (!before)
        return std::nullopt;
    const std::filesystem::path note = folder / (model.filename().string() + kChecksumSuffix);
    const FileBytes kept = regularFileBytes(note, kChecksumNoteLength);
    const std::string prefix = identityOf(*before) + ' ';
    if (!kept.problem && kept.bytes.startsWith(QByteArrayView(prefix.data(), qsizetype(prefix.size())))) {
        ContentChecksum sum;
        const char* at = kept.bytes.constData() + prefix.size();
        const char* const end = kept.bytes.constData() + kept.bytes.size();
        // One number and the character after it.
        const auto field = [&](auto& value, char after) {
            const auto [next, error] = std::from_chars(at, end, value);
            at = next + 1;
            return error == std::errc() && next < end && *next == after;
        };
        if (field(sum.size, ' ') && field(sum.crc32, ' ') && field(sum.adler32, '\n') && at == end)
            return sum;
    }
    const std::unique_ptr<MappedFile> bytes = MappedFile::open(model);
    if (!bytes)
        return std::nullopt;
    const ContentChecksum sum = contentChecksum(bytes->bytes());
    // Noted only when the file stayed the same while it was read, and last
    // changed a while ago: the file system's clock ticks in milliseconds, so a
    // change made within the same tick as the one before would keep the
    // identity.
    const std::optional<struct stat> after = regularFileStatus(model);
    const auto changed = std::chrono::system_clock::from_time_t(before->st_ctim.tv_sec);
    if (after && identityOf(*after) + ' ' == prefix && std::chrono::system_clock::now() - changed > kSettledAfter)
        writeNote(note, prefix + std::to_string(sum.size) + ' ' + std::to_string(sum.crc32) + ' '
                            + std::to_string(sum.adler32) + '\n');
    return sum;
}

std::optional<CachedSession> loadCached(Ort::Env& env, const std::filesystem::path& file, const KeyDigest& key,
                                        const std::function<Ort::SessionOptions()>& options)
{
    // A copy, not a mapping: the session reads its weights from these bytes for
    // its whole life, and another instance may rebuild the file meanwhile.
    std::shared_ptr<const MappedFile> mapping = MappedFile::copyOf(file);
    if (!mapping)
        return std::nullopt;
    const auto payload = validPayload(*mapping, key);
    if (!payload) {
        qCInfo(isnetLog).noquote() << QStringLiteral("cached model %1 is damaged or stale: making it again").arg(nameOf(file));
        removeQuietly(file);
        return std::nullopt;
    }
    try {
        Ort::SessionOptions session = options();
        session.SetGraphOptimizationLevel(GraphOptimizationLevel::ORT_DISABLE_ALL); // optimised already
        session.AddConfigEntry("session.load_model_format", "ORT");
        session.AddConfigEntry("session.use_ort_model_bytes_directly", "1");
        session.AddConfigEntry("session.use_ort_model_bytes_for_initializers", "1");
        CachedSession cached;
        cached.session = Ort::Session(env, payload->data(), payload->size(), session);
        cached.mapping = std::move(mapping);
        cached.origin = CachedSession::Origin::cache;
        cached.file = file;
        qCInfo(isnetLog).noquote() << QStringLiteral("optimised model loaded from %1").arg(nameOf(file));
        return cached;
    } catch (const Ort::Exception& refusal) {
        qCInfo(isnetLog).noquote() << QStringLiteral("cached model %1 was refused (%2): making it again")
                                          .arg(nameOf(file), QString::fromUtf8(refusal.what()).section(u'\n', 0, 0));
        removeQuietly(file);
        return std::nullopt;
    }
}

} // namespace

std::filesystem::path modelCacheFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache && std::filesystem::path(cache).is_absolute())
        return std::filesystem::path(cache) / "Zephrin" / "models";
    const char* home = std::getenv("HOME");
    if (home && std::filesystem::path(home).is_absolute())
        return std::filesystem::path(home) / ".cache" / "Zephrin" / "models";
    return {};
}

void removeUnfinishedCopies(const std::filesystem::path& folder)
{
    const std::string ending = unfinishedEnding();
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().filename().string().ends_with(ending))
            removeQuietly(entry.path());
}

CachedSession openCachedSession(Ort::Env& env, const std::filesystem::path& model, const std::filesystem::path& folder,
                                const std::string& configuration, const std::function<Ort::SessionOptions()>& options)
{
    const auto fromModelFile = [&](Ort::SessionOptions session) {
        session.SetGraphOptimizationLevel(GraphOptimizationLevel::ORT_ENABLE_ALL);
        CachedSession made;
        made.session = Ort::Session(env, model.c_str(), session);
        return made;
    };
    std::error_code error;
    if (folder.empty() || (!std::filesystem::create_directories(folder, error) && error))
        return fromModelFile(options());
    const std::optional<ContentChecksum> modelSum = modelChecksum(model, folder);
    if (!modelSum)
        return fromModelFile(options());

    const KeyDigest key = keyDigest(configuration, *modelSum);
    const std::string prefix = model.stem().string() + '-';
    const std::filesystem::path file = folder / (prefix + hexOf(key, 16) + ".ort");
    if (std::optional<CachedSession> cached = loadCached(env, file, key, options))
        return std::move(*cached);

    const std::filesystem::path temporary = folder / (file.filename().string() + unfinishedEnding());
    Ort::SessionOptions saving = options();
    saving.SetOptimizedModelFilePath(temporary.c_str());
    saving.AddConfigEntry("session.save_model_format", "ORT");
    // The runtime warns that the saved graph holds only for this machine: the key says so already.
    saving.SetLogSeverityLevel(ORT_LOGGING_LEVEL_ERROR);
    CachedSession made;
    try {
        made = fromModelFile(std::move(saving));
    } catch (const Ort::Exception&) {
        // Saving may be what failed: the model file decides without it.
        removeQuietly(temporary);
        return fromModelFile(options());
    }
    if (seal(temporary, file, key)) {
        qCInfo(isnetLog).noquote() << QStringLiteral("optimised model saved as %1").arg(nameOf(file));
        made.file = file;
        removeOtherCopies(folder, prefix, file);
    } else {
        removeQuietly(temporary);
    }
    return made;
}

namespace {

// "<loaded> <used>", what the note's check is taken over.
std::string noteFigures(const WorkingMemoryNote& note)
{
    return std::to_string(note.loaded) + ' ' + std::to_string(note.used);
}

std::uint32_t noteCheck(const std::string& figures)
{
    return contentChecksum({reinterpret_cast<const unsigned char*>(figures.data()), figures.size()}).crc32;
}

} // namespace

std::optional<WorkingMemoryNote> notedWorkingMemory(const std::filesystem::path& cacheFile)
{
    if (cacheFile.empty())
        return std::nullopt;
    // Read as a picture file is: a pipe, a device or a long file under that
    // name is no note, and is neither waited on nor read.
    const FileBytes note = regularFileBytes(std::filesystem::path(cacheFile).concat(kNoteSuffix), kNoteLength);
    if (note.problem || !note.bytes.endsWith('\n'))
        return std::nullopt;
    const char* at = note.bytes.constData();
    const char* const last = at + note.bytes.size() - 1;
    // Each number in decimal, one space after each but the last.
    const auto number = [&](auto& value, bool lastOne) {
        const auto [end, error] = std::from_chars(at, last, value);
        if (error != std::errc() || end == at || (lastOne ? end != last : end == last || *end != ' '))
            return false;
        at = end + (lastOne ? 0 : 1);
        return true;
    };
    WorkingMemoryNote noted;
    std::uint32_t check = 0;
    if (!number(noted.loaded, false) || !number(noted.used, false) || !number(check, true))
        return std::nullopt;
    // A damaged note, or more than the working memory can hold, is no note of ours.
    if (check != noteCheck(noteFigures(noted)) || noted.used < noted.loaded || noted.used > WorkingMemory::kCapacity)
        return std::nullopt;
    return noted;
}

void noteWorkingMemory(const std::filesystem::path& cacheFile, const WorkingMemoryNote& note)
{
    if (cacheFile.empty())
        return;
    const std::string figures = noteFigures(note);
    writeNote(std::filesystem::path(cacheFile).concat(kNoteSuffix),
              figures + ' ' + std::to_string(noteCheck(figures)) + '\n');
}

} // namespace zephrin
