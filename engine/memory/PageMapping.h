#pragma once

#include <cstddef>

// Fresh zero memory straight from the operating system, for PageStorage and
// FFTW's allocation hook. POSIX systems map anonymous memory and Windows
// commits it, zero until written either way; elsewhere nothing is mapped and
// the callers take the C++ allocator. WebAssembly has no pages to map: its
// C library's mmap takes the block from the heap and clears it a byte loop
// at a time, which took a fifth of a browser's first press at N = 10^6; the
// allocator's block cleared in one memory.fill is the same zero memory.
#if (defined(__unix__) || defined(__APPLE__) || defined(_WIN32)) && !defined(__EMSCRIPTEN__)
#define TRELVANO_MAPS_PAGES 1
#else
#define TRELVANO_MAPS_PAGES 0
#endif

namespace trelvano::pages {

inline constexpr std::size_t kAlignment = 64;
// Smaller blocks are not worth a mapping of their own: rounded up to a huge
// page they would waste more than they save.
inline constexpr std::size_t kMappedFromBytes = std::size_t{1} << 20;

constexpr std::size_t RoundUp(std::size_t value, std::size_t step)
{
    return (value + step - 1) / step * step;
}

#if TRELVANO_MAPS_PAGES
// What a mapping's length is rounded to.
std::size_t MapStep() noexcept;
// A zero block of `length` bytes (a multiple of MapStep, or of 4096 on
// Linux), aligned to at least kAlignment; nullptr when the system refuses.
void* MapAligned(std::size_t length) noexcept;
void Unmap(void* block, std::size_t length) noexcept;
// Address space a block of `bytes` takes while it is made.
std::size_t MappedLength(std::size_t bytes) noexcept;
#endif

}  // namespace trelvano::pages
