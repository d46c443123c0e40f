#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/AllocateSampleBuffers.h"
#include "engine/entries/EntryTable.h"
#include "engine/memory/MemoryBudget.h"
#include "tests/support/Entries.h"

namespace trelvano {
namespace {

// One state throughout: every press follows one whose buffers hold 7.0, and each run must read zeros
// wherever it reuses storage (the same size, smaller, grown back over what a larger run left) or takes
// fresh storage. A refusal, for the largest N by the guard's own reading of this machine (/proc, or
// Windows' memory status) and so before any buffer is touched, leaves the last run's buffers alone.
// Refusing under a real limit is FftMemoryTest's.
TEST(SampleBuffers, EachRunLeavesNPlusTwoZerosAndARefusalLeavesThemAlone)
{
    AnalysisState state;
    SampleBuffers& b = state.buffers;
    std::vector<std::pair<std::int32_t, std::optional<FaultKind>>> rows;
    for (const std::int32_t n : {300000, 300000, 100000, 300000, 5000, 1500, 0, -1, -2, 3})
        rows.emplace_back(n, std::nullopt);
    rows.emplace_back(2147483647, FaultKind::Overflow);
    if (HeadroomBytes(ReadMemoryFigures()) / 48 <= kLargestN) rows.emplace_back(kLargestN, FaultKind::OutOfMemory);
    std::int64_t elements = 0;
    for (const auto& [n, fault] : rows) {
        SCOPED_TRACE(n);
        for (CheckedArray& a : b.inAllocationOrder()) {
            for (double& v : a.range(0, a.size() - 1)) v = 7.0;
        }
        state.params.N = n;
        EXPECT_EQ(support::FaultOf([&] { AllocateSampleBuffers(state); }), fault);
        if (!fault) elements = std::int64_t{n} + 2;
        for (const CheckedArray& a : std::as_const(b).inAllocationOrder()) {
            ASSERT_EQ(a.size(), elements);
            ASSERT_TRUE(std::all_of(a.all().begin(), a.all().end(),
                                    [expected = fault ? 7.0 : 0.0](double v) { return v == expected; }));
            // FFTW is planned for one alignment and executed on whatever storage comes next.
            ASSERT_EQ(reinterpret_cast<std::uintptr_t>(a.all().data()) % 64, 0u);
        }
    }
}

// The six buffers of the largest N take 48 bytes a sample, far past what a
// 32-bit size_t holds (WebAssembly's): a byte count taken in size_t there
// would wrap and make the press look small to the guard.
TEST(SampleBuffers, TheLargestRunIsCountedInFull)
{
    AnalysisState state;
    state.params.N = kLargestN;
    const std::int64_t elements = std::int64_t{kLargestN} + 2;
    EXPECT_GE(MemoryForRun(state), 6 * elements * std::int64_t{sizeof(double)});
}

}  // namespace
}  // namespace trelvano
