#include "engine/memory/MemoryBudget.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten/heap.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#endif

namespace trelvano {

#if defined(__EMSCRIPTEN__)

namespace {

// The allocator takes no block of half the 32-bit address space or more.
constexpr std::int64_t kLargestBlock = std::int64_t{1} << 31;

// Stored here so that the compiler cannot drop an allocation whose block is
// never used, and take its success for granted.
void* volatile probe = nullptr;

std::int64_t Top()
{
    return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(sbrk(0)));
}

}  // namespace

std::optional<MemoryShortfall> TakeRoom(std::int64_t bytes)
{
    if (bytes <= 0) return std::nullopt;
    const auto size = static_cast<std::int64_t>(emscripten_get_heap_size());
    if (bytes < kLargestBlock) {
        // In one piece: the allocations that follow, each smaller and all
        // together no larger, then fit whatever holes the heap has.
        probe = std::malloc(static_cast<std::size_t>(bytes));
        std::free(probe);
        if (probe != nullptr) return std::nullopt;
    } else {
        // Past what one block may be the heap is grown that far, counting
        // nothing the allocator holds free; the buffers are each far smaller.
        const auto maximum = static_cast<std::int64_t>(emscripten_get_heap_max());
        const std::int64_t wanted = std::min(Top() + bytes, maximum);
        if (wanted <= size || emscripten_resize_heap(static_cast<std::size_t>(wanted))) return std::nullopt;
    }
    // What is left without growing: above the allocator's top in the memory
    // the heap already has, and what the allocator holds free below it.
    const auto heldFree = static_cast<std::int64_t>(static_cast<std::uint32_t>(mallinfo().fordblks));
    const std::int64_t room = std::max<std::int64_t>(size - Top(), 0) + heldFree;
    return MemoryShortfall{bytes, std::max<std::int64_t>(room - kMemoryReserveBytes, 0)};
}

#else

// Elsewhere the figures are the system's own and the check before suffices:
// the system maps memory when it is touched, and only then.
std::optional<MemoryShortfall> TakeRoom(std::int64_t /*bytes*/)
{
    return std::nullopt;
}

#endif

}  // namespace trelvano
