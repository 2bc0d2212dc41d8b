// Work spread over threads comes back complete and in row order, stops when
// asked, and passes a worker's exception on.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "sweep/ordered_run.h"

using namespace wormgear;

namespace {

using Rows = std::vector<std::uint64_t>;

// Uneven work per row so that workers finish out of order.
std::uint64_t Work(std::uint64_t row) {
    std::uint64_t x = row;
    for (std::uint64_t k = 0; k < (row * 7919) % 2000; ++k) x = x * 6364136223846793005ull + 1442695040888963407ull;
    return x;
}

TEST(OrderedRunTest, EveryRowOnceInOrderForAnyNumberOfThreads) {
    const std::uint64_t rows = 10007;
    for (int threads : {1, 2, 3, 8}) {
        for (std::uint64_t blockRows : {1ull, 7ull, 512ull, 20000ull}) {
            Rows seen;
            std::vector<int> workers;
            const bool complete = RunInOrder<Rows>(
                rows, threads, blockRows,
                [&](std::uint64_t first, std::uint64_t count, int, Rows& block) {
                    for (std::uint64_t r = first; r < first + count; ++r) {
                        block.push_back(r);
                        if (Work(r) == 42) block.push_back(0);  // keeps Work from being dropped
                    }
                },
                [&](Rows& block) {
                    seen.insert(seen.end(), block.begin(), block.end());
                    return true;
                });
            EXPECT_TRUE(complete);
            ASSERT_EQ(seen.size(), rows) << threads << " threads, blocks of " << blockRows;
            for (std::uint64_t r = 0; r < rows; ++r) ASSERT_EQ(seen[r], r) << threads << " threads";
        }
    }
    EXPECT_TRUE(RunInOrder<Rows>(
        0, 2, 10, [](std::uint64_t, std::uint64_t, int, Rows&) { ADD_FAILURE(); },
        [](Rows&) {
            ADD_FAILURE();
            return true;
        }));
}

TEST(OrderedRunTest, StopsWhenTheConsumerOrACancelAsks) {
    for (int threads : {1, 2}) {
        std::atomic<std::uint64_t> produced{0};
        std::uint64_t consumed = 0;
        const bool complete = RunInOrder<Rows>(
            100000, threads, 100, [&](std::uint64_t, std::uint64_t count, int, Rows&) { produced += count; },
            [&](Rows&) { return ++consumed < 3; });
        EXPECT_FALSE(complete);
        EXPECT_EQ(consumed, 3u);
        EXPECT_LT(produced.load(), 100000u) << threads;

        std::atomic<bool> cancel{false};
        consumed = 0;
        EXPECT_FALSE(RunInOrder<Rows>(
            100000, threads, 100,
            [&](std::uint64_t first, std::uint64_t, int, Rows&) {
                if (first >= 500) cancel = true;
            },
            [&](Rows&) {
                ++consumed;
                return true;
            },
            &cancel));
        EXPECT_LT(consumed, 1000u);
    }
}

TEST(OrderedRunTest, AWorkersExceptionReachesTheCaller) {
    for (int threads : {1, 2, 4}) {
        EXPECT_THROW(RunInOrder<Rows>(
                         10000, threads, 10,
                         [](std::uint64_t first, std::uint64_t, int, Rows&) {
                             if (first == 5000) throw std::runtime_error("row 5000");
                         },
                         [](Rows&) { return true; }),
                     std::runtime_error)
            << threads;
    }
}

}  // namespace
