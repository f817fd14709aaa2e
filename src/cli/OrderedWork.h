#pragma once
// Work on a sequence of items by several threads, its results delivered in the order of the items.
// At most `window` items are taken ahead of the one being delivered, so what is held at once is
// bounded by the window, however long the sequence.
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// `next` gives the items (on the calling thread, nothing at their end); `work` runs on the worker
// threads and must not throw; `deliver` runs on the calling thread, in order, and returns false to
// stop: no further item is taken and the items at work are finished and dropped. With one thread,
// everything runs on the calling thread, one item at a time.
template <typename Item, typename Result>
void RunInOrder(int threads, std::size_t window, const std::function<std::optional<Item>()> &next,
                const std::function<Result(const Item &)> &work,
                const std::function<bool(Result &&)> &deliver) {
    if (threads <= 1) {
        while (auto item = next())
            if (!deliver(work(*item))) return;
        return;
    }
    std::mutex mutex;
    std::condition_variable itemReady, resultReady;
    std::deque<std::pair<std::size_t, Item>> waiting;
    std::map<std::size_t, Result> done;
    bool stopping = false;

    std::vector<std::thread> workers;
    for (int i = 0; i < threads; ++i)
        workers.emplace_back([&] {
            std::unique_lock lock(mutex);
            for (;;) {
                itemReady.wait(lock, [&] { return stopping || !waiting.empty(); });
                if (stopping) return;
                auto [index, item] = std::move(waiting.front());
                waiting.pop_front();
                lock.unlock();
                Result result = work(item);
                lock.lock();
                done.emplace(index, std::move(result));
                resultReady.notify_one();
            }
        });

    std::size_t taken = 0, delivered = 0;
    bool more = true;
    for (;;) {
        while (more && taken - delivered < window) {
            auto item = next();
            if (!item) {
                more = false;
                break;
            }
            const std::lock_guard lock(mutex);
            waiting.emplace_back(taken++, std::move(*item));
            itemReady.notify_one();
        }
        if (delivered == taken) break;
        std::unique_lock lock(mutex);
        resultReady.wait(lock, [&] { return done.count(delivered) != 0; });
        auto at = done.find(delivered);
        Result result = std::move(at->second);
        done.erase(at);
        lock.unlock();
        ++delivered;
        if (!deliver(std::move(result))) break;
    }
    {
        const std::lock_guard lock(mutex);
        stopping = true;
    }
    itemReady.notify_all();
    for (std::thread &worker : workers)
        worker.join();
}
