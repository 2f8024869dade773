#include "output/service/CutoutService.h"

#include "engine/codec/ImageHead.h"
#include "engine/codec/RegularFileBytes.h"

#include <cstring>

namespace zephrin::CutoutService {

namespace {

QString reasonOf(FileProblem problem, int error)
{
    switch (problem) {
    case FileProblem::missing: return QStringLiteral("the file doesn't exist");
    case FileProblem::folder: return QStringLiteral("it's a folder");
    case FileProblem::notAFile: return QStringLiteral("it isn't a regular file");
    case FileProblem::noPermission: return QStringLiteral("there's no permission to read it");
    case FileProblem::empty: return QStringLiteral("the file is empty");
    case FileProblem::tooLarge:
        return QStringLiteral("the file is larger than %1 GB").arg(kMaxImageFileBytes >> 30);
    case FileProblem::refused:
    case FileProblem::unreadable: break;
    }
    return error != 0 ? QString::fromLocal8Bit(std::strerror(error)).toLower()
                      : QStringLiteral("the file couldn't be read");
}

} // namespace

QByteArray imageFile(const std::filesystem::path& path)
{
    std::optional<Failure> refused;
    const HeadCheck head{kImageHeadBytes, [&](QByteArrayView bytes) {
                             try {
                                 checkHead(bytes);
                                 return true;
                             } catch (const Failure& failure) {
                                 refused.emplace(failure);
                                 return false;
                             }
                         }};
    FileBytes file = regularFileBytes(path, kMaxImageFileBytes, head);
    if (refused)
        throw *refused;
    if (file.problem)
        throw Failure(*file.problem == FileProblem::tooLarge ? FailureKind::tooLarge : FailureKind::unreadable,
                      reasonOf(*file.problem, file.error));
    return std::move(file.bytes);
}

QByteArray imageFileBytes(const std::filesystem::path& path)
{
    const HeadCheck head{kImageHeadBytes, [](QByteArrayView bytes) { return !imageHeadRefused(bytes); }};
    return regularFileBytes(path, kMaxImageFileBytes, head).bytes;
}

Image decodeUprightFile(const std::filesystem::path& path)
{
    return decodeUpright(imageFile(path));
}

std::optional<Image> loadImageFile(const std::filesystem::path& path)
{
    try {
        return decodeUprightFile(path);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

} // namespace zephrin::CutoutService
