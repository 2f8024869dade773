#pragma once
// What a background job hands back: its value, or the sentence of the error it
// threw, ready for lastError.

#include <QString>

#include <exception>
#include <optional>
#include <utility>

namespace zephrin {

template <typename T>
struct Outcome {
    std::optional<T> value;
    QString error;   // set exactly when value is empty

    bool ok() const { return value.has_value(); }
};

// The sentence a user sees for an exception caught in a job: a
// UserFacingError's own sentence, any other failure (logged) as "The image
// couldn't be rendered.".
QString userMessage(std::exception_ptr error);

// Runs `work` and wraps what it returns or throws.
template <typename Work>
auto captureOutcome(Work&& work) -> Outcome<decltype(work())>
{
    using T = decltype(work());
    try {
        return Outcome<T>{std::optional<T>(work()), {}};
    } catch (...) {
        return Outcome<T>{std::nullopt, userMessage(std::current_exception())};
    }
}

} // namespace zephrin
