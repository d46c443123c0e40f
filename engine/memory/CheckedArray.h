#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/memory/PageStorage.h"
#include "engine/core/RuntimeFault.h"
#include "engine/core/WorkerPool.h"

namespace trelvano {

// An array of doubles indexed 0..size()-1 whose every access is checked.
// Hot loops take a span over a range that is checked once, up front, so the
// check costs nothing per sample and no access can still fall outside.
class CheckedArray {
public:
    std::int64_t size() const noexcept { return static_cast<std::int64_t>(size_); }
    bool empty() const noexcept { return size_ == 0; }

    double at(std::int64_t i) const { return data()[checked(i)]; }
    double& at(std::int64_t i)
    {
        const std::size_t j = checked(i);
        written(j);
        return data()[j];
    }

    // Elements first..last inclusive; an empty span when last < first.
    std::span<double> range(std::int64_t first, std::int64_t last)
    {
        if (last < first) return {};
        checked(first);
        written(checked(last));
        return {data() + first, static_cast<std::size_t>(last - first + 1)};
    }
    std::span<const double> range(std::int64_t first, std::int64_t last) const
    {
        if (last < first) return {};
        checked(first);
        checked(last);
        return {data() + first, static_cast<std::size_t>(last - first + 1)};
    }
    std::span<const double> all() const noexcept { return {data(), size_}; }

    // Re-creates the array with `count` elements (none when count is
    // negative). The storage of a previous run of the same or larger size is
    // reused, and only what was written since it was last cleared is cleared,
    // shared out over `pool` when one is given; storage more than four times
    // too large is given back. New storage is left as the system hands it out:
    // where that is not zero (the C++ allocator's) it is returned, and the
    // caller clears it before anything reads the array. Every other element
    // is 0.0. Raises RuntimeFault(OutOfMemory) when the allocation fails.
    std::span<double> recreate(std::int64_t count, WorkerPool* pool = nullptr);
    void release() noexcept;
    // Whether recreate(count) keeps the storage it holds now.
    bool keepsStorageFor(std::int64_t count) const noexcept;

    // Sets elements first..size()-1 to 0.0 (none when first >= size()).
    void clearFrom(std::int64_t first, WorkerPool* pool = nullptr);

    // Address space the storage holds now.
    std::int64_t heldBytes() const noexcept;
    // Bytes recreate(count) will take beyond what the array holds now: 0 when
    // the storage is reused, negative when it gives memory back. Lets the
    // caller check a whole re-creation against the free memory before any of it.
    std::int64_t extraBytesFor(std::int64_t count) const noexcept;

private:
    std::size_t checked(std::int64_t i) const
    {
        if (i < 0 || i >= size()) throw RuntimeFault(FaultKind::IndexOutOfRange);
        return static_cast<std::size_t>(i);
    }
    double* data() const noexcept { return storage_.data(); }
    // Element j may now be non-zero: handed out for writing.
    void written(std::size_t j) noexcept { dirty_ = j + 1 > dirty_ ? j + 1 : dirty_; }
    void zero(std::size_t from, std::size_t to, WorkerPool* pool);

    PageStorage storage_;
    std::size_t size_ = 0;
    // Every element of the storage from here on is 0.0.
    std::size_t dirty_ = 0;
};

}  // namespace trelvano
