#pragma once

#include <cstddef>
#include <cstdint>

namespace trelvano {

// Storage for a number of doubles, aligned to 64 bytes.
//
// Large blocks are mapped fresh from the system, which hands them out already
// zero, so they are never cleared by the program; on Linux they sit on 2 MiB
// boundaries and are marked for transparent huge pages: touching 64 MB then
// takes a few dozen page faults instead of sixteen thousand. On Windows they are
// one committed allocation each (large pages need a privilege users lack).
// Where the system has no such call, the block comes from the C++ allocator
// as it is, and its owner clears it: an owner with threads clears it in parts
// on all of them, which shares out the first touch of fresh pages too.
//
// On Linux the same mappings also serve FFTW's own large tables and scratch:
// FftwAllocator.cpp defines the allocation hook the FFTW library calls.
class PageStorage {
public:
    PageStorage() noexcept = default;
    // Raises RuntimeFault(OutOfMemory) when the system refuses.
    explicit PageStorage(std::size_t count);
    ~PageStorage();

    PageStorage(const PageStorage&) = delete;
    PageStorage& operator=(const PageStorage&) = delete;
    PageStorage(PageStorage&& other) noexcept;
    PageStorage& operator=(PageStorage&& other) noexcept;

    double* data() const noexcept { return data_; }
    std::size_t capacity() const noexcept { return count_; }
    // Whether every element is 0.0 as made: false for a block from the C++
    // allocator, which may hold what it held before.
    bool zero() const noexcept { return mappedBytes_ != 0 || data_ == nullptr; }

    // Address space PageStorage(count) takes while it is made: the block
    // rounded to whole pages, plus the slack mapped for the alignment and
    // given back at once.
    static std::int64_t bytesFor(std::int64_t count) noexcept;

private:
    void release() noexcept;

    double* data_ = nullptr;
    std::size_t count_ = 0;
    std::size_t mappedBytes_ = 0;  // 0 when the block came from the C++ allocator
};

}  // namespace trelvano
