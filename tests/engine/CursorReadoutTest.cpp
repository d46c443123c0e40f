#include "engine/CursorReadout.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "engine/RuntimeFault.h"

namespace trelvano {
namespace {

// The state a run with the default entries and "AM" leaves behind, filled by
// hand so that these tests depend on the readouts alone: the waveform peaks at
// sample 0 (Vp·(1 + mAM) = 37.5 V), the carrier line of 25 V sits on bin 60
// and the two side lines of 6.25 V on bins 54 and 66.
AnalysisState DefaultAmRun()
{
    AnalysisState state;
    AnalysisParameters& p = state.params;
    p.Vp = 25.0;
    p.Kt = 1.0;
    p.W = 0.002;
    p.N = 1000;
    p.fp = 30000.0;
    p.fm = 3000.0;
    p.FreqScale = 1000.0 / (30000.0 * 0.008);
    SampleBuffers& b = state.buffers;
    for (CheckedArray* buffer : {&b.Signal, &b.SpecRe, &b.SpecIm, &b.Spectrum, &b.AmWave, &b.AngleWave}) {
        buffer->recreate(p.N + 2);
    }
    b.Signal.at(0) = 37.5;
    b.Signal.at(1) = -20.0;
    b.Spectrum.at(54) = 6.25;
    b.Spectrum.at(60) = 25.0;
    b.Spectrum.at(66) = 6.25;
    // Stale peaks: the readouts must recompute them from the buffers.
    p.SignalPeak = 99.0;
    p.SpectrumPeak = 99.0;
    return state;
}

struct ReadoutCase {
    const char* name;
    float x;
    float y;
    const char* expected;
};

std::string PrintName(const testing::TestParamInfo<ReadoutCase>& info)
{
    return info.param.name;
}

class WaveformReadoutTable : public testing::TestWithParam<ReadoutCase> {};

TEST_P(WaveformReadoutTable, DefaultAmRun)
{
    AnalysisState state = DefaultAmRun();
    EXPECT_EQ(WaveformReadout(state, GetParam().x, GetParam().y, "."), GetParam().expected);
    EXPECT_EQ(state.params.SignalPeak, 37.5);
}

INSTANTIATE_TEST_SUITE_P(
    Points, WaveformReadoutTable,
    testing::Values(ReadoutCase{"MiddleAtPeak", 50.0F, 95.0F, "t= 1.00 msec ; V(t) = 3.75E+01 V"},
                    ReadoutCase{"LeftEdgeOnZero", 0.0F, 50.0F, "t= 0.00 msec ; V(t) = 0.00E+00 V"},
                    ReadoutCase{"RightEdgeAtMinusPeak", 100.0F, 5.0F, "t= 2.00 msec ; V(t) = -3.75E+01 V"},
                    ReadoutCase{"BottomEdge", 25.0F, 0.0F, "t= 0.50 msec ; V(t) = -4.17E+01 V"},
                    ReadoutCase{"LeftOfThePlot", -10.0F, 60.0F, "t= -0.20 msec ; V(t) = 8.33E+00 V"}),
    PrintName);

class SpectrumReadoutTable : public testing::TestWithParam<ReadoutCase> {};

TEST_P(SpectrumReadoutTable, DefaultAmRun)
{
    AnalysisState state = DefaultAmRun();
    EXPECT_EQ(SpectrumReadout(state, GetParam().x, GetParam().y, "."), GetParam().expected);
    EXPECT_EQ(state.params.SpectrumPeak, 25.0);
}

INSTANTIATE_TEST_SUITE_P(
    Points, SpectrumReadoutTable,
    testing::Values(ReadoutCase{"CarrierTop", 50.0F, 90.0F, "f= 30000.00 Hz ; S(f) = 2.50E+01 V"},
                    ReadoutCase{"LowerSideLineTop", 45.0F, 22.5F, "f= 27000.00 Hz ; S(f) = 6.25E+00 V"},
                    ReadoutCase{"UpperSideLineTop", 55.0F, 22.5F, "f= 33000.00 Hz ; S(f) = 6.25E+00 V"},
                    ReadoutCase{"Origin", 0.0F, 0.0F, "f= 0.00 Hz ; S(f) = 0.00E+00 V"},
                    ReadoutCase{"RightEdgeTop", 100.0F, 100.0F, "f= 60000.00 Hz ; S(f) = 2.78E+01 V"}),
    PrintName);

TEST(CursorReadout, UsesTheGivenDecimalSeparator)
{
    AnalysisState state = DefaultAmRun();
    EXPECT_EQ(WaveformReadout(state, 50.0F, 95.0F, ","), "t= 1,00 msec ; V(t) = 3,75E+01 V");
    EXPECT_EQ(SpectrumReadout(state, 50.0F, 90.0F, ","), "f= 30000,00 Hz ; S(f) = 2,50E+01 V");
}

TEST(CursorReadout, TimeScalesWithTheExpansionFactor)
{
    AnalysisState state = DefaultAmRun();
    state.params.Kt = 2.0;
    EXPECT_EQ(WaveformReadout(state, 100.0F, 50.0F, "."), "t= 1.00 msec ; V(t) = 0.00E+00 V");
}

TEST(CursorReadout, SpectrumStoresFrequencyAndLevel)
{
    AnalysisState state = DefaultAmRun();
    SpectrumReadout(state, 50.0F, 45.0F, ".");
    EXPECT_DOUBLE_EQ(state.params.CursorFreq, 30000.0);
    EXPECT_DOUBLE_EQ(state.params.CursorLevel, 12.5);
}

TEST(CursorReadout, UndefinedScalesShowNotDefinedWithoutFailing)
{
    struct Row {
        const char* name;
        void (*edit)(AnalysisParameters&);
        float x;
        const char* waveform;
        const char* spectrum;
    };
    const Row rows[] = {
        {"ZeroExpansion", [](AnalysisParameters& p) { p.Kt = 0.0; }, 50.0F, "t= n.d. msec ; V(t) = 3.75E+01 V",
         "f= 30000.00 Hz ; S(f) = 2.50E+01 V"},
        {"ZeroExpansionAtOrigin", [](AnalysisParameters& p) { p.Kt = 0.0; }, 0.0F, "t= n.d. msec ; V(t) = 3.75E+01 V",
         "f= 0.00 Hz ; S(f) = 2.50E+01 V"},
        {"ZeroWindow", [](AnalysisParameters& p) { p.W = 0.0; }, 50.0F, "t= 0.00 msec ; V(t) = 3.75E+01 V",
         "f= n.d. Hz ; S(f) = 2.50E+01 V"},
        {"ZeroFrequencyScale", [](AnalysisParameters& p) { p.FreqScale = 0.0; }, 50.0F,
         "t= 1.00 msec ; V(t) = 3.75E+01 V", "f= n.d. Hz ; S(f) = 2.50E+01 V"},
        {"ZeroScaleAtOrigin", [](AnalysisParameters& p) { p.FreqScale = 0.0; }, 0.0F,
         "t= 0.00 msec ; V(t) = 3.75E+01 V", "f= n.d. Hz ; S(f) = 2.50E+01 V"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisState state = DefaultAmRun();
        row.edit(state.params);
        EXPECT_EQ(WaveformReadout(state, row.x, 95.0F, "."), row.waveform);
        EXPECT_EQ(SpectrumReadout(state, row.x, 90.0F, "."), row.spectrum);
    }
}

TEST(CursorReadout, BeforeAnyRunTheLevelIsZero)
{
    AnalysisState state;  // no buffers at all
    state.params.W = 0.002;
    state.params.Kt = 1.0;
    state.params.N = 1000;
    state.params.FreqScale = 4.0;
    state.params.SignalPeak = 5.0;
    state.params.SpectrumPeak = 5.0;
    EXPECT_EQ(WaveformReadout(state, 50.0F, 95.0F, "."), "t= 1.00 msec ; V(t) = 0.00E+00 V");
    EXPECT_EQ(SpectrumReadout(state, 50.0F, 90.0F, "."), "f= 31250.00 Hz ; S(f) = 0.00E+00 V");
    EXPECT_EQ(state.params.SignalPeak, 0.0);
    EXPECT_EQ(state.params.SpectrumPeak, 0.0);
}

TEST(CursorReadout, NegativeSampleCountWithNoBuffersDoesNotFail)
{
    AnalysisState state = DefaultAmRun();
    state.params.N = -1000;
    for (CheckedArray* buffer : {&state.buffers.Signal, &state.buffers.Spectrum}) buffer->recreate(0);
    EXPECT_NO_THROW(WaveformReadout(state, 50.0F, 95.0F, "."));
    EXPECT_NO_THROW(SpectrumReadout(state, 50.0F, 90.0F, "."));
}

TEST(CursorReadout, SmallestSampleCountDoesNotFail)
{
    // Left by a rejected press; the buffers are those of the last run.
    AnalysisState state = DefaultAmRun();
    state.params.N = std::numeric_limits<std::int32_t>::min();
    state.buffers.Spectrum.at(0) = -3.0;
    EXPECT_NO_THROW(WaveformReadout(state, 50.0F, 95.0F, "."));
    EXPECT_NO_THROW(SpectrumReadout(state, 0.0F, 90.0F, "."));
    EXPECT_EQ(state.params.SpectrumPeak, -3.0);
}

TEST(CursorReadout, SampleCountRaisedBeyondTheBuffersStaysInside)
{
    // A rejected press has raised N; the buffers are those of the last run.
    AnalysisState state = DefaultAmRun();
    state.params.N = 5000;
    EXPECT_EQ(WaveformReadout(state, 50.0F, 95.0F, "."), "t= 1.00 msec ; V(t) = 3.75E+01 V");
    EXPECT_EQ(state.params.SignalPeak, 37.5);
    // N enters the frequency: 5000 samples over 2 ms with the old scale.
    EXPECT_EQ(SpectrumReadout(state, 50.0F, 90.0F, "."), "f= 150000.00 Hz ; S(f) = 2.50E+01 V");
    EXPECT_EQ(state.params.SpectrumPeak, 25.0);
}

TEST(CursorReadout, ZeroPeaksGiveZeroLevels)
{
    AnalysisState state = DefaultAmRun();
    for (CheckedArray* buffer : {&state.buffers.Signal, &state.buffers.Spectrum}) buffer->recreate(1002);
    EXPECT_EQ(WaveformReadout(state, 30.0F, 95.0F, "."), "t= 0.60 msec ; V(t) = 0.00E+00 V");
    EXPECT_EQ(SpectrumReadout(state, 30.0F, 90.0F, "."), "f= 18000.00 Hz ; S(f) = 0.00E+00 V");
}

}  // namespace
}  // namespace trelvano
