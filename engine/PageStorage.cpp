#include "PageStorage.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <utility>

#include "MemoryBudget.h"

// POSIX systems map anonymous memory and Windows commits it, zero until
// written either way; elsewhere the block comes from the C++ allocator and is cleared.
#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define TRELVANO_MAPS_PAGES 1
#elif defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#define TRELVANO_MAPS_PAGES 1
#else
#define TRELVANO_MAPS_PAGES 0
#endif

namespace trelvano {

namespace {

constexpr std::size_t kAlignment = 64;
constexpr std::size_t kHugePageBytes = std::size_t{2} << 20;
// Smaller blocks are not worth a mapping of their own: rounded up to a huge
// page they would waste more than they save.
constexpr std::size_t kMappedFromBytes = std::size_t{1} << 20;

constexpr std::size_t RoundUp(std::size_t value, std::size_t step)
{
    return (value + step - 1) / step * step;
}

#if TRELVANO_MAPS_PAGES && defined(_WIN32)
// Large pages need a privilege ordinary users lack, so the block is one plain
// committed allocation; VirtualAlloc places it on a 64 KiB boundary already.
constexpr std::size_t kMapStep = 64 * 1024;

void* MapAligned(std::size_t length)
{
    return VirtualAlloc(nullptr, length, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void Unmap(void* block, std::size_t /*length*/)
{
    VirtualFree(block, 0, MEM_RELEASE);
}

// What a block of `bytes` takes while it is made.
constexpr std::size_t MappedLength(std::size_t bytes)
{
    return RoundUp(bytes, kMapStep);
}
#elif TRELVANO_MAPS_PAGES
constexpr std::size_t kMapStep = kHugePageBytes;

// A fresh zero block of `length` bytes (whole small pages) starting on a
// huge-page boundary: map one huge page more than needed and give back the
// unaligned head and the tail. Only whole huge pages inside it get huge pages.
void* MapAligned(std::size_t length)
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

void Unmap(void* block, std::size_t length)
{
    munmap(block, length);
}

// The block rounded to huge pages, plus the slack mapped for the alignment.
constexpr std::size_t MappedLength(std::size_t bytes)
{
    return RoundUp(bytes, kHugePageBytes) + kHugePageBytes;
}
#endif

}  // namespace

PageStorage::PageStorage(std::size_t count)
{
    if (count == 0) return;
    // Past this the byte count would not fit a size_t, on any width of it.
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(double) / 2) RaiseOutOfMemory(BytesFor(static_cast<std::int64_t>(count)));
    const std::size_t bytes = count * sizeof(double);
    void* block = nullptr;
#if TRELVANO_MAPS_PAGES
    if (bytes >= kMappedFromBytes) {
        const std::size_t length = RoundUp(bytes, kMapStep);
        block = MapAligned(length);
        if (block != nullptr) mappedBytes_ = length;
    } else
#endif
    {
        block = ::operator new(bytes, std::align_val_t{kAlignment}, std::nothrow);
        if (block != nullptr) std::memset(block, 0, bytes);
    }
    if (block == nullptr) RaiseOutOfMemory(BytesFor(static_cast<std::int64_t>(count)));
    data_ = static_cast<double*>(block);
    count_ = count;
}

PageStorage::~PageStorage()
{
    release();
}

PageStorage::PageStorage(PageStorage&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)),
      count_(std::exchange(other.count_, 0)),
      mappedBytes_(std::exchange(other.mappedBytes_, 0))
{
}

PageStorage& PageStorage::operator=(PageStorage&& other) noexcept
{
    if (this != &other) {
        release();
        data_ = std::exchange(other.data_, nullptr);
        count_ = std::exchange(other.count_, 0);
        mappedBytes_ = std::exchange(other.mappedBytes_, 0);
    }
    return *this;
}

std::int64_t PageStorage::BytesFor(std::int64_t count) noexcept
{
    if (count <= 0) return 0;
    const auto bytes = static_cast<std::size_t>(count) * sizeof(double);
#if TRELVANO_MAPS_PAGES
    if (bytes >= kMappedFromBytes) return static_cast<std::int64_t>(MappedLength(bytes));
#endif
    return static_cast<std::int64_t>(RoundUp(bytes + kAlignment, 4096));
}

void PageStorage::release() noexcept
{
    if (data_ == nullptr) return;
#if TRELVANO_MAPS_PAGES
    if (mappedBytes_ != 0) {
        Unmap(data_, mappedBytes_);
    } else
#endif
    {
        ::operator delete(data_, std::align_val_t{kAlignment});
    }
    data_ = nullptr;
    count_ = 0;
    mappedBytes_ = 0;
}

}  // namespace trelvano

#if TRELVANO_MAPS_PAGES && defined(__linux__) && defined(__GLIBC__)
// FFTW takes its twiddle tables and scratch (tens of megabytes for a large N)
// through fftw_kernel_malloc, which the shared library calls through the
// dynamic linker: defined here, in the program, it serves FFTW's large blocks
// from huge-page mappings too, which saves thousands of page faults on the
// first press at a new N. Each block is preceded by 64 bytes that hold its
// mapped length, 0 for the small ones left to malloc; FFTW needs no more than
// 64-byte alignment.
namespace {
constexpr std::size_t kHeaderBytes = trelvano::kAlignment;
}  // namespace

extern "C" void* fftw_kernel_malloc(std::size_t bytes)
{
    const std::size_t total = bytes + kHeaderBytes;
    void* block = nullptr;
    std::size_t mapped = 0;
    if (total >= trelvano::kMappedFromBytes) {
        mapped = trelvano::RoundUp(total, 4096);
        block = trelvano::MapAligned(mapped);
    } else if (posix_memalign(&block, trelvano::kAlignment, total) != 0) {
        block = nullptr;
    }
    if (block == nullptr) return nullptr;
    *static_cast<std::size_t*>(block) = mapped;
    return static_cast<char*>(block) + kHeaderBytes;
}

extern "C" void fftw_kernel_free(void* p)
{
    if (p == nullptr) return;
    void* block = static_cast<char*>(p) - kHeaderBytes;
    const std::size_t mapped = *static_cast<std::size_t*>(block);
    if (mapped != 0) {
        munmap(block, mapped);
    } else {
        std::free(block);
    }
}
#endif
