// Work on many rows spread over threads, the results handed back in row order.
//
//   std::atomic<bool> cancel{false};  // set from any thread to stop
//   RunInOrder<std::string>(plan.count(), threads, 512,
//       [&](std::uint64_t first, std::uint64_t count, int worker, std::string& block) {
//           // on a worker thread: rows [first, first + count) into block,
//           // with state of its own kept per worker
//       },
//       [&](std::string& block) {
//           // on the calling thread, blocks in row order
//           out << block;
//           return bool(out);  // false stops the run
//       },
//       &cancel);
//
// The same rows and the same order for any number of threads; at most a few
// blocks per worker are held at once, so a run of millions of rows takes
// little memory. A worker's exception stops the run and is rethrown on the
// calling thread.
#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace wormgear {

// Returns true when every row was produced and consumed, false when `cancel`
// or a consumer stopped the run.
template <class Block, class Produce, class Consume>
bool RunInOrder(std::uint64_t rows, int threads, std::uint64_t blockRows, Produce produce, Consume consume,
                const std::atomic<bool>* cancel = nullptr) {
    if (blockRows == 0) blockRows = 1;
    const std::uint64_t blocks = (rows + blockRows - 1) / blockRows;
    auto cancelled = [cancel] { return cancel != nullptr && cancel->load(std::memory_order_relaxed); };
    auto rowsOf = [&](std::uint64_t block) { return std::min(blockRows, rows - block * blockRows); };

    if (threads <= 1 || blocks <= 1) {
        for (std::uint64_t b = 0; b < blocks; ++b) {
            if (cancelled()) return false;
            Block block{};
            produce(b * blockRows, rowsOf(b), 0, block);
            if (!consume(block)) return false;
        }
        return true;
    }

    const std::uint64_t window = static_cast<std::uint64_t>(threads) * 4;  // blocks in hand at most
    std::vector<std::optional<Block>> slots(window);
    std::atomic<std::uint64_t> next{0};
    std::mutex mutex;
    std::condition_variable ready, room;
    std::uint64_t consumed = 0;  // under mutex
    bool stop = false;           // under mutex
    std::exception_ptr failure;  // under mutex

    auto worker = [&](int index) {
        for (;;) {
            const std::uint64_t b = next.fetch_add(1);
            if (b >= blocks) return;
            {
                std::unique_lock<std::mutex> lock(mutex);
                room.wait(lock, [&] { return stop || b < consumed + window; });
                if (stop) return;
            }
            if (cancelled()) {
                std::lock_guard<std::mutex> lock(mutex);
                stop = true;
                ready.notify_all();
                room.notify_all();
                return;
            }
            Block block{};
            try {
                produce(b * blockRows, rowsOf(b), index, block);
            } catch (...) {
                std::lock_guard<std::mutex> lock(mutex);
                if (!failure) failure = std::current_exception();
                stop = true;
                ready.notify_all();
                room.notify_all();
                return;
            }
            std::lock_guard<std::mutex> lock(mutex);
            slots[b % window].emplace(std::move(block));
            ready.notify_all();
        }
    };

    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t) pool.emplace_back(worker, t);

    bool complete = true;
    for (std::uint64_t b = 0; b < blocks; ++b) {
        Block block{};
        {
            std::unique_lock<std::mutex> lock(mutex);
            // A cancel set from outside wakes no one: look again every few milliseconds.
            while (!stop && !slots[b % window].has_value()) {
                if (cancelled()) stop = true;
                else ready.wait_for(lock, std::chrono::milliseconds(20));
            }
            if (stop) {
                complete = false;
                break;
            }
            block = std::move(*slots[b % window]);
            slots[b % window].reset();
            ++consumed;
            room.notify_all();
        }
        if (!consume(block)) {
            complete = false;
            std::lock_guard<std::mutex> lock(mutex);
            stop = true;
            room.notify_all();
            break;
        }
    }
    for (std::thread& t : pool) t.join();
    if (failure) std::rethrow_exception(failure);
    return complete;
}

}  // namespace wormgear
