#include "engine/codec/WebPEncoder.h"
#include "engine/isnet/CoreMLMatte.h"
#include "engine/types/LowLevelFailure.h"
#include "engine/types/MatteError.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <opencv2/core.hpp>

#include <new>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

using namespace zephrin;

// The editor catches one type and shows its sentence, whichever engine threw.
static_assert(std::is_base_of_v<UserFacingError, MatteError>);
static_assert(std::is_base_of_v<UserFacingError, CoreMLMatte::Failure>);
static_assert(std::is_base_of_v<UserFacingError, WebPEncoder::EncodeError>);

TEST(Errors, EachCaseSaysItsSentence)
{
    EXPECT_STREQ(MatteError(MatteErrorKind::noSubjectFound).what(), "No subject was found in this image.");
    EXPECT_STREQ(MatteError(MatteErrorKind::renderFailed).what(), "The image couldn't be rendered.");
    EXPECT_STREQ(MatteError(MatteErrorKind::unsupportedFormat).what(),
                 "That export format isn't available yet.");

    using Failure = CoreMLMatte::Failure;
    using Kind = CoreMLMatte::FailureKind;
    EXPECT_STREQ(Failure(Kind::missing).what(), "The IS-Net model isn't included in this build.");
    EXPECT_STREQ(Failure(Kind::badInput).what(), "The image couldn't be prepared for the model.");
    EXPECT_STREQ(Failure(Kind::badOutput).what(), "The model returned an unexpected result.");
}

TEST(Errors, ThrownErrorReachesTheOneHandlerWithItsSentence)
{
    try {
        throw CoreMLMatte::Failure(CoreMLMatte::FailureKind::badOutput);
    } catch (const UserFacingError& error) {
        EXPECT_EQ(std::string(error.what()), "The model returned an unexpected result.");
        return;
    }
    FAIL() << "not caught as a user-facing error";
}

TEST(Errors, EqualAndHashedByKind)
{
    EXPECT_EQ(MatteError(MatteErrorKind::renderFailed), MatteError(MatteErrorKind::renderFailed));
    EXPECT_NE(MatteError(MatteErrorKind::renderFailed), MatteError(MatteErrorKind::unsupportedFormat));

    std::unordered_set<CoreMLMatte::Failure> seen;
    seen.insert(CoreMLMatte::Failure(CoreMLMatte::FailureKind::badInput));
    seen.insert(CoreMLMatte::Failure(CoreMLMatte::FailureKind::badInput));
    seen.insert(CoreMLMatte::Failure(CoreMLMatte::FailureKind::badOutput));
    EXPECT_EQ(seen.size(), 2u);
}

namespace {

const MatteError kRenderFailed(MatteErrorKind::renderFailed);

} // namespace

TEST(LowLevelFailures, BecomeTheGivenSentenceAndAreLoggedQuietly)
{
    zephrin::testing::LogCapture log("zephrin.failures");
    for (const auto& fail : {+[] { throw std::bad_alloc(); }, +[] { std::vector<int>().reserve(std::size_t(-1)); },
                             +[] { cv::Mat(-1, -1, CV_8UC4).setTo(0); }}) {
        try {
            failingAs(kRenderFailed, "test step", fail);
            ADD_FAILURE() << "nothing thrown";
        } catch (const UserFacingError& error) {
            EXPECT_STREQ(error.what(), "The image couldn't be rendered.");
        }
    }
    ASSERT_EQ(log.lines().size(), 3);
    for (const QString& line : log.lines())
        EXPECT_TRUE(line.startsWith(QStringLiteral("test step failed: "))) << line.toStdString();
    EXPECT_FALSE(log.lines()[2].contains(QLatin1Char('\n'))) << "OpenCV's message is cut to its first line";
}

TEST(LowLevelFailures, SwallowedOnesLeaveAWarningAndNothingElse)
{
    zephrin::testing::LogCapture log("zephrin.failures");
    const std::optional<int> none = orNothing("tile", []() -> std::optional<int> { throw std::bad_alloc(); });
    EXPECT_FALSE(none);
    EXPECT_EQ(orNothing("tile", [] { return std::optional(7); }), 7);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith(QStringLiteral("tile gave no result: ")));
}

TEST(LowLevelFailures, AnythingElsePassesThroughUnchanged)
{
    // A sentence already chosen, or a programming error, is not re-labelled.
    EXPECT_THROW(failingAs(kRenderFailed, "step", [] { throw MatteError(MatteErrorKind::noSubjectFound); }),
                 MatteError);
    try {
        failingAs(kRenderFailed, "step", [] { throw MatteError(MatteErrorKind::noSubjectFound); });
    } catch (const MatteError& error) {
        EXPECT_EQ(error.kind(), MatteErrorKind::noSubjectFound);
    }
    EXPECT_THROW(orNothing("step", []() -> std::optional<int> { throw std::logic_error("bug"); }),
                 std::logic_error);
}
