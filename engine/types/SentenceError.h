#pragma once
// An error that reaches the user as one sentence. `Kind` is an enumeration of
// the failure cases; a function `const char* sentence(Kind) noexcept` declared
// beside it gives each case's sentence (UTF-8), which what() returns. Two errors
// are equal, and hash alike, when their kinds are.
//
//     enum class MatteErrorKind { noSubjectFound, ... };
//     const char* sentence(MatteErrorKind) noexcept;
//     using MatteError = SentenceError<MatteErrorKind>;
//     throw MatteError(MatteErrorKind::noSubjectFound);

#include <exception>
#include <functional>
#include <type_traits>

namespace zephrin {

template <typename Kind>
    requires std::is_enum_v<Kind>
class SentenceError : public std::exception {
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
