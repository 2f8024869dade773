#include "engine/pixel/PixelBuffer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>
#include <vector>

using namespace zephrin;

namespace {

bool poolIsOn() { return pixelBufferAllocator() != cv::Mat::getStdAllocator(); }

} // namespace

TEST(PixelBuffer, ALargeBufferReleasedIsHandedOutAgainAndTheIdleOnesStayBounded)
{
    if (!poolIsOn())
        GTEST_SKIP() << "the pool is off under AddressSanitizer";
    // A size no other test uses, so that no other released buffer competes.
    const cv::Size size(3001, 2999);
    const uchar* first = nullptr;
    {
        cv::Mat buffer = newPixelBuffer(size, CV_8UC4);
        ASSERT_TRUE(buffer.isContinuous());
        first = buffer.data;
    }
    const PixelPoolState kept = pixelPoolState();
    EXPECT_GE(kept.idleBuffers, 1u);
    {
        // A request a little smaller takes the same memory ...
        const cv::Mat again = newPixelBuffer({3001, 2990}, CV_8UC4);
        EXPECT_EQ(again.data, first);
        EXPECT_EQ(pixelPoolState().idleBuffers, kept.idleBuffers - 1);
    }
    {
        // ... a much smaller one leaves it for a better fit.
        const cv::Mat quarter = newPixelBuffer({1500, 1500}, CV_8UC4);
        EXPECT_NE(quarter.data, first);
    }
    // Many released at once: the pool keeps at most its share.
    {
        std::vector<cv::Mat> many;
        for (int i = 0; i < 8; ++i)
            many.push_back(newPixelBuffer({4000, 3000}, CV_8UC4));
    }
    EXPECT_LE(pixelPoolState().idleBytes, kIdlePixelBytes);
    // Small buffers are the ordinary allocator's.
    const PixelPoolState before = pixelPoolState();
    { const cv::Mat small = newPixelBuffer({100, 100}, CV_8UC4); }
    EXPECT_EQ(pixelPoolState().idleBuffers, before.idleBuffers);
}

TEST(PixelBuffer, ThreadsSharingThePoolNeverShareABuffer)
{
    constexpr int kThreads = 8;
    std::vector<std::thread> threads;
    std::vector<int> faults(kThreads, 0);
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([t, &faults] {
            for (int round = 0; round < 20; ++round) {
                // Sizes that fit one another's released buffers.
                cv::Mat buffer = newPixelBuffer({1024, 300 + (t + round) % 5 * 10}, CV_8UC4);
                const uchar mark = uchar(t * 20 + round);
                buffer.setTo(cv::Scalar::all(mark));
                std::this_thread::yield();
                faults[size_t(t)] += cv::countNonZero(buffer.reshape(1) != mark);
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(faults[size_t(t)], 0) << "thread " << t;
}

TEST(PixelBuffer, AnAbsurdSizeIsRefusedBeforeAnythingIsAllocated)
{
    EXPECT_THROW(newPixelBuffer({70000, 10}, CV_8UC4), std::length_error);
    EXPECT_TRUE(newPixelBuffer({0, 0}, CV_8UC1).empty());
}
