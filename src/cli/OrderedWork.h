#pragma once
// Work on a sequence of items by several threads, its results delivered in the order of the items.
// At most `window` items are taken ahead of the one delivered next, so what is held at once is
// bounded by the window, however long the sequence.
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// `next` gives the items, nothing at their end; `work` makes an item's result and must not throw;
// `deliver` takes the results in order and returns false to stop: no further item is taken, and
// the items at work are finished and dropped. Each of the `threads` (the calling one among them)
// takes an item, works on it, and then delivers whatever results are ready in order, so that no
// thread waits on another except for its turn at `next` or when the window is full (the threads
// may take a few items past it at once). `next` and `deliver` are called by one thread at a time.
// With one thread, all runs on the calling thread.
template <typename Item, typename Result>
void RunInOrder(int threads, std::size_t window, const std::function<std::optional<Item>()> &next,
                const std::function<Result(const Item &)> &work,
                const std::function<bool(Result &&)> &deliver) {
    if (threads <= 1) {
        while (auto item = next())
            if (!deliver(work(*item))) return;
        return;
    }
    // Taking an item (which may wait for input: a list on standard input) and keeping results have
    // locks of their own, so that results are delivered while an item is awaited.
    std::mutex taking, keeping;
    std::condition_variable roomMade; // a result was delivered, or the items ran out
    std::atomic<std::size_t> taken = 0;
    std::atomic<bool> exhausted = false;
    std::map<std::size_t, Result> done;
    std::size_t delivered = 0;
    bool stopped = false, delivering = false;

    auto worker = [&] {
        for (;;) {
            {
                std::unique_lock lock(keeping);
                roomMade.wait(lock, [&] { return stopped || exhausted || taken - delivered < window; });
                if (stopped || exhausted) return;
            }
            std::optional<Item> item;
            std::size_t index = 0;
            {
                const std::lock_guard lock(taking);
                if (exhausted) return;
                item = next();
                if (item) index = taken++;
                else exhausted = true;
            }
            if (!item) {
                { const std::lock_guard lock(keeping); }
                roomMade.notify_all();
                return;
            }
            Result result = work(*item);
            std::unique_lock lock(keeping);
            done.emplace(index, std::move(result));
            // Whoever finds the next result ready delivers it, and those after it, the lock let go
            // while it does; a result kept meanwhile is found by that same loop.
            while (!delivering && !stopped) {
                const auto at = done.find(delivered);
                if (at == done.end()) break;
                Result ready = std::move(at->second);
                done.erase(at);
                delivering = true;
                lock.unlock();
                const bool more = deliver(std::move(ready));
                lock.lock();
                delivering = false;
                ++delivered;
                stopped = !more;
                roomMade.notify_all();
            }
        }
    };
    std::vector<std::thread> others;
    for (int i = 1; i < threads; ++i)
        others.emplace_back(worker);
    worker();
    for (std::thread &t : others)
        t.join();
}
