#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "engine/AnalysisState.h"
#include "engine/CheckedArray.h"
#include "engine/MemoryBudget.h"
#include "engine/RuntimeFault.h"
#include "SampleStates.h"

namespace trelvano {
namespace {

std::vector<const CheckedArray*> AllSix(const SampleBuffers& b)
{
    return {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum, &b.AmWave, &b.AngleWave};
}

void FillAll(SampleBuffers& b, double value)
{
    for (CheckedArray* a : {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum, &b.AmWave, &b.AngleWave}) {
        for (std::int64_t i = 0; i < a->size(); ++i) a->at(i) = value;
    }
}

struct SizeRow {
    const char* name;
    std::int32_t n;
    std::int64_t elements;
};

class BufferSize : public ::testing::TestWithParam<SizeRow> {};

TEST_P(BufferSize, EverySixHoldTheirCountOfZeros)
{
    AnalysisState state;
    state.params.N = GetParam().n;
    AllocateSampleBuffers(state);
    for (const CheckedArray* a : AllSix(state.buffers)) {
        ASSERT_EQ(a->size(), GetParam().elements);
        for (double v : a->all()) EXPECT_EQ(v, 0.0);
    }
}

INSTANTIATE_TEST_SUITE_P(SampleBuffers, BufferSize,
                         ::testing::Values(SizeRow{"zero_samples_keep_two", 0, 2}, SizeRow{"one_sample", 1, 3},
                                           SizeRow{"default_thousand", 1000, 1002},
                                           SizeRow{"minus_one_keeps_index_zero", -1, 1},
                                           SizeRow{"minus_two_is_empty", -2, 0},
                                           SizeRow{"very_negative_is_empty", std::numeric_limits<std::int32_t>::min(), 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SampleBuffers, SecondSmallerAllocationLeavesNothingOfTheFirst)
{
    AnalysisState state;
    state.params.N = 5000;
    AllocateSampleBuffers(state);
    FillAll(state.buffers, 7.0);

    state.params.N = 10;
    AllocateSampleBuffers(state);
    for (const CheckedArray* a : AllSix(state.buffers)) {
        ASSERT_EQ(a->size(), 12);
        for (double v : a->all()) EXPECT_EQ(v, 0.0);
        EXPECT_THROW(a->at(12), RuntimeFault);
    }
}

TEST(SampleBuffers, OverflowingUpperBoundTouchesNoBuffer)
{
    AnalysisState state;
    state.params.N = 3;
    AllocateSampleBuffers(state);
    FillAll(state.buffers, 2.0);

    state.params.N = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(enginetest::FaultOf([&] { AllocateSampleBuffers(state); }), FaultKind::Overflow);
    for (const CheckedArray* a : AllSix(state.buffers)) {
        ASSERT_EQ(a->size(), 5);
        for (double v : a->all()) EXPECT_EQ(v, 2.0);
    }
}

TEST(SampleBuffers, LargestAllowedUpperBoundIsNotAnOverflow)
{
    // N + 1 = 2147483647 still fits; what stops this N is memory, not overflow.
    AnalysisState state;
    state.params.N = std::numeric_limits<std::int32_t>::max() - 1;
    if (HeadroomBytes(ReadMemoryFigures()) / 48 > state.params.N) GTEST_SKIP() << "this machine could hold them";
    EXPECT_EQ(enginetest::FaultOf([&] { AllocateSampleBuffers(state); }), FaultKind::OutOfMemory);
    EXPECT_TRUE(state.buffers.Signal.empty());
}

// recreate() reuses storage unless it is far larger than needed, and says in
// advance what it will take.
struct RecreateRow {
    const char* name;
    std::int64_t before;
    std::int64_t after;
    bool keepsStorage;
};

class Recreate : public ::testing::TestWithParam<RecreateRow> {};

TEST_P(Recreate, SizeStorageAndForecastAgree)
{
    const RecreateRow row = GetParam();
    CheckedArray a;
    a.recreate(row.before);
    for (std::int64_t i = 0; i < a.size(); ++i) a.at(i) = 3.0;
    const std::int64_t heldBefore = a.heldBytes();
    const std::int64_t forecast = a.extraBytesFor(row.after);

    a.recreate(row.after);
    EXPECT_EQ(a.size(), std::max<std::int64_t>(row.after, 0));
    for (double v : a.all()) EXPECT_EQ(v, 0.0);
    EXPECT_EQ(a.heldBytes() - heldBefore, forecast);
    EXPECT_EQ(a.heldBytes() == heldBefore && heldBefore > 0, row.keepsStorage);
    if (!row.keepsStorage) {
        EXPECT_EQ(a.heldBytes(), a.size() * std::int64_t{sizeof(double)});
    }
}

INSTANTIATE_TEST_SUITE_P(CheckedArray, Recreate,
                         ::testing::Values(RecreateRow{"same_size", 1000, 1000, true},
                                           RecreateRow{"a_quarter_is_kept", 1000, 250, true},
                                           RecreateRow{"below_a_quarter_gives_back", 1000, 249, false},
                                           RecreateRow{"growing_reallocates", 100, 101, false},
                                           RecreateRow{"from_empty", 0, 10, false},
                                           RecreateRow{"to_zero_frees", 1000, 0, false},
                                           RecreateRow{"negative_count_is_empty", 1000, -5, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CheckedArray, EveryAccessOutsideRaisesIndexOutOfRange)
{
    CheckedArray a;
    a.recreate(3);
    EXPECT_EQ(enginetest::FaultOf([&] { a.at(-1); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(enginetest::FaultOf([&] { a.at(3); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(enginetest::FaultOf([&] { a.range(0, 3); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(enginetest::FaultOf([&] { a.range(-1, 1); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(a.range(0, 2).size(), 3u);
    EXPECT_TRUE(a.range(2, 1).empty());

    a.release();
    EXPECT_EQ(enginetest::FaultOf([&] { a.at(0); }), FaultKind::IndexOutOfRange);
    EXPECT_EQ(a.heldBytes(), 0);
}

}  // namespace
}  // namespace trelvano
