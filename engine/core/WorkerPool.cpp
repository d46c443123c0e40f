#include "engine/core/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <limits>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#if defined(__linux__)
#include <sched.h>
#endif

namespace trelvano {

namespace {

// Runs `call` and hands back what it raised, instead of raising it.
template <class Call>
std::exception_ptr Caught(Call&& call)
{
    try {
        call();
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

// How long a thread that is done looks for the next loop before it sleeps, and
// the asking thread for the last part's end before it sleeps: a press hands
// out a dozen loops in quick succession, FFTW's short ones among them, and a
// thread the system has to wake starts tens of microseconds later natively
// and up to milliseconds later in a browser's workers.
constexpr auto kSpin = std::chrono::microseconds(500);

// Returns once done() holds or kSpin has passed; the clock is read only now
// and then, since in a browser reading it is a call out of the module.
template <class Done>
void SpinUntil(Done done)
{
    const auto until = std::chrono::steady_clock::now() + kSpin;
    for (unsigned i = 1; !done(); ++i) {
        if (i % 256 == 0 && std::chrono::steady_clock::now() >= until) return;
    }
}

}  // namespace

struct WorkerPool::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable finished;
    std::vector<std::thread> workers;
    // Written under the mutex; read without it only while spinning.
    std::atomic<bool> stopping{false};
    std::atomic<std::uint64_t> generation{0};  // one more for every loop handed out

    // The loop being run; set under the mutex before the workers are woken.
    const std::function<void(std::size_t)>* task = nullptr;
    std::size_t parts = 0;
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> busy{0};  // workers not yet back from this loop
    std::size_t started = 0;           // workers that have made their allocator
    std::size_t failedPart = std::numeric_limits<std::size_t>::max();
    std::exception_ptr failure;

    std::atomic<bool> running{false};

    void takeParts()
    {
        for (std::size_t part = next.fetch_add(1); part < parts; part = next.fetch_add(1)) {
            std::exception_ptr raised = Caught([&] { (*task)(part); });
            if (!raised) continue;
            const std::lock_guard lock(mutex);
            if (part < failedPart) {
                failedPart = part;
                failure = std::move(raised);
            }
        }
    }

    void work()
    {
        // A thread's first allocation makes its own allocator arena (64 MB of
        // address space with glibc); made now, with the pool, and not in the
        // middle of a press whose memory check did not count it.
        void* volatile first = std::malloc(1);
        std::free(first);
        // Workers are made before the first loop is handed out, at generation 0.
        std::uint64_t seen = 0;
        std::unique_lock lock(mutex);
        ++started;
        finished.notify_all();
        for (;;) {
            lock.unlock();
            SpinUntil([&] { return stopping.load() || generation.load() != seen; });
            lock.lock();
            wake.wait(lock, [&] { return stopping || generation != seen; });
            if (stopping) return;
            seen = generation;
            lock.unlock();
            takeParts();
            lock.lock();
            if (--busy == 0) finished.notify_all();
        }
    }
};

WorkerPool::WorkerPool(int threads) : shared_(std::make_unique<Shared>())
{
    for (int i = 1; i < threads; ++i) {
        try {
            shared_->workers.emplace_back([shared = shared_.get()] { shared->work(); });
        } catch (const std::system_error&) {
            break;
        }
    }
    std::unique_lock lock(shared_->mutex);
    shared_->finished.wait(lock, [s = shared_.get()] { return s->started == s->workers.size(); });
}

WorkerPool::~WorkerPool()
{
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->wake.notify_all();
    for (std::thread& worker : shared_->workers) worker.join();
}

int WorkerPool::threads() const noexcept
{
    return static_cast<int>(shared_->workers.size()) + 1;
}

void WorkerPool::run(std::size_t parts, const std::function<void(std::size_t)>& task,
                     const std::function<void()>& first)
{
    Shared& s = *shared_;
    if (s.workers.empty() || parts <= 1 || s.running.exchange(true)) {
        // The same order of calls and of exceptions as below, on this thread alone.
        const std::exception_ptr firstFailure = first ? Caught(first) : nullptr;
        std::exception_ptr partFailure;
        for (std::size_t part = 0; part < parts; ++part) {
            std::exception_ptr raised = Caught([&] { task(part); });
            if (!partFailure) partFailure = std::move(raised);
        }
        if (partFailure) std::rethrow_exception(partFailure);
        if (firstFailure) std::rethrow_exception(firstFailure);
        return;
    }

    {
        const std::lock_guard lock(s.mutex);
        s.task = &task;
        s.parts = parts;
        s.next.store(0);
        s.busy = s.workers.size();
        s.failedPart = std::numeric_limits<std::size_t>::max();
        s.failure = nullptr;
        ++s.generation;
    }
    s.wake.notify_all();
    const std::exception_ptr firstFailure = first ? Caught(first) : nullptr;
    s.takeParts();
    std::exception_ptr partFailure;
    {
        SpinUntil([&s] { return s.busy.load() == 0; });
        std::unique_lock lock(s.mutex);
        s.finished.wait(lock, [&s] { return s.busy == 0; });
        partFailure = std::exchange(s.failure, nullptr);
        s.task = nullptr;
    }
    s.running.store(false);
    if (partFailure) std::rethrow_exception(partFailure);
    if (firstFailure) std::rethrow_exception(firstFailure);
}

int ThreadsFromEnvironment() noexcept
{
    if (const char* text = std::getenv("TRELVANO_THREADS"); text != nullptr && *text != '\0') {
        char* end = nullptr;
        const long asked = std::strtol(text, &end, 10);
        if (*end == '\0' && asked >= 1 && asked <= 256) return static_cast<int>(asked);
    }
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return 1;
#else
#if defined(__linux__)
    // A process confined to some processors (taskset, a container) sees them all
    // in hardware_concurrency.
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        const int count = CPU_COUNT(&allowed);
        if (count >= 1) return count;
    }
#endif
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores > 256 ? 256 : cores);
#endif
}

void WorkerPool::forEachRange(std::size_t count, const std::function<void(std::size_t, std::size_t)>& range,
                              const std::function<void()>& first)
{
    const std::size_t parts = PartsFor(count);
    const std::size_t partSize = PartSize(count);
    run(
        parts,
        [&](std::size_t part) {
            const std::size_t begin = part * partSize;
            range(begin, std::min(partSize, count - begin));
        },
        first);
}

WorkerPool& ProcessWorkers()
{
    static WorkerPool pool(ThreadsFromEnvironment());
    return pool;
}

}  // namespace trelvano
