#include "engine/memory/MemoryBudget.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "engine/memory/MemoryText.h"

namespace trelvano {
namespace {

constexpr std::int64_t KiB = 1024;
constexpr std::int64_t MiB = KiB * KiB;
using Bytes = std::optional<std::int64_t>;

TEST(MemoryText, KilobyteFieldsOfMeminfoAndStatus)
{
    const std::tuple<const char*, const char*, const char*, Bytes> rows[] = {
        {"Meminfo", "MemTotal:  16000 kB\nMemFree:  800 kB\nMemAvailable:   12345 kB\n", "MemAvailable", 12345 * KiB},
        {"KeyIsAPrefixOfAnother", "VmSizeX: 1 kB\nVmSize:\t  2048 kB\n", "VmSize", 2048 * KiB},
        {"LastLineWithoutNewline", "VmData: 7 kB", "VmData", 7 * KiB},
        {"MissingKey", "MemTotal: 16000 kB\n", "MemAvailable", std::nullopt},
        {"NotKilobytes", "VmSize: 2048 MB\n", "VmSize", std::nullopt},
        {"NoNumber", "VmSize: kB\n", "VmSize", std::nullopt},
        {"TooLargeForBytes", "VmSize: 9223372036854775807 kB\n", "VmSize", std::nullopt},
    };
    for (const auto& [name, text, key, bytes] : rows) EXPECT_EQ(memtext::KibibyteField(text, key), bytes) << name;
}

// Old kernels have no MemAvailable: without the fallback every run would go unchecked.
TEST(MemoryText, AvailableMemoryFallsBackToFreePlusCached)
{
    const std::tuple<const char*, const char*, Bytes> rows[] = {
        {"MemAvailableWins", "MemFree: 1 kB\nMemAvailable: 500 kB\nCached: 9 kB\n", 500 * KiB},
        {"FreePlusCached", "MemFree: 100 kB\nBuffers: 5 kB\nCached: 300 kB\nSwapCached: 7 kB\n", 400 * KiB},
        {"FreeAlone", "MemFree: 100 kB\n", 100 * KiB},
        {"NothingUsable", "MemTotal: 100 kB\n", std::nullopt},
    };
    for (const auto& [name, text, bytes] : rows) EXPECT_EQ(memtext::AvailableMemory(text), bytes) << name;
}

TEST(MemoryText, CgroupFiles)
{
    const std::pair<const char*, Bytes> values[] = {{"536870912\n", 536870912}, {"max\n", {}}, {"", {}}, {"-1\n", {}}};
    for (const auto& [text, value] : values) EXPECT_EQ(memtext::CgroupValue(text), value) << text;

    const char* stat = "active_file 100\ninactive_file_extra 5\ninactive_file 4096\n";
    EXPECT_EQ(memtext::StatField(stat, "inactive_file"), 4096);
    EXPECT_EQ(memtext::StatField("active_file 100\n", "inactive_file"), std::nullopt);

    const std::tuple<const char*, const char*, const char*, std::optional<std::string>> paths[] = {
        {"V2", "0::/user.slice/app.scope\n", "", "/user.slice/app.scope"},
        {"V1Memory", "5:cpuset:/x\n4:memory:/a/b\n", "memory", "/a/b"},
        {"V1ControllerList", "4:cpu,memory:/a\n", "memory", "/a"},
        {"V1NameIsNotAPrefixMatch", "4:memory_extra:/no\n", "memory", std::nullopt},
        {"HybridV2Line", "4:memory:/v1\n0::/v2\n", "", "/v2"},
        {"V1LineIsNotV2", "4:memory:/v1\n", "", std::nullopt},
        {"RelativePathIgnored", "0::relative\n", "", std::nullopt},
    };
    for (const auto& [name, text, controller, path] : paths)
        EXPECT_EQ(memtext::CgroupPath(text, controller), path) << name;
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

// The shortfall a press is refused with, figures as the message gives them; none when it fits.
TEST(MemoryBudget, ReserveStaysFree)
{
    const std::int64_t reserve = kMemoryReserveBytes;
    const std::tuple<std::int64_t, std::int64_t, std::optional<MemoryShortfall>> rows[] = {
        {100 * MiB, 100 * MiB + reserve, std::nullopt},
        {100 * MiB + 1, 100 * MiB + reserve, MemoryShortfall{100 * MiB + 1, 100 * MiB}},
        {1, reserve - 1, MemoryShortfall{1, 0}},
        {1 << 30, std::numeric_limits<std::int64_t>::max(), std::nullopt},
    };
    const auto figures = [](const std::optional<MemoryShortfall>& s) {
        return s ? std::optional(std::pair(s->neededBytes, s->availableBytes)) : std::nullopt;
    };
    for (const auto& [bytes, headroom, shortfall] : rows)
        EXPECT_EQ(figures(ShortfallOf(bytes, headroom)), figures(shortfall)) << bytes;
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
