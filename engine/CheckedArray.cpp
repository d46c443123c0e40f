#include "CheckedArray.h"

#include <new>

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

void CheckedArray::recreate(std::int64_t count)
{
    if (!ReusesStorage(data_.capacity(), count)) {
        // Free first: growing in place would hold the old and the new storage
        // at once, which the memory check made before the run does not count.
        release();
    }
    if (count <= 0) return;
    const auto n = static_cast<std::size_t>(count);
    if (n > data_.max_size()) throw RuntimeFault(FaultKind::OutOfMemory);
    try {
        data_.assign(n, 0.0);
    } catch (const std::bad_alloc&) {
        throw RuntimeFault(FaultKind::OutOfMemory);
    }
}

void CheckedArray::release() noexcept
{
    std::vector<double>().swap(data_);
}

std::int64_t CheckedArray::extraBytesFor(std::int64_t count) const noexcept
{
    if (ReusesStorage(data_.capacity(), count)) return 0;
    const std::int64_t newBytes = count > 0 ? count * static_cast<std::int64_t>(sizeof(double)) : 0;
    return newBytes - heldBytes();
}

}  // namespace trelvano
