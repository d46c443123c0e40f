#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <optional>

#include "engine/AnalysisState.h"
#include "engine/FftPlan.h"
#include "engine/MemoryBudget.h"
#include "engine/RuntimeFault.h"
#include "SampleStates.h"

#if defined(__SANITIZE_ADDRESS__)
#define TRELVANO_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TRELVANO_TEST_ASAN 1
#endif
#endif

namespace trelvano {
namespace {

constexpr std::int64_t kKiB = 1024;
constexpr std::int64_t kGiB = kKiB * kKiB * kKiB;

TEST(MemoryGuard, BillionSamplesIsOutOfMemoryAndKeepsTheBuffers)
{
    constexpr std::int32_t kBillion = 1'000'000'000;
    if (HeadroomBytes(ReadMemoryFigures()) / 48 > kBillion) GTEST_SKIP() << "this machine could hold 48 GB";

    AnalysisState state;
    state.params.N = 8;
    AllocateSampleBuffers(state);
    state.buffers.Signal.at(3) = 4.5;

    state.params.N = kBillion;
    EXPECT_EQ(enginetest::FaultOf([&] { AllocateSampleBuffers(state); }), FaultKind::OutOfMemory);
    EXPECT_EQ(state.buffers.Signal.size(), 10);
    EXPECT_EQ(state.buffers.Signal.at(3), 4.5);
    EXPECT_EQ(state.buffers.AngleWave.size(), 10);
}

TEST(MemoryGuard, RequireMemoryRefusesMoreThanTheHeadroom)
{
    EXPECT_EQ(enginetest::FaultOf([] { RequireMemory(0); }), std::nullopt);
    EXPECT_EQ(enginetest::FaultOf([] { RequireMemory(std::int64_t{1} << 20); }), std::nullopt);
    EXPECT_EQ(enginetest::FaultOf([] { RequireMemory(std::numeric_limits<std::int64_t>::max()); }),
              FaultKind::OutOfMemory);
}

// In a child process whose address space is capped a little above what it
// already uses, so the cap, not the machine, is what must stop the request.
enum ChildOutcome {
    kCompleted = 0,
    kOutOfMemory = 10,
    kOtherFault = 11,
    kBadAllocEscaped = 12,
    kNoLimit = 13,
    kBuffersTouched = 14,
};

template <typename Action>
[[noreturn]] void RunUnderAddressCap(std::int64_t headroomBytes, Action action)
{
    MemoryFigures figures = ReadMemoryFigures();
    if (!figures.addressSpaceUsed) std::_Exit(kNoLimit);
    const rlimit cap{static_cast<rlim_t>(*figures.addressSpaceUsed + headroomBytes),
                     static_cast<rlim_t>(*figures.addressSpaceUsed + headroomBytes)};
    if (setrlimit(RLIMIT_AS, &cap) != 0) std::_Exit(kNoLimit);
    try {
        const std::optional<FaultKind> fault = enginetest::FaultOf(action);
        if (!fault) std::_Exit(kCompleted);
        std::_Exit(*fault == FaultKind::OutOfMemory ? kOutOfMemory : kOtherFault);
    } catch (const std::bad_alloc&) {
        std::_Exit(kBadAllocEscaped);
    }
}

class MemoryGuardUnderCap : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef TRELVANO_TEST_ASAN
        GTEST_SKIP() << "AddressSanitizer reserves terabytes of address space";
#endif
        GTEST_FLAG_SET(death_test_style, "threadsafe");
    }
};

TEST_F(MemoryGuardUnderCap, BuffersBeyondTheCapAreOutOfMemory)
{
    // 30 million samples need 1.44 GB of buffers against a 1 GiB cap. The
    // refusal must come before any buffer is re-created, not from a failed
    // allocation halfway through.
    EXPECT_EXIT(RunUnderAddressCap(kGiB,
                                   [] {
                                       AnalysisState state;
                                       state.params.N = 8;
                                       AllocateSampleBuffers(state);
                                       state.params.N = 30'000'000;
                                       const auto fault = enginetest::FaultOf([&] { AllocateSampleBuffers(state); });
                                       if (state.buffers.Signal.size() != 10) std::_Exit(kBuffersTouched);
                                       if (fault) throw RuntimeFault(*fault);
                                   }),
                ::testing::ExitedWithCode(kOutOfMemory), "");
}

TEST_F(MemoryGuardUnderCap, RunWithinTheCapCompletes)
{
    // The guard must not refuse what fits: a million samples take about
    // 100 MB with the transform.
    EXPECT_EXIT(RunUnderAddressCap(kGiB,
                                   [] {
                                       AnalysisState state;
                                       state.params = enginetest::DefaultParameters();
                                       state.params.N = 1'000'000;
                                       enginetest::RunToSpectrum(state, "AM");
                                   }),
                ::testing::ExitedWithCode(kCompleted), "");
}

