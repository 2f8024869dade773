#pragma once
// The errors that reach the user. Every one of them is a UserFacingError, whose
// what() is the one sentence to show (UTF-8): the editor catches that one type,
// whatever engine threw. Low-level failures (memory, sizes, OpenCV) never reach
// the user as they are; LowLevelFailure.h turns them into a sentence or into
// "no result".
//
// SentenceError<Kind> makes a family of them. `Kind` is an enumeration of the
// failure cases; a function `const char* sentence(Kind) noexcept` declared
// beside it gives each case's sentence. Two errors of one family are equal,
// and hash alike, when their kinds are.
//
//     enum class MatteErrorKind { noSubjectFound, ... };
//     const char* sentence(MatteErrorKind) noexcept;
//     using MatteError = SentenceError<MatteErrorKind>;
//     throw MatteError(MatteErrorKind::noSubjectFound);

#include <exception>
#include <functional>
#include <type_traits>

namespace zephrin {

class UserFacingError : public std::exception {
public:
    // The sentence shown to the user.
    const char* what() const noexcept override = 0;

protected:
    UserFacingError() noexcept = default;
    UserFacingError(const UserFacingError&) noexcept = default;
    UserFacingError& operator=(const UserFacingError&) noexcept = default;
};

template <typename Kind>
    requires std::is_enum_v<Kind>
class SentenceError final : public UserFacingError {
public:
    explicit SentenceError(Kind kind) noexcept : m_kind(kind) {}

    Kind kind() const noexcept { return m_kind; }
    const char* what() const noexcept override { return sentence(m_kind); }

    friend bool operator==(const SentenceError& a, const SentenceError& b) noexcept
    {
        return a.m_kind == b.m_kind;
    }

private:
    Kind m_kind;
};

} // namespace zephrin

template <typename Kind>
struct std::hash<zephrin::SentenceError<Kind>> {
    std::size_t operator()(const zephrin::SentenceError<Kind>& error) const noexcept
    {
        return std::hash<Kind>{}(error.kind());
    }
};
