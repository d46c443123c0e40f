#include <gtest/gtest.h>

#if defined(__unix__)
#include <sys/resource.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "engine/AllocateSampleBuffers.h"
#include "engine/entries/EntryTable.h"
#include "engine/memory/MemoryBudget.h"
#include "tests/engine/SampleStates.h"

namespace trelvano {
namespace {

using enginetest::FaultOf;

// A refusal for want of memory, which depends on the machine, is the address-space cap test's.
TEST(SampleBuffers, EachRunLeavesNPlusTwoZerosAndARefusalLeavesThemAlone)
{
    AnalysisState state;  // one state throughout: every run follows one whose buffers hold 7.0
    SampleBuffers& b = state.buffers;
    auto forAllSix = [&](auto check) {
        for (CheckedArray* a : {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum, &b.AmWave, &b.AngleWave}) check(*a);
    };
    const struct { std::int32_t n; std::int64_t elements; std::optional<FaultKind> fault; } rows[] = {
        {5000, 5002, {}}, {1000, 1002, {}}, {0, 2, {}}, {-1, 1, {}}, {-2, 0, {}}, {3, 5, {}},
        {2147483647, 5, FaultKind::Overflow}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.n);
        forAllSix([](CheckedArray& a) { for (double& v : a.range(0, a.size() - 1)) v = 7.0; });
        state.params.N = row.n;
        EXPECT_EQ(FaultOf([&] { AllocateSampleBuffers(state); }), row.fault);
        forAllSix([&](CheckedArray& a) {
            ASSERT_EQ(a.size(), row.elements);
            for (double v : a.all()) ASSERT_EQ(v, row.fault ? 7.0 : 0.0);
        });
    }
}

// The guard's own reading of this machine (Linux's /proc, Windows' memory
// status) refuses the largest N, about 100 GB, before any buffer is touched.
TEST(SampleBuffers, TheLargestNIsRefusedForWantOfMemory)
{
    if (HeadroomBytes(ReadMemoryFigures()) / 48 > kLargestN) GTEST_SKIP() << "this machine could hold the largest N";
    AnalysisState state = enginetest::DefaultState(8);
    AllocateSampleBuffers(state);
    state.buffers.Signal.at(9) = 4.5;
    state.params.N = kLargestN;
    EXPECT_EQ(FaultOf([&] { AllocateSampleBuffers(state); }), FaultKind::OutOfMemory);
    EXPECT_TRUE(state.buffers.Signal.size() == 10 && state.buffers.Signal.at(9) == 4.5);
}

// Reused storage is cleared only as far as it was written; what a smaller
// array left past its end must not come back when the array grows again.
TEST(SampleBuffers, ReusedStorageReadsZeroWhateverWasWrittenBefore)
{
    const struct { const char* name; std::int64_t first, written, second; } rows[] = {
        {"SameSize", 300000, 300000, 300000},
        {"ShrinkThenGrowBack", 300000, 300000, 100000},
        {"PartlyWritten", 1000, 10, 1000},
        {"FreshAfterShrinkingMuch", 400000, 400000, 20},
        {"Small", 7, 7, 5},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CheckedArray a;
        a.recreate(row.first);
        const std::span<double> written = a.range(0, row.written - 1);
        std::fill(written.begin(), written.end(), 3.0);
        a.recreate(row.second);
        for (double v : a.all()) ASSERT_EQ(v, 0.0);
        a.recreate(row.first);
        for (double v : a.all()) ASSERT_EQ(v, 0.0);
        // FFTW is planned for one alignment and executed on whatever storage comes next.
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.all().data()) % 64, 0u);
        a.at(0) = 2.0;
        a.at(row.first - 1) = 2.0;
        a.clearFrom(row.first / 2);
        EXPECT_EQ(a.at(0), 2.0);
        EXPECT_EQ(a.at(row.first - 1), 0.0);
        a.recreate(row.first);
        EXPECT_EQ(a.at(0), 0.0);
    }
}

#if defined(__unix__)
// With the address space capped 1 GiB above what the child uses, 30 million samples
// (1.44 GB of buffers) must be refused before Signal is re-created.
[[noreturn]] void RefuseBeyondAddressSpaceCap(std::int64_t used)
{
    const auto cap = static_cast<rlim_t>(used + (std::int64_t{1} << 30));
    const rlimit limit{cap, cap};
    AnalysisState state = enginetest::DefaultState(8);
    AllocateSampleBuffers(state);
    state.buffers.Signal.at(9) = 4.5;
    state.params.N = 30'000'000;
    const bool refused = setrlimit(RLIMIT_AS, &limit) == 0 &&
                         FaultOf([&] { AllocateSampleBuffers(state); }) == FaultKind::OutOfMemory;
    std::_Exit(refused && state.buffers.Signal.size() == 10 && state.buffers.Signal.at(9) == 4.5 ? 0 : 1);
}

TEST(SampleBuffers, AddressSpaceCapRefusesBeforeAnyBufferIsTouched)
{
    const std::int64_t used = ReadMemoryFigures().addressSpaceUsed.value_or(0);
    if (used > (std::int64_t{1} << 40)) GTEST_SKIP() << "a sanitizer reserves terabytes of address space";
    EXPECT_EXIT(RefuseBeyondAddressSpaceCap(used), testing::ExitedWithCode(0), "");
}

#endif

}  // namespace
}  // namespace trelvano
