#include "engine/memory/MemoryBudget.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten/heap.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#endif

namespace trelvano {

#if defined(__EMSCRIPTEN__)

namespace {

std::int64_t Top()
{
    return static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(sbrk(0)));
}

}  // namespace

std::optional<MemoryShortfall> TakeRoom(std::int64_t bytes)
{
    if (bytes <= 0) return std::nullopt;
    const auto size = static_cast<std::int64_t>(emscripten_get_heap_size());
    // As if nothing the allocator holds free could be used: it may be in
    // pieces too small for a buffer. Above the maximum only that free space
    // can serve, as the figures checked.
    const auto maximum = static_cast<std::int64_t>(emscripten_get_heap_max());
    const std::int64_t wanted = std::min(Top() + bytes, maximum);
    if (wanted <= size || emscripten_resize_heap(static_cast<std::size_t>(wanted))) return std::nullopt;
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
