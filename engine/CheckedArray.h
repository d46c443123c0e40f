#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "RuntimeFault.h"

namespace trelvano {

// An array of doubles indexed 0..size()-1 whose every access is checked.
// Hot loops take a span over a range that is checked once, up front, so the
// check costs nothing per sample and no access can still fall outside.
class CheckedArray {
public:
    std::int64_t size() const noexcept { return static_cast<std::int64_t>(data_.size()); }
    bool empty() const noexcept { return data_.empty(); }

    double at(std::int64_t i) const { return data_[checked(i)]; }
    double& at(std::int64_t i) { return data_[checked(i)]; }

    // Elements first..last inclusive; an empty span when last < first.
    std::span<double> range(std::int64_t first, std::int64_t last)
    {
        if (last < first) return {};
        checked(first);
        checked(last);
        return {data_.data() + first, static_cast<std::size_t>(last - first + 1)};
    }
    std::span<const double> range(std::int64_t first, std::int64_t last) const
    {
        if (last < first) return {};
        checked(first);
        checked(last);
        return {data_.data() + first, static_cast<std::size_t>(last - first + 1)};
    }
    std::span<const double> all() const noexcept { return data_; }

    // Re-creates the array with `count` elements, all 0.0 (none when count is
    // negative). The storage of a previous run of the same or larger size is
    // reused: a fresh allocation of tens of megabytes per run costs more than
    // the zeroing. Storage more than four times too large is given back.
    // Raises RuntimeFault(OutOfMemory) when the allocation fails.
    void recreate(std::int64_t count);
    void release() noexcept;

    // Bytes the storage holds now (capacity, not size).
    std::int64_t heldBytes() const noexcept { return static_cast<std::int64_t>(data_.capacity() * sizeof(double)); }
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

    std::vector<double> data_;
};

}  // namespace trelvano
