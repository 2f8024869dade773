#pragma once
// The optimised form of a model, kept between runs. Creating a session from the
// ONNX file optimises the whole graph every time (most of a second for IS-Net);
// the first session on a machine saves the optimised graph in the runtime's own
// format, and later sessions read that file into memory of their own and start
// in milliseconds. (Not mapped: another instance that rebuilds the file, or a
// cache cleaner that deletes it, would take the pages from under a mapping.)
//
// The optimised graph holds only for the runtime version, the processor's
// instruction set and the execution providers it was made for, and for the
// exact model file: all of them make up the cache file's key. A cache file is
// trusted only when its trailer names that key and its checksum matches its
// bytes; anything else (missing, stale, cut short, damaged, refused by the
// runtime) is deleted and made again from the model file. A cache that cannot
// be written costs nothing but the time it would have saved.
//
// Cache file: the runtime's bytes, then a trailer of 56 bytes: "ZEPHORT1", the
// SHA-256 of the key, the byte count before the trailer (64-bit), its CRC-32 and
// Adler-32 (32-bit each), all in the machine's byte order (the key holds the
// machine).
//
// The model file's own checksum, for the key, is noted in the folder as
// "<model file name>.sum": one line of the file's identity (device, inode,
// size, modification and change times) and its size, CRC-32 and Adler-32.
// It is used while the identity stays the same; a model changed in the last
// two seconds is read every time (a change within one tick of the file
// system's clock would keep the identity).

#include <onnxruntime_cxx_api.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace zephrin {

class MappedFile;

// $XDG_CACHE_HOME/Zephrin/models, or ~/.cache/Zephrin/models without it; empty
// when neither variable names an absolute folder.
std::filesystem::path modelCacheFolder();

struct CachedSession {
    enum class Origin { cache, modelFile };
    Ort::Session session{nullptr};
    // The cache file's bytes (a private copy), which the session reads its
    // weights from for its whole life; null when the session was made from the
    // model file.
    std::shared_ptr<const MappedFile> mapping;
    Origin origin = Origin::modelFile;
    // The optimised copy this session was read from or saved as; empty when
    // there is none.
    std::filesystem::path file;
};

// Removes the optimised copies this process has begun in `folder` and not
// finished: for a process that ends while a session is still being made.
void removeUnfinishedCopies(const std::filesystem::path& folder);

// A session for `model`, from its optimised copy in `folder` when a valid one
// is there, else from the model file (saving the optimised copy for next time).
// `options` makes the session options both roads share (threads, providers);
// `configuration` names whatever in them changes the optimised graph (the
// providers). An empty `folder` turns the cache off. Throws what the runtime
// throws when the model file itself is refused.
CachedSession openCachedSession(Ort::Env& env, const std::filesystem::path& model, const std::filesystem::path& folder,
                                const std::string& configuration, const std::function<Ort::SessionOptions()>& options);

// What a session's working memory came to, noted beside the optimised copy it
// was read from, so that a new process can map as much in before its first
// inference.
struct WorkingMemoryNote {
    // Bytes of the working memory in use once the session was made (its
    // repacked weights), before any inference: what tells a session made the
    // same way (same model, runtime and build) from another.
    std::size_t loaded = 0;
    // The end of the highest block its inferences took.
    std::size_t used = 0;

    // What a session that holds `loadedNow` bytes once made may map in ahead:
    // `used` when the note was made by a session like it, else nothing (a
    // session made from the model file, or by another build, lays its memory
    // out otherwise).
    std::size_t forSession(std::size_t loadedNow) const { return loaded == loadedNow ? used : 0; }
    friend bool operator==(const WorkingMemoryNote&, const WorkingMemoryNote&) = default;
};

// The note beside `cacheFile`; none when nothing is noted, and for what is no
// note of ours: anything but a small regular file holding the two figures and
// a check that matches them, or figures beyond WorkingMemory::kCapacity or
// below what the session held before any inference. Removed with the file it
// belongs to.
std::optional<WorkingMemoryNote> notedWorkingMemory(const std::filesystem::path& cacheFile);
// Notes `note` for `cacheFile` (in one rename); a note that cannot be written
// costs nothing but the time it would have saved.
void noteWorkingMemory(const std::filesystem::path& cacheFile, const WorkingMemoryNote& note);

} // namespace zephrin
