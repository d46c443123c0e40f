#include "engine/memory/CheckedArray.h"

#include <algorithm>
#include <cstring>

namespace trelvano {

namespace {

// Storage more than this many times the new size is given back: a run with a
// small N after one with a huge N should not keep gigabytes alive.
constexpr std::size_t kShrinkFactor = 4;

bool ReusesStorage(std::size_t capacity, std::int64_t count) noexcept
{
    if (count <= 0) return false;
    const auto n = static_cast<std::size_t>(count);
    return n <= capacity && capacity <= kShrinkFactor * n;
}

}  // namespace

void CheckedArray::zero(std::size_t from, std::size_t to, WorkerPool* pool)
{
    if (to <= from) return;
    double* const start = data() + from;
    const std::size_t count = to - from;
    const std::size_t threads = pool == nullptr ? 1 : static_cast<std::size_t>(pool->threads());
    if (threads == 1 || count < WorkerPool::kSharedFrom) {
        std::memset(start, 0, count * sizeof(double));
        return;
    }
    // One long stretch a thread rather than the pool's usual parts: the C
    // library clears a stretch larger than its caches with stores that bypass
    // them, so the old contents are never read in, which halves the traffic.
    const std::size_t stretch = (count + threads - 1) / threads;
    pool->run(threads, [=](std::size_t part) {
        const std::size_t begin = std::min(count, part * stretch);
        std::memset(start + begin, 0, (std::min(count, begin + stretch) - begin) * sizeof(double));
    });
}

std::span<double> CheckedArray::recreate(std::int64_t count, WorkerPool* pool)
{
    if (!ReusesStorage(storage_.capacity(), count)) {
        // Free first: holding the old and the new storage at once is more
        // than the memory check made before the run counts.
        release();
        if (count <= 0) return {};
        storage_ = PageStorage(static_cast<std::size_t>(count));
        size_ = storage_.capacity();
        if (storage_.zero()) return {};
        return {data(), size_};
    }
    size_ = static_cast<std::size_t>(count);
    zero(0, std::min(dirty_, size_), pool);
    // Elements past the new size may still hold the old run's values.
    if (dirty_ <= size_) dirty_ = 0;
    return {};
}

bool CheckedArray::keepsStorageFor(std::int64_t count) const noexcept
{
    return ReusesStorage(storage_.capacity(), count);
}

void CheckedArray::release() noexcept
{
    storage_ = PageStorage();
    size_ = 0;
    dirty_ = 0;
}

void CheckedArray::clearFrom(std::int64_t first, WorkerPool* pool)
{
    if (first < 0) first = 0;
    const auto from = static_cast<std::size_t>(first);
    if (from >= size_) return;
    if (from < dirty_) zero(from, std::min(dirty_, size_), pool);
    if (dirty_ <= size_) dirty_ = std::min(dirty_, from);
}

std::int64_t CheckedArray::heldBytes() const noexcept
{
    return PageStorage::bytesFor(static_cast<std::int64_t>(storage_.capacity()));
}

std::int64_t CheckedArray::extraBytesFor(std::int64_t count) const noexcept
{
    if (ReusesStorage(storage_.capacity(), count)) return 0;
    return PageStorage::bytesFor(count) - heldBytes();
}

}  // namespace trelvano
