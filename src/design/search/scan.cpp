// Threads over blocks of the grid. The workers share only the next block's
// index, the count of points done and the stop flag, all atomic; each
// keeps its own counts and best candidates, merged once they have all
// finished. The calling thread waits, draws the progress and turns a noted
// SIGINT, SIGTERM or SIGHUP into the stop flag.

#include "design/search/scan.hpp"

#include "analyse/cli/interruption.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <flint/flint.h>
#include <mutex>
#include <thread>

namespace ordimet::design {
namespace {

constexpr std::uint64_t BLOCK = 1024;

struct Shared {
    Shared(const Space& s, const SearchRequest& r, std::size_t c, const std::optional<Ranked>& a)
        : space(s), request(r), capacity(c), after(a) {}
    const Space& space;
    const SearchRequest& request;
    std::size_t capacity;
    const std::optional<Ranked>& after;
    std::atomic<std::uint64_t> next{0};
    std::atomic<std::uint64_t> done{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    int running = 0;
};

struct WorkerResult {
    ScanCounts counts;
    std::vector<Ranked> best; // a heap whose top ranks last
    std::uint64_t beyond = 0;
};

void keep(const Ranked& candidate, std::size_t capacity, WorkerResult& out) {
    if (out.best.size() < capacity) {
        out.best.push_back(candidate);
        std::push_heap(out.best.begin(), out.best.end(), ranks_before);
        return;
    }
    ++out.beyond;
    if (capacity > 0 && ranks_before(candidate, out.best.front())) {
        std::pop_heap(out.best.begin(), out.best.end(), ranks_before);
        out.best.back() = candidate;
        std::push_heap(out.best.begin(), out.best.end(), ranks_before);
    }
}

void screen_block(Shared& shared, Screener& screener, std::uint64_t begin, std::uint64_t end,
                  WorkerResult& out) {
    GridWalk walk(shared.space, begin);
    for (; walk.index() < end; walk.advance()) {
        if (shared.stop.load(std::memory_order_relaxed)) {
            return;
        }
        ++out.counts.examined;
        if (!in_range(shared.space, walk.integers())) {
            continue;
        }
        ++out.counts.candidates;
        const Screening screening = screener.screen(walk.integers());
        if (!screening.kept) {
            ++out.counts.dropped[static_cast<std::size_t>(screening.drop)];
            continue;
        }
        ++out.counts.kept;
        const Ranked candidate{screening.estimate, walk.index()};
        if (!shared.after || ranks_before(*shared.after, candidate)) {
            keep(candidate, shared.capacity, out);
        }
    }
}

void screen_blocks(Shared& shared, WorkerResult& out) {
    Screener screener(shared.space, shared.request);
    const std::uint64_t total = shared.space.grid_points;
    while (!shared.stop.load(std::memory_order_relaxed)) {
        const std::uint64_t begin = shared.next.fetch_add(BLOCK, std::memory_order_relaxed);
        if (begin >= total) {
            break;
        }
        const std::uint64_t end = std::min(total, begin + BLOCK);
        screen_block(shared, screener, begin, end, out);
        shared.done.fetch_add(end - begin, std::memory_order_relaxed);
    }
}

void work(Shared& shared, WorkerResult& out) {
    screen_blocks(shared, out);
    // FLINT and Arb keep caches of numbers per thread; a thread that ends
    // without freeing them leaves them unreachable. Every number of the
    // thread is gone by now.
    flint_cleanup();
    const std::lock_guard<std::mutex> lock(shared.mutex);
    --shared.running;
    shared.finished.notify_one();
}

// Waits for the workers, drawing the progress; a noted signal stops them.
void supervise(Shared& shared, Progress& progress) {
    std::unique_lock<std::mutex> lock(shared.mutex);
    while (shared.running > 0) {
        shared.finished.wait_for(lock, std::chrono::milliseconds(50));
        if (analyse::interruption() != 0) {
            shared.stop.store(true, std::memory_order_relaxed);
        }
        progress.show(
            std::min(shared.done.load(std::memory_order_relaxed), shared.space.grid_points));
    }
}

ScanResult merge(std::vector<WorkerResult>& results, std::size_t capacity) {
    ScanResult merged;
    for (WorkerResult& r : results) {
        merged.counts.examined += r.counts.examined;
        merged.counts.candidates += r.counts.candidates;
        merged.counts.kept += r.counts.kept;
        for (std::size_t d = 0; d < r.counts.dropped.size(); ++d) {
            merged.counts.dropped[d] += r.counts.dropped[d];
        }
        merged.beyond += r.beyond;
        merged.best.insert(merged.best.end(), r.best.begin(), r.best.end());
    }
    std::sort(merged.best.begin(), merged.best.end(), ranks_before);
    if (merged.best.size() > capacity) {
        merged.beyond += merged.best.size() - capacity;
        merged.best.resize(capacity);
    }
    return merged;
}

} // namespace

bool ranks_before(const Ranked& a, const Ranked& b) {
    if (better(a.score, b.score)) {
        return true;
    }
    return !better(b.score, a.score) && a.index < b.index;
}

ScanResult scan_grid(const Space& space, const SearchRequest& request, std::size_t capacity,
                     const std::optional<Ranked>& after, Progress& progress) {
    Shared shared(space, request, capacity, after);
    const int jobs = std::max(1, request.jobs);
    std::vector<WorkerResult> results(static_cast<std::size_t>(jobs));
    std::vector<std::thread> threads;
    progress.start_pass(space.grid_points);
    shared.running = jobs;
    for (std::size_t t = 0; t < results.size(); ++t) {
        threads.emplace_back(work, std::ref(shared), std::ref(results[t]));
    }
    supervise(shared, progress);
    for (std::thread& thread : threads) {
        thread.join();
    }
    progress.clear();
    ScanResult result = merge(results, capacity);
    result.interrupted = shared.stop.load();
    return result;
}

} // namespace ordimet::design
