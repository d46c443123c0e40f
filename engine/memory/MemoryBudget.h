#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/core/RuntimeFault.h"

namespace trelvano {

// With overcommit, a huge allocation "succeeds" and the kernel kills the
// process later, when the pages are touched; FFTW aborts the process when it
// cannot allocate. So everything a run will take is checked, before any of it
// is allocated, against the memory the machine can really give now.

// One memory cgroup on the way from this process's cgroup to the root.
struct CgroupMemory {
    std::int64_t limit = 0;        // memory.max / memory.limit_in_bytes
    std::int64_t usage = 0;        // memory.current / memory.usage_in_bytes
    std::int64_t reclaimable = 0;  // inactive file pages, given back under pressure
};

// Every figure that bounds an allocation; a figure that cannot be read, or an
// unlimited limit, is absent.
struct MemoryFigures {
    std::optional<std::int64_t> memAvailable{};       // memory that can be taken without swapping
    std::optional<std::int64_t> addressSpaceLimit{};  // RLIMIT_AS
    std::optional<std::int64_t> addressSpaceUsed{};   // VmSize
    std::optional<std::int64_t> dataLimit{};          // RLIMIT_DATA
    std::optional<std::int64_t> dataUsed{};           // VmData
    std::vector<CgroupMemory> cgroups{};
};

// Bytes that can still be committed: the smallest headroom over all figures
// present, never negative; INT64_MAX when nothing bounds it.
std::int64_t HeadroomBytes(const MemoryFigures& figures) noexcept;

// Reads the figures of this process now. Linux: /proc/meminfo, /proc/self/status,
// the resource limits and every memory cgroup (v1 or v2) up to the root.
// Windows: the physical memory and the commit charge still free. WebAssembly:
// what the heap can still grow to and what its allocator holds free. Other
// POSIX systems: the resource limits, and the machine's physical memory as a cap.
MemoryFigures ReadMemoryFigures();

// The reserve RequireMemory keeps free for the windows and the allocator itself.
inline constexpr std::int64_t kMemoryReserveBytes = std::int64_t{64} << 20;

// What is missing when `bytes` are asked for with `headroom` free and the
// reserve must stay free; nothing when they fit.
std::optional<MemoryShortfall> ShortfallOf(std::int64_t bytes, std::int64_t headroom) noexcept;

// Where the figures can only promise the room, takes it to be sure. A
// WebAssembly heap grows only when an allocation asks, a browser may refuse
// the growth well below the heap's maximum (a phone's does), and FFTW aborts
// the program when an allocation fails: so the heap is grown by `bytes` past
// the allocator's top before anything of the run is allocated. The heap never
// shrinks, so the room stays there for the allocations that follow. What is
// missing when it cannot be taken, with what the heap can give without
// growing; nothing elsewhere.
std::optional<MemoryShortfall> TakeRoom(std::int64_t bytes);

// Raises RuntimeFault(MemoryShortfall) unless `bytes` more can be committed now.
void RequireMemory(std::int64_t bytes);

// Raises RuntimeFault(MemoryShortfall) for an allocation of `bytes` that the
// system refused, with what it could give now.
[[noreturn]] void RaiseOutOfMemory(std::int64_t bytes);

}  // namespace trelvano
