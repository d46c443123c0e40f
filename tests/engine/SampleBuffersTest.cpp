#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "engine/AnalysisState.h"
#include "engine/MemoryBudget.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

using enginetest::FaultOf;

template <typename Check>
void ForAllSix(SampleBuffers& b, Check check)
{
    for (CheckedArray* a : {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum, &b.AmWave, &b.AngleWave}) check(*a);
}

void Fill(AnalysisState& state, double value)
{
    ForAllSix(state.buffers, [&](CheckedArray& a) {
        for (double& v : a.range(0, a.size() - 1)) v = value;
    });
}

TEST(SampleBuffers, EachRunLeavesNPlusTwoZerosAndARefusalLeavesThemAlone)
{
    const bool couldHoldABillion = HeadroomBytes(ReadMemoryFigures()) / 48 > 1'000'000'000;
    // One state throughout: every run follows one whose buffers hold 7.0.
    AnalysisState state;
    const struct { std::int32_t n; std::int64_t elements; std::optional<FaultKind> fault; } rows[] = {
        {5000, 5002, {}}, {1000, 1002, {}}, {0, 2, {}}, {-1, 1, {}}, {-2, 0, {}}, {3, 5, {}},
        {2147483647, 5, FaultKind::Overflow}, {1'000'000'000, 5, FaultKind::OutOfMemory}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.n);
        if (row.fault == FaultKind::OutOfMemory && couldHoldABillion) continue;
        Fill(state, 7.0);
        state.params.N = row.n;
        EXPECT_EQ(FaultOf([&] { AllocateSampleBuffers(state); }), row.fault);
        ForAllSix(state.buffers, [&](CheckedArray& a) {
            ASSERT_EQ(a.size(), row.elements);
            for (double v : a.all()) ASSERT_EQ(v, row.fault ? 7.0 : 0.0);
        });
    }
}

// In a child whose address space is capped 1 GiB above what it uses, 30 million
// samples (1.44 GB of buffers) must be refused before any buffer is re-created:
// a failed allocation halfway would already have freed Signal.
[[noreturn]] void RefuseBeyondAddressSpaceCap(std::int64_t used)
{
    const auto cap = static_cast<rlim_t>(used + (std::int64_t{1} << 30));
    const rlimit limit{cap, cap};
    AnalysisState state;
    state.params.N = 8;
    AllocateSampleBuffers(state);
    Fill(state, 4.5);
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

}  // namespace
}  // namespace trelvano
