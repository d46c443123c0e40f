#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <tuple>
#include <vector>

#include "engine/AllocateSampleBuffers.h"
#include "engine/entries/EntryTable.h"
#include "engine/memory/MemoryBudget.h"
#include "tests/support/Entries.h"

namespace trelvano {
namespace {

// One state throughout: every press follows one whose buffers hold 7.0. A refusal, for the largest N
// by the guard's own reading of this machine (/proc, or Windows' memory status) and so before any buffer
// is touched, leaves the last run's buffers alone. Refusing under a real limit is FftMemoryTest's.
TEST(SampleBuffers, EachRunLeavesNPlusTwoZerosAndARefusalLeavesThemAlone)
{
    AnalysisState state;
    SampleBuffers& b = state.buffers;
    std::vector<std::tuple<std::int32_t, std::int64_t, std::optional<FaultKind>>> rows = {
        {5000, 5002, {}},
        {1000, 1002, {}},
        {0, 2, {}},
        {-1, 1, {}},
        {-2, 0, {}},
        {3, 5, {}},
        {2147483647, 5, FaultKind::Overflow}};
    if (HeadroomBytes(ReadMemoryFigures()) / 48 <= kLargestN) rows.emplace_back(kLargestN, 5, FaultKind::OutOfMemory);
    for (const auto& [n, elements, fault] : rows) {
        SCOPED_TRACE(n);
        for (CheckedArray* a : {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum, &b.AmWave, &b.AngleWave}) {
            for (double& v : a->range(0, a->size() - 1)) v = 7.0;
        }
        state.params.N = n;
        EXPECT_EQ(support::FaultOf([&] { AllocateSampleBuffers(state); }), fault);
        for (CheckedArray* a : {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum, &b.AmWave, &b.AngleWave}) {
            ASSERT_EQ(a->size(), elements);
            ASSERT_TRUE(std::all_of(a->all().begin(), a->all().end(),
                                    [expected = fault ? 7.0 : 0.0](double v) { return v == expected; }));
        }
    }
}

// Reused storage is cleared only as far as it was written; what a smaller
// array left past its end must not come back when the array grows again.
TEST(SampleBuffers, ReusedStorageReadsZeroWhateverWasWrittenBefore)
{
    const std::tuple<const char*, std::int64_t, std::int64_t, std::int64_t> rows[] = {
        {"SameSize", 300000, 300000, 300000},
        {"ShrinkThenGrowBack", 300000, 300000, 100000},
        {"PartlyWritten", 1000, 10, 1000},
        {"FreshAfterShrinkingMuch", 400000, 400000, 20},
        {"Small", 7, 7, 5}};
    for (const auto& [name, first, written, second] : rows) {
        SCOPED_TRACE(name);
        CheckedArray a;
        a.recreate(first);
        for (double& v : a.range(0, written - 1)) v = 3.0;
        for (const std::int64_t size : {second, first}) {
            a.recreate(size);
            ASSERT_TRUE(std::all_of(a.all().begin(), a.all().end(), [](double v) { return v == 0.0; }));
        }
        // FFTW is planned for one alignment and executed on whatever storage comes next.
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a.all().data()) % 64, 0u);
        a.at(0) = a.at(first - 1) = 2.0;
        a.clearFrom(first / 2);
        EXPECT_TRUE(a.at(0) == 2.0 && a.at(first - 1) == 0.0);
        a.recreate(first);
        EXPECT_EQ(a.at(0), 0.0);
    }
}

}  // namespace
}  // namespace trelvano
