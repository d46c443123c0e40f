#include <limits>

#include "engine/memory/MemoryBudget.h"

#if defined(__linux__)
#include <sys/resource.h>

#include <fstream>
#include <sstream>
#include <string>

#include "engine/memory/MemoryText.h"
#elif defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#elif defined(__EMSCRIPTEN__)
#include <emscripten/heap.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdint>
#elif defined(__unix__) || defined(__APPLE__)
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace trelvano {

namespace {

#if (defined(__linux__) || defined(__unix__) || defined(__APPLE__)) && !defined(__EMSCRIPTEN__)
std::optional<std::int64_t> Limit(int resource)
{
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
    if (limit.rlim_cur > static_cast<rlim_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
    return static_cast<std::int64_t>(limit.rlim_cur);
}
#endif

#if defined(__linux__)
std::optional<std::string> ReadSmallFile(const std::string& path)
{
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

std::optional<std::int64_t> ValueFile(const std::string& path)
{
    const auto text = ReadSmallFile(path);
    return text ? memtext::CgroupValue(*text) : std::nullopt;
}

// Adds the limited cgroups from `leaf` up to `root`: any of them can be the
// one that runs out.
void AddCgroupChain(MemoryFigures& figures, const std::string& root, std::string leaf, const char* limitFile,
                    const char* usageFile)
{
    for (;;) {
        const std::string dir = root + leaf;
        const auto limit = ValueFile(dir + "/" + limitFile);
        const auto usage = ValueFile(dir + "/" + usageFile);
        if (limit && usage) {
            std::int64_t reclaimable = 0;
            if (const auto stat = ReadSmallFile(dir + "/memory.stat")) {
                reclaimable = memtext::StatField(*stat, "inactive_file").value_or(0);
            }
            figures.cgroups.push_back({*limit, *usage, reclaimable});
        }
        if (leaf.empty() || leaf == "/") return;
        const auto slash = leaf.find_last_of('/');
        leaf = slash == 0 || slash == std::string::npos ? std::string("/") : leaf.substr(0, slash);
    }
}
#endif

}  // namespace

#if defined(__linux__)

MemoryFigures ReadMemoryFigures()
{
    MemoryFigures figures;
    if (const auto meminfo = ReadSmallFile("/proc/meminfo")) figures.memAvailable = memtext::AvailableMemory(*meminfo);
    if (const auto status = ReadSmallFile("/proc/self/status")) {
        figures.addressSpaceUsed = memtext::KibibyteField(*status, "VmSize");
        figures.dataUsed = memtext::KibibyteField(*status, "VmData");
    }
    figures.addressSpaceLimit = Limit(RLIMIT_AS);
    figures.dataLimit = Limit(RLIMIT_DATA);

    if (const auto cgroup = ReadSmallFile("/proc/self/cgroup")) {
        if (const auto path = memtext::CgroupPath(*cgroup, "")) {
            AddCgroupChain(figures, "/sys/fs/cgroup", *path, "memory.max", "memory.current");
        }
        if (const auto path = memtext::CgroupPath(*cgroup, "memory")) {
            AddCgroupChain(figures, "/sys/fs/cgroup/memory", *path, "memory.limit_in_bytes", "memory.usage_in_bytes");
        }
    }
    return figures;
}

#elif defined(_WIN32)

// Windows refuses an allocation when the commit charge would pass its limit;
// the physical memory still free bounds what can be touched without paging.
MemoryFigures ReadMemoryFigures()
{
    MemoryFigures figures;
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (GlobalMemoryStatusEx(&status)) {
        const unsigned long long room =
            status.ullAvailPhys < status.ullAvailPageFile ? status.ullAvailPhys : status.ullAvailPageFile;
        figures.memAvailable = static_cast<std::int64_t>(room);
        figures.addressSpaceLimit = static_cast<std::int64_t>(status.ullTotalVirtual);
        figures.addressSpaceUsed = static_cast<std::int64_t>(status.ullTotalVirtual - status.ullAvailVirtual);
    }
    return figures;
}

#elif defined(__EMSCRIPTEN__)

// WebAssembly defines __unix__ too, but its sysconf reports the heap's
// maximum however much is taken. The heap grows up to that maximum and never
// gives memory back: the room is what lies above the allocator's top plus what
// it holds free below it. A browser may still refuse to grow that far (a
// phone's); only trying the growth tells.
MemoryFigures ReadMemoryFigures()
{
    MemoryFigures figures;
    const auto maximum = static_cast<std::int64_t>(emscripten_get_heap_max());
    const auto top = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(sbrk(0)));
    // The field is an int, and a 4 GB heap can hold more than 2 GB free.
    const auto heldFree = static_cast<std::int64_t>(static_cast<std::uint32_t>(mallinfo().fordblks));
    figures.memAvailable = (maximum > top ? maximum - top : 0) + heldFree;
    return figures;
}

#elif defined(__unix__) || defined(__APPLE__)

// No portable reading of the free memory: the resource limits bound the
// process, and its whole physical memory is a cap against absurd sizes.
MemoryFigures ReadMemoryFigures()
{
    MemoryFigures figures;
    figures.addressSpaceLimit = Limit(RLIMIT_AS);
    figures.dataLimit = Limit(RLIMIT_DATA);
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0) figures.memAvailable = std::int64_t{pages} * pageSize;
    return figures;
}

#else

// Nothing to read: only the allocation itself can fail.
MemoryFigures ReadMemoryFigures()
{
    return {};
}

#endif

}  // namespace trelvano
