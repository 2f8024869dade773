#include "engine/isnet/CoreMLMatte.h"
#include "engine/types/MatteError.h"

#include <gtest/gtest.h>

#include <string>
#include <unordered_set>

using namespace zephrin;

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

TEST(Errors, ThrownErrorReachesAGenericHandlerWithItsSentence)
{
    try {
        throw MatteError(MatteErrorKind::noSubjectFound);
    } catch (const std::exception& error) {
        EXPECT_EQ(std::string(error.what()), "No subject was found in this image.");
        return;
    }
    FAIL() << "not caught as std::exception";
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
