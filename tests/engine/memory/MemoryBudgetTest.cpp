#include "engine/memory/MemoryBudget.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <tuple>
#include <vector>

#include "engine/memory/MemoryText.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten/heap.h>
#include <unistd.h>
#endif

namespace trelvano {
namespace {

constexpr std::int64_t KiB = 1024;
constexpr std::int64_t MiB = KiB * KiB;

// Each reader on a sample of its file: a figure in bytes, or nothing rather than a wrong figure.
TEST(MemoryText, KernelFilesReadOrNothing)
{
    using memtext::KibibyteField, memtext::AvailableMemory, memtext::CgroupValue, memtext::CgroupPath;
    EXPECT_EQ(KibibyteField("VmSizeX: 1 kB\nVmSize:\t  2048 kB\n", "VmSize"), 2048 * KiB);  // a prefix of another
    EXPECT_EQ(KibibyteField("VmData: 7 kB", "VmData"), 7 * KiB);
    for (const char* text :
         {"MemTotal: 1 kB\n", "VmSize: 2048 MB\n", "VmSize: kB\n", "VmSize: 9223372036854775807 kB\n"})
        EXPECT_EQ(KibibyteField(text, "VmSize"), std::nullopt) << text;
    // Kernels before 3.14 have no MemAvailable: without the fallback every run would go unchecked.
    EXPECT_EQ(AvailableMemory("MemFree: 1 kB\nMemAvailable: 500 kB\nCached: 9 kB\n"), 500 * KiB);
    EXPECT_EQ(AvailableMemory("MemFree: 100 kB\nBuffers: 5 kB\nCached: 300 kB\nSwapCached: 7 kB\n"), 400 * KiB);
    EXPECT_EQ(AvailableMemory("MemTotal: 100 kB\n"), std::nullopt);

    EXPECT_EQ(CgroupValue("536870912\n"), 536870912);
    for (const char* text : {"max\n", "", "-1\n"}) EXPECT_EQ(CgroupValue(text), std::nullopt) << text;
    EXPECT_EQ(memtext::StatField("active_file 100\ninactive_file_extra 5\ninactive_file 4096\n", "inactive_file"),
              4096);
    EXPECT_EQ(CgroupPath("0::/user.slice/app.scope\n", ""), "/user.slice/app.scope");
    EXPECT_EQ(CgroupPath("5:cpuset:/x\n4:cpu,memory:/a/b\n", "memory"), "/a/b");
    EXPECT_EQ(CgroupPath("4:memory:/v1\n0::/v2\n", ""), "/v2");
    EXPECT_EQ(CgroupPath("4:memory_extra:/no\n", "memory"), std::nullopt);
    for (const char* text : {"4:memory:/v1\n", "0::relative\n"}) EXPECT_EQ(CgroupPath(text, ""), std::nullopt) << text;
}

TEST(MemoryBudget, HeadroomIsTheTightestBound)
{
    const std::tuple<const char*, MemoryFigures, std::int64_t> rows[] = {
        {"NothingKnown", {}, std::numeric_limits<std::int64_t>::max()},
        {"AddressSpaceLimit",
         {.memAvailable = 8000 * MiB, .addressSpaceLimit = 3000 * MiB, .addressSpaceUsed = 1000 * MiB},
         2000 * MiB},
        {"LimitWithoutUsageCountsAll", {.addressSpaceLimit = 300 * MiB}, 300 * MiB},
        {"DataLimit", {.dataLimit = 500 * MiB, .dataUsed = 100 * MiB}, 400 * MiB},
        {"OverTheLimitIsZero", {.addressSpaceLimit = 100 * MiB, .addressSpaceUsed = 200 * MiB}, 0},
        {"CgroupCacheIsReclaimed",
         {.memAvailable = 8000 * MiB, .cgroups = {{1000 * MiB, 900 * MiB, 300 * MiB}}},
         400 * MiB},
        {"ParentCgroupTighter", {.cgroups = {{1000 * MiB, 100 * MiB, 0}, {2000 * MiB, 1900 * MiB, 0}}}, 100 * MiB},
        {"CacheBeyondUsage", {.cgroups = {{1000 * MiB, 100 * MiB, 500 * MiB}}}, 1000 * MiB},
    };
    for (const auto& [name, figures, headroom] : rows) EXPECT_EQ(HeadroomBytes(figures), headroom) << name;
}

// The figures this system really gives (Linux's /proc, Windows' memory status)
// must be read at all, or every press would go unchecked.
TEST(MemoryBudget, ThisMachinesOwnFiguresBoundAPress)
{
    const MemoryFigures figures = ReadMemoryFigures();
    ASSERT_TRUE(figures.memAvailable.has_value());
    const std::int64_t headroom = HeadroomBytes(figures);
    EXPECT_GT(headroom, kMemoryReserveBytes);
    EXPECT_LE(headroom, *figures.memAvailable);
}

#if defined(__EMSCRIPTEN__)
char* volatile heldBlock = nullptr;  // so the block cannot be optimised away

// The heap's maximum alone would stay the same whatever is taken: the room
// must fall by a block while it is held, and come back when it is freed.
TEST(MemoryBudget, TheHeapsRoomFollowsWhatIsTaken)
{
    const std::int64_t before = *ReadMemoryFigures().memAvailable;
    std::int64_t held = 0;
    {
        std::vector<char> block(64 * MiB, 1);
        heldBlock = block.data();
        held = *ReadMemoryFigures().memAvailable;
    }
    heldBlock = nullptr;
    const std::int64_t after = *ReadMemoryFigures().memAvailable;
    EXPECT_LE(held, before - 64 * MiB);
    EXPECT_GE(after, held + 64 * MiB);
}

// A browser refuses to grow the heap only when asked: the room is taken for
// real, past what the allocator holds free, before the run allocates.
TEST(MemoryBudget, TakingRoomGrowsTheHeap)
{
    const auto top = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(sbrk(0)));
    EXPECT_EQ(TakeRoom(256 * MiB), std::nullopt);
    EXPECT_GE(static_cast<std::int64_t>(emscripten_get_heap_size()), top + 256 * MiB);
}
#endif

}  // namespace
}  // namespace trelvano
