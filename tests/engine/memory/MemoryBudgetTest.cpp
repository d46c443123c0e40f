#include "engine/memory/MemoryBudget.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>

#include "engine/memory/MemoryText.h"

namespace trelvano {
namespace {

constexpr std::int64_t KiB = 1024;
constexpr std::int64_t MiB = KiB * KiB;
using Bytes = std::optional<std::int64_t>;

TEST(MemoryText, KilobyteFieldsOfMeminfoAndStatus)
{
    const struct { const char* name; const char* text; const char* key; Bytes bytes; } rows[] = {
        {"Meminfo", "MemTotal:  16000 kB\nMemFree:  800 kB\nMemAvailable:   12345 kB\n", "MemAvailable", 12345 * KiB},
        {"KeyIsAPrefixOfAnother", "VmSizeX: 1 kB\nVmSize:\t  2048 kB\n", "VmSize", 2048 * KiB},
        {"LastLineWithoutNewline", "VmData: 7 kB", "VmData", 7 * KiB},
        {"MissingKey", "MemTotal: 16000 kB\n", "MemAvailable", std::nullopt},
        {"NotKilobytes", "VmSize: 2048 MB\n", "VmSize", std::nullopt},
        {"NoNumber", "VmSize: kB\n", "VmSize", std::nullopt},
        {"TooLargeForBytes", "VmSize: 9223372036854775807 kB\n", "VmSize", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(memtext::KibibyteField(row.text, row.key), row.bytes) << row.name;
}

// Old kernels have no MemAvailable: without the fallback every run would go unchecked.
TEST(MemoryText, AvailableMemoryFallsBackToFreePlusCached)
{
    const struct { const char* name; const char* text; Bytes bytes; } rows[] = {
        {"MemAvailableWins", "MemFree: 1 kB\nMemAvailable: 500 kB\nCached: 9 kB\n", 500 * KiB},
        {"FreePlusCached", "MemFree: 100 kB\nBuffers: 5 kB\nCached: 300 kB\nSwapCached: 7 kB\n", 400 * KiB},
        {"FreeAlone", "MemFree: 100 kB\n", 100 * KiB},
        {"NothingUsable", "MemTotal: 100 kB\n", std::nullopt},
    };
    for (const auto& row : rows) EXPECT_EQ(memtext::AvailableMemory(row.text), row.bytes) << row.name;
}

TEST(MemoryText, CgroupFiles)
{
    const struct { const char* name; const char* text; Bytes value; } values[] = {
        {"Limit", "536870912\n", 536870912}, {"NoLimit", "max\n", std::nullopt},
        {"Empty", "", std::nullopt},         {"Negative", "-1\n", std::nullopt},
    };
    for (const auto& row : values) EXPECT_EQ(memtext::CgroupValue(row.text), row.value) << row.name;

    const char* stat = "active_file 100\ninactive_file_extra 5\ninactive_file 4096\n";
    EXPECT_EQ(memtext::StatField(stat, "inactive_file"), 4096);
    EXPECT_EQ(memtext::StatField("active_file 100\n", "inactive_file"), std::nullopt);

    const struct { const char* name; const char* text; const char* controller; std::optional<std::string> path; }
        paths[] = {
            {"V2", "0::/user.slice/app.scope\n", "", "/user.slice/app.scope"},
            {"V1Memory", "5:cpuset:/x\n4:memory:/a/b\n", "memory", "/a/b"},
            {"V1ControllerList", "4:cpu,memory:/a\n", "memory", "/a"},
            {"V1NameIsNotAPrefixMatch", "4:memory_extra:/no\n", "memory", std::nullopt},
            {"HybridV2Line", "4:memory:/v1\n0::/v2\n", "", "/v2"},
            {"V1LineIsNotV2", "4:memory:/v1\n", "", std::nullopt},
            {"RelativePathIgnored", "0::relative\n", "", std::nullopt},
        };
    for (const auto& row : paths) EXPECT_EQ(memtext::CgroupPath(row.text, row.controller), row.path) << row.name;
}

TEST(MemoryBudget, HeadroomIsTheTightestBound)
{
    const struct { const char* name; MemoryFigures figures; std::int64_t headroom; } rows[] = {
        {"NothingKnown", {}, std::numeric_limits<std::int64_t>::max()},
        {"AddressSpaceLimit", {.memAvailable = 8000 * MiB, .addressSpaceLimit = 3000 * MiB,
                               .addressSpaceUsed = 1000 * MiB}, 2000 * MiB},
        {"LimitWithoutUsageCountsAll", {.addressSpaceLimit = 300 * MiB}, 300 * MiB},
        {"DataLimit", {.dataLimit = 500 * MiB, .dataUsed = 100 * MiB}, 400 * MiB},
        {"OverTheLimitIsZero", {.addressSpaceLimit = 100 * MiB, .addressSpaceUsed = 200 * MiB}, 0},
        {"CgroupCacheIsReclaimed", {.memAvailable = 8000 * MiB, .cgroups = {{1000 * MiB, 900 * MiB, 300 * MiB}}},
         400 * MiB},
        {"ParentCgroupTighter", {.cgroups = {{1000 * MiB, 100 * MiB, 0}, {2000 * MiB, 1900 * MiB, 0}}}, 100 * MiB},
        {"CacheBeyondUsage", {.cgroups = {{1000 * MiB, 100 * MiB, 500 * MiB}}}, 1000 * MiB},
    };
    for (const auto& row : rows) EXPECT_EQ(HeadroomBytes(row.figures), row.headroom) << row.name;
}

TEST(MemoryBudget, ReserveStaysFree)
{
    const std::int64_t reserve = kMemoryReserveBytes;
    const struct { const char* name; std::int64_t bytes, headroom; std::optional<std::int64_t> available; } rows[] = {
        {"FitsExactly", 100 * MiB, 100 * MiB + reserve, std::nullopt},
        {"OneByteOver", 100 * MiB + 1, 100 * MiB + reserve, 100 * MiB},
        {"HeadroomBelowReserve", 1, reserve - 1, 0},
        {"Unbounded", 1 << 30, std::numeric_limits<std::int64_t>::max(), std::nullopt},
    };
    for (const auto& row : rows) {
        const auto shortfall = ShortfallOf(row.bytes, row.headroom);
        ASSERT_EQ(shortfall.has_value(), row.available.has_value()) << row.name;
        if (!shortfall) continue;
        EXPECT_EQ(shortfall->neededBytes, row.bytes) << row.name;
        EXPECT_EQ(shortfall->availableBytes, *row.available) << row.name;
    }
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

}  // namespace
}  // namespace trelvano
