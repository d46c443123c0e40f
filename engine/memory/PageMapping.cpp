#include "engine/memory/PageMapping.h"

#include <cstdint>

#if TRELVANO_MAPS_PAGES && defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif TRELVANO_MAPS_PAGES
#include <sys/mman.h>
#endif

namespace trelvano::pages {

#if TRELVANO_MAPS_PAGES && defined(_WIN32)
// Large pages need a privilege ordinary users lack, so the block is one plain
// committed allocation; VirtualAlloc places it on a 64 KiB boundary already.
std::size_t MapStep() noexcept
{
    return 64 * 1024;
}

void* MapAligned(std::size_t length) noexcept
{
    return VirtualAlloc(nullptr, length, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void Unmap(void* block, std::size_t /*length*/) noexcept
{
    VirtualFree(block, 0, MEM_RELEASE);
}

std::size_t MappedLength(std::size_t bytes) noexcept
{
    return RoundUp(bytes, MapStep());
}
#elif TRELVANO_MAPS_PAGES && defined(__linux__)
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;

std::size_t MapStep() noexcept
{
    return kHugePageBytes;
}

// Maps one huge page more than needed and gives back the unaligned head and
// the tail, so the block starts on a huge-page boundary. Only whole huge pages
// inside it get huge pages. Linux unmaps part of a mapping; systems that
// cannot would keep the whole slack mapped for every block.
void* MapAligned(std::size_t length) noexcept
{
    void* raw = mmap(nullptr, length + kHugePageBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = RoundUp(start, kHugePageBytes);
    const std::uintptr_t end = start + length + kHugePageBytes;
    if (aligned > start) munmap(raw, aligned - start);
    if (end > aligned + length) munmap(reinterpret_cast<void*>(aligned + length), end - (aligned + length));
#ifdef MADV_HUGEPAGE
    // Only advice: where huge pages are switched off the block keeps small ones.
    madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
#endif
    return reinterpret_cast<void*>(aligned);
}

void Unmap(void* block, std::size_t length) noexcept
{
    munmap(block, length);
}

// The block rounded to huge pages, plus the slack mapped for the alignment.
std::size_t MappedLength(std::size_t bytes) noexcept
{
    return RoundUp(bytes, kHugePageBytes) + kHugePageBytes;
}
#elif TRELVANO_MAPS_PAGES
// Other POSIX systems: a plain mapping, page-aligned, which is aligned enough.
// The step is the largest page size among them (16 KiB on Apple's processors).
std::size_t MapStep() noexcept
{
    return 16 * 1024;
}

void* MapAligned(std::size_t length) noexcept
{
    void* block = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANON, -1, 0);
    return block == MAP_FAILED ? nullptr : block;
}

void Unmap(void* block, std::size_t length) noexcept
{
    munmap(block, length);
}

std::size_t MappedLength(std::size_t bytes) noexcept
{
    return RoundUp(bytes, MapStep());
}
#endif

}  // namespace trelvano::pages
