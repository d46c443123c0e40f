#pragma once

#include <cstddef>
#include <functional>
#include <memory>

namespace trelvano {

// A few threads, made once, that share the long loops of a press with the
// thread that asks for them. The asking thread waits until every part is done,
// so to the rest of the program a loop still runs as one call, and nothing
// else can run while it does.
//
// Parts are handed out in increasing order to whichever thread is free: a
// thread that writes a part also touches its pages first, so the cost of
// fresh memory is shared out like the work.
class WorkerPool {
public:
    // `threads` counts the asking thread: 1 makes no thread at all. When the
    // system refuses a thread the pool works with those it has.
    explicit WorkerPool(int threads);
    ~WorkerPool();

    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    int threads() const noexcept;

    // Calls task(part) once for each part in 0..parts-1 and returns when all
    // calls have returned; `first`, when given, runs on the asking thread
    // before it takes parts, beside the other threads' parts. One part, a pool
    // of one thread, or a call from inside a task run everything on the
    // asking thread, `first` and then the parts in order. Every call is made
    // even when one raises; then the exception of the lowest part is rethrown,
    // or else that of `first`.
    void run(std::size_t parts, const std::function<void(std::size_t)>& task,
             const std::function<void()>& first = nullptr);

    // The fewest elements that are shared out at all: below that a loop
    // costs less than waking the threads.
    static constexpr std::size_t kSharedFrom = std::size_t{1} << 16;
    // Elements in one part of forEachRange: 256 KB of doubles, or 2 MB once
    // a loop is long enough, so that no two threads fault in the same huge
    // page of fresh memory at once. Both are whole blocks of 256.
    static constexpr std::size_t kSmallPart = std::size_t{1} << 15;
    static constexpr std::size_t kLargePart = std::size_t{1} << 18;
    static std::size_t PartSize(std::size_t count) noexcept
    {
        return count < kSharedFrom ? count : count < 4 * kLargePart ? kSmallPart : kLargePart;
    }
    // How many parts forEachRange makes of `count` elements; part p starts
    // at p * PartSize(count).
    static std::size_t PartsFor(std::size_t count) noexcept
    {
        return count < kSharedFrom ? 1 : (count + PartSize(count) - 1) / PartSize(count);
    }

    // run() over elements 0..count-1 in parts of PartSize(count), in
    // increasing order: range(begin, size) for each. Below kSharedFrom one
    // part holds all.
    void forEachRange(std::size_t count, const std::function<void(std::size_t, std::size_t)>& range,
                      const std::function<void()>& first = nullptr);

private:
    struct Shared;
    std::unique_ptr<Shared> shared_;
};

// The threads a process gives a press: the number in TRELVANO_THREADS when it
// holds one from 1 to 256, else one for every processor the process may run on.
int ThreadsFromEnvironment() noexcept;

// The process's own pool, made on first use with ThreadsFromEnvironment()
// threads. A program makes it at start, before its first press checks what
// memory it has left.
WorkerPool& ProcessWorkers();

}  // namespace trelvano
