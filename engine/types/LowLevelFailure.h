#pragma once
// The failures of the machinery under the engines: memory that cannot be had
// (std::bad_alloc), a size beyond what a container holds (std::length_error)
// and OpenCV refusing its input or its allocation (cv::Exception). The user
// never sees them as they are. An engine runs its pixel work through one of
// the two wrappers below, which turn them into a sentence (a UserFacingError)
// or into "no result"; every other exception passes through unchanged.
//
// What is turned into a sentence is logged at info level of the category
// "zephrin.failures", since the user hears about it; what is swallowed into
// "no result" is logged as a warning, since nobody else will say it.

#include <QLoggingCategory>

#include <opencv2/core.hpp>

#include <exception>
#include <new>
#include <optional>
#include <stdexcept>
#include <type_traits>

namespace zephrin {

Q_DECLARE_LOGGING_CATEGORY(failureLog)

// Writes one line naming the operation `where` and the failure's own text.
void logLowLevelFailure(const char* where, const std::exception& failure, bool swallowed);

// `work()`'s result; a low-level failure is logged and thrown as `error`.
//     return failingAs(MatteError(MatteErrorKind::renderFailed), "composite", [&] { ... });
template <typename Error, typename Work>
std::invoke_result_t<Work> failingAs(const Error& error, const char* where, Work&& work)
{
    static_assert(std::is_base_of_v<std::exception, Error>);
    try {
        return std::forward<Work>(work)();
    } catch (const std::bad_alloc& failure) {
        logLowLevelFailure(where, failure, false);
    } catch (const std::length_error& failure) {
        logLowLevelFailure(where, failure, false);
    } catch (const cv::Exception& failure) {
        logLowLevelFailure(where, failure, false);
    }
    throw error;
}

// `work()`'s result (a std::optional); a low-level failure is logged and gives
// nothing.
template <typename Work>
std::invoke_result_t<Work> orNothing(const char* where, Work&& work)
{
    try {
        return std::forward<Work>(work)();
    } catch (const std::bad_alloc& failure) {
        logLowLevelFailure(where, failure, true);
    } catch (const std::length_error& failure) {
        logLowLevelFailure(where, failure, true);
    } catch (const cv::Exception& failure) {
        logLowLevelFailure(where, failure, true);
    }
    return std::nullopt;
}

} // namespace zephrin