TEST_F(MemoryGuardUnderCap, TransformBeyondTheCapIsOutOfMemoryNotAnAbort)
{
    // FFTW aborts when its planner runs out of memory; the plan must refuse first.
    EXPECT_EXIT(RunUnderAddressCap(256 * kKiB * kKiB, [] { FftPlan plan(30'000'000); }),
                ::testing::ExitedWithCode(kOutOfMemory), "");
}

// The figures of the kernel's text files.
TEST(MemoryText, Fields)
{
    const char* meminfo = "MemTotal:       24683772 kB\nMemAvailable:   24349904 kB\n";
    EXPECT_EQ(memtext::KibibyteField(meminfo, "MemAvailable"), std::int64_t{24349904} * kKiB);
    EXPECT_EQ(memtext::KibibyteField(meminfo, "Mem"), std::nullopt);  // a whole key, not a prefix
    EXPECT_EQ(memtext::KibibyteField("VmData: 2048 MB\n", "VmData"), std::nullopt);
    EXPECT_EQ(memtext::KibibyteField("VmData: n/a\n", "VmData"), std::nullopt);

    EXPECT_EQ(memtext::CgroupValue("max\n"), std::nullopt);
    EXPECT_EQ(memtext::CgroupValue("1073741824\n"), kGiB);
    EXPECT_EQ(memtext::StatField("total_inactive_file 999\ninactive_file 4096\n", "inactive_file"), 4096);
}

TEST(MemoryText, CgroupPaths)
{
    EXPECT_EQ(memtext::CgroupPath("0::/user.slice/app.scope\n", ""), "/user.slice/app.scope");
    const char* v1 = "5:cpu,cpuacct:/a\n4:memory:/process_api/42\n0::/\n";
    EXPECT_EQ(memtext::CgroupPath(v1, "memory"), "/process_api/42");
    EXPECT_EQ(memtext::CgroupPath(v1, "cpuacct"), "/a");
    EXPECT_EQ(memtext::CgroupPath(v1, ""), "/");
    EXPECT_EQ(memtext::CgroupPath("4:memoryx:/b\n", "memory"), std::nullopt);
    EXPECT_EQ(memtext::CgroupPath("4:memory:/b\n", ""), std::nullopt);
}

struct HeadroomRow {
    const char* name;
    MemoryFigures figures;
    std::int64_t headroom;
};

class Headroom : public ::testing::TestWithParam<HeadroomRow> {};

TEST_P(Headroom, IsTheTightestBound)
{
    EXPECT_EQ(HeadroomBytes(GetParam().figures), GetParam().headroom);
}

MemoryFigures Figures(std::optional<std::int64_t> available, std::optional<std::int64_t> asLimit,
                      std::optional<std::int64_t> asUsed, std::optional<std::int64_t> dataLimit,
                      std::optional<std::int64_t> dataUsed, std::vector<CgroupMemory> groups = {})
{
    return MemoryFigures{available, asLimit, asUsed, dataLimit, dataUsed, std::move(groups)};
}

INSTANTIATE_TEST_SUITE_P(
    MemoryBudget, Headroom,
    ::testing::Values(
        HeadroomRow{"nothing_known", Figures({}, {}, {}, {}, {}), std::numeric_limits<std::int64_t>::max()},
        HeadroomRow{"available_only", Figures(5000, {}, 100, {}, 50), 5000},
        HeadroomRow{"address_space_cap", Figures(5000, 1000, 400, {}, {}), 600},
        HeadroomRow{"data_cap", Figures(5000, 1000, 400, 900, 800), 100},
        HeadroomRow{"already_over_a_cap", Figures(5000, 1000, 1200, {}, {}), 0},
        HeadroomRow{"cgroup_counts_inactive_files_back", Figures(5000, {}, {}, {}, {}, {{3000, 2500, 1000}}), 1500},
        HeadroomRow{"tightest_cgroup_of_the_chain", Figures(9000, {}, {}, {}, {}, {{3000, 500, 0}, {8000, 7000, 0}}),
                    1000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryBudget, ThisProcessHasFigures)
{
    const MemoryFigures figures = ReadMemoryFigures();
    ASSERT_TRUE(figures.memAvailable.has_value());
    EXPECT_GT(*figures.memAvailable, 0);
    ASSERT_TRUE(figures.addressSpaceUsed.has_value());
    EXPECT_GT(*figures.addressSpaceUsed, 0);
    EXPECT_LE(HeadroomBytes(figures), *figures.memAvailable);
}

}  // namespace
}  // namespace trelvano
