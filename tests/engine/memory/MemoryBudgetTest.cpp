// What a press needs and what the machine has: the kernel's figures, the headroom they leave, the buffers a
// run takes, and presses under a real address-space cap.
#include "engine/memory/MemoryBudget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/AllocateSampleBuffers.h"
#include "engine/core/WorkerPool.h"
#include "engine/entries/EntryTable.h"
#include "engine/memory/MemoryText.h"
#include "tests/support/Entries.h"

#if defined(__EMSCRIPTEN__)
#include <emscripten/heap.h>
#include <malloc.h>
#include <unistd.h>
#endif
#if defined(__linux__)
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
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
    // What the allocator holds free may sit at its top and be grown into
    // (threads' stacks above it keep it from being given back).
    const auto top = static_cast<std::int64_t>(reinterpret_cast<std::uintptr_t>(sbrk(0)));
    const auto heldFree = static_cast<std::int64_t>(static_cast<std::uint32_t>(mallinfo().fordblks));
    EXPECT_EQ(TakeRoom(256 * MiB), std::nullopt);
    EXPECT_GE(static_cast<std::int64_t>(emscripten_get_heap_size()), top + 256 * MiB - heldFree);
}
#endif

// One state throughout: every press follows one whose buffers hold 7.0, and each run must read zeros
// wherever it reuses storage (the same size, smaller, grown back over what a larger run left) or takes
// fresh storage. A refusal, for the largest N by the guard's own reading of this machine (/proc, or
// Windows' memory status) and so before any buffer is touched, leaves the last run's buffers alone.
// Refusing under a real limit is FftMemory's. The figures this system gives must be read at all, or every
// press would go unchecked.
TEST(SampleBuffers, EachRunLeavesNPlusTwoZerosARefusalLeavesThemAloneAndTheLargestIsCountedInFull)
{
    const MemoryFigures figures = ReadMemoryFigures();
    ASSERT_TRUE(figures.memAvailable.has_value());
    const std::int64_t headroom = HeadroomBytes(figures);
    EXPECT_TRUE(headroom > kMemoryReserveBytes && headroom <= *figures.memAvailable) << headroom;
    AnalysisState state;
    SampleBuffers& b = state.buffers;
    std::vector<std::pair<std::int32_t, std::optional<FaultKind>>> rows;
    for (const std::int32_t n : {300000, 300000, 100000, 300000, 5000, 1500, 0, -1, -2, 3, 100000})
        rows.emplace_back(n, std::nullopt);
    rows.emplace_back(2147483647, FaultKind::Overflow);
    if (headroom / 48 <= kLargestN) rows.emplace_back(kLargestN, FaultKind::OutOfMemory);
    std::int64_t elements = 0;
    for (const auto& [n, fault] : rows) {
        SCOPED_TRACE(n);
        for (CheckedArray& a : b.inAllocationOrder()) {
            for (double& v : a.range(0, a.size() - 1)) v = 7.0;
        }
        state.params.N = n;
        // Work handed in to run beside the clearing is said to have run exactly when it has.
        bool ran = false;
        bool said = false;
        EXPECT_EQ(support::FaultOf([&] { said = AllocateSampleBuffers(state, [&ran] { ran = true; }); }), fault);
        EXPECT_EQ(said, ran);
        if (!fault) elements = std::int64_t{n} + 2;
        for (const CheckedArray& a : std::as_const(b).inAllocationOrder()) {
            ASSERT_EQ(a.size(), elements);
            ASSERT_TRUE(std::all_of(a.all().begin(), a.all().end(),
                                    [expected = fault ? 7.0 : 0.0](double v) { return v == expected; }));
            // FFTW is planned for one alignment and executed on whatever storage comes next.
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(a.all().data()) % 64, 0u);
        }
    }
    // The six buffers of the largest N take 48 bytes a sample, far past what a 32-bit size_t holds
    // (WebAssembly's): a byte count taken in size_t there would wrap and make the press look small to the guard.
    state.params.N = kLargestN;
    EXPECT_GE(MemoryForRun(state), 6 * (std::int64_t{kLargestN} + 2) * std::int64_t{sizeof(double)});
}

#if defined(__linux__)
enum ChildExit { kCompleted = 0, kRefused = 1, kOtherFault = 2, kPeakAboveEstimate = 3 };

std::int64_t StatusField(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::ostringstream text;
    text << in.rdbuf();
    return memtext::KibibyteField(text.str(), key).value_or(-1);
}

// The steps of a press that take memory (the buffers and the spectrum) at N,
// with the address space capped where the memory check draws its line, `slack`
// bytes above or below. FFTW aborts the process when it cannot allocate, so a
// model that underestimates it ends in a signal.
[[noreturn]] void PressUnderCap(std::int32_t n, std::int64_t slack)
{
    AnalysisState state = support::DefaultState(n);
    ReadMemoryFigures();  // the allocator's first buffers for the reading are in place before `used`
    ProcessWorkers();     // as the program makes them at start
    const std::int64_t needed = MemoryForRun(state);
    const std::int64_t used = StatusField("VmSize");
    const auto cap = static_cast<rlim_t>(used + needed + kMemoryReserveBytes + slack);
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(kOtherFault);
    try {
        AllocateSampleBuffers(state);
        ComputeSpectrum(state);
    } catch (const RuntimeFault& fault) {
        const bool figures = fault.shortfall() && fault.shortfall()->neededBytes == needed;
        std::cerr << fault.what() << " needed " << needed << " told "
                  << (fault.shortfall() ? fault.shortfall()->neededBytes : -1);
        std::_Exit(fault.kind() == FaultKind::OutOfMemory && figures ? kRefused : kOtherFault);
    }
    // The estimate itself, not only the reserve kept on top of it, covers the press.
    std::_Exit(StatusField("VmPeak") - used <= needed ? kCompleted : kPeakAboveEstimate);
}

TEST(FftMemory, PressesFitTheMemoryCheckOrAreRefusedNeverAborted)
{
    if (StatusField("VmSize") > (std::int64_t{1} << 40))
        GTEST_SKIP() << "a sanitizer reserves terabytes of address space";
    // A forked child would inherit the process's worker pool without its threads, and wait on them for ever
    // whenever an earlier test of the same program had started them: each child starts the program afresh.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    constexpr std::int64_t kSlack = std::int64_t{1} << 20;
    const std::pair<const char*, std::int32_t> rows[] = {
        {"Prime", 3000017},       {"PrimeWhoseRaderSizeHasALargePrime", 4000039},  // 4000038 = 42 * 95239
        {"TwicePrime", 4000006},  {"ThreeTimesPrime", 3000009},
        {"TwoMidPrimes", 999919}, {"Composite", 10000000},
    };
    for (const auto& [name, n] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EXIT(PressUnderCap(n, kSlack), testing::ExitedWithCode(kCompleted), "");
        EXPECT_EXIT(PressUnderCap(n, -kSlack), testing::ExitedWithCode(kRefused), "");
    }
}
#endif

}  // namespace
}  // namespace trelvano
