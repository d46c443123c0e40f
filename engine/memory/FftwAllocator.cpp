// FFTW takes its twiddle tables and scratch (tens of megabytes for a large N)
// through fftw_kernel_malloc, which the shared library calls through the
// dynamic linker: defined here, in the program, it serves FFTW's large blocks
// from huge-page mappings too, which saves thousands of page faults on the
// first press at a new N. Each block is preceded by 64 bytes that hold its
// mapped length, 0 for the small ones left to malloc; FFTW needs no more than
// 64-byte alignment. Elsewhere FFTW keeps its own allocator.
#include "engine/memory/PageMapping.h"

#if TRELVANO_MAPS_PAGES && defined(__linux__) && defined(__GLIBC__)
#include <cstdlib>

namespace {
using namespace trelvano::pages;
constexpr std::size_t kHeaderBytes = kAlignment;
}  // namespace

extern "C" void* fftw_kernel_malloc(std::size_t bytes)
{
    const std::size_t total = bytes + kHeaderBytes;
    void* block = nullptr;
    std::size_t mapped = 0;
    if (total >= kMappedFromBytes) {
        mapped = RoundUp(total, 4096);
        block = MapAligned(mapped);
    } else if (posix_memalign(&block, kAlignment, total) != 0) {
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
        Unmap(block, mapped);
    } else {
        std::free(block);
    }
}
#endif
