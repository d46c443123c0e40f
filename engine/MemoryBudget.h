#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace trelvano {

// With overcommit, a huge std::vector "succeeds" and the kernel kills the
// process later, when the zeroing touches the pages. So the sample buffers are
// checked, before any of them is re-created, against the memory the machine
// can really give now; only then is the allocation attempted.

// One memory cgroup on the way from this process's cgroup to the root.
struct CgroupMemory {
    std::int64_t limit = 0;        // memory.max / memory.limit_in_bytes
    std::int64_t usage = 0;        // memory.current / memory.usage_in_bytes
    std::int64_t reclaimable = 0;  // inactive file pages, given back under pressure
};

// Every figure that bounds an allocation; a figure that cannot be read, or an
// unlimited limit, is absent.
struct MemoryFigures {
    std::optional<std::int64_t> memAvailable;  // /proc/meminfo MemAvailable
    std::optional<std::int64_t> addressSpaceLimit;  // RLIMIT_AS
    std::optional<std::int64_t> addressSpaceUsed;   // VmSize
    std::optional<std::int64_t> dataLimit;          // RLIMIT_DATA
    std::optional<std::int64_t> dataUsed;           // VmData
    std::vector<CgroupMemory> cgroups;
};

// Bytes that can still be committed: the smallest headroom over all figures
// present, never negative; INT64_MAX when nothing bounds it.
std::int64_t HeadroomBytes(const MemoryFigures& figures) noexcept;

// Reads the figures of this process now.
MemoryFigures ReadMemoryFigures();

// Raises RuntimeFault(OutOfMemory) unless `bytes` more can be committed now
// while a reserve stays free for the windows and the allocator itself.
void RequireMemory(std::int64_t bytes);

// The reserve RequireMemory keeps free.
inline constexpr std::int64_t kMemoryReserveBytes = std::int64_t{64} << 20;

}  // namespace trelvano
