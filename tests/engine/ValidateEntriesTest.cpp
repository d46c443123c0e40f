#include "engine/ValidateEntries.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/RuntimeFault.h"

namespace trelvano {
namespace {

// The six messages as the user must read them, written out here on purpose
// rather than taken from the program, so that a slip in either shows.
const std::string M1 =
    "W non può essere un numero decimale perchè la finestra di osservazione deve contenere un numero intero di "
    "periodi, W sarà approssimato all'intero più vicino";
const std::string M2 =
    "fp deve essere un numero intero perchè la finestra di calcolo deve contenere un numero intero di periodi, se "
    "decimale sarà approssimata all'intero più vicino ";
const std::string M3 =
    "fm deve essere un numero intero perchè la finestra di calcolo deve contenere un numero intero di periodi, se "
    "decimale sarà approssimata all'intero più vicino ";
const std::string M4 = "W, fp, fm non possono essere nulli!";
const std::string M5 = "Deve essere fp minore o uguale a N/4W per Shannon ";
const std::string M6 =
    "Devi scegliere il tipo di modulazione cliccando sulla linguetta a destra della casella per la scelta del tipo "
    "di modulazione!";

// Records each message together with what MessageText held while it was up.
class RecordingSink : public MessageSink {
public:
    explicit RecordingSink(const AnalysisParameters& params) : params_(params) {}
    void ShowMessage(const std::string& text) override
    {
        shown.push_back(text);
        messageTextWhileShown.push_back(params_.MessageText);
    }
    std::vector<std::string> shown;
    std::vector<std::string> messageTextWhileShown;

private:
    const AnalysisParameters& params_;
};

EntryTexts Defaults(const std::string& type)
{
    EntryTexts e;
    e.Text2 = "1";
    e.Text8 = "25";
    e.Text1 = "2";
    e.Text13 = "1000";
    e.Text4 = "0.5";
    e.Text6 = "4.05";
    e.Text5 = "0.5";
    e.Text3 = "30";
    e.Text7 = "3";
    e.Combo1 = type;
    return e;
}

struct MessageCase {
    const char* name;
    std::function<void(EntryTexts&)> edit;
    std::vector<std::string> messages;
    ValidationResult result;
};

std::string PrintName(const testing::TestParamInfo<MessageCase>& info)
{
    return info.param.name;
}

class ValidationMessages : public testing::TestWithParam<MessageCase> {};

TEST_P(ValidationMessages, ShowsTheseMessagesInOrder)
{
    const MessageCase& c = GetParam();
    EntryTexts entries = Defaults("AM");
    c.edit(entries);
    AnalysisParameters params;
    RecordingSink sink(params);
    EXPECT_EQ(ValidateEntries(params, entries, sink), c.result);
    EXPECT_EQ(sink.shown, c.messages);
    // MessageText is set before each box goes up and keeps the last one.
    EXPECT_EQ(sink.messageTextWhileShown, c.messages);
    EXPECT_EQ(params.MessageText, c.messages.empty() ? std::string() : c.messages.back());
}

using E = EntryTexts;
constexpr auto Accepted = ValidationResult::Accepted;
constexpr auto Stopped = ValidationResult::Stopped;

INSTANTIATE_TEST_SUITE_P(
    Rows, ValidationMessages,
    testing::Values(
        MessageCase{"DefaultsAM", [](E&) {}, {}, Accepted},
        MessageCase{"DefaultsFM", [](E& e) { e.Combo1 = "FM"; }, {}, Accepted},
        MessageCase{"DefaultsPM", [](E& e) { e.Combo1 = "PM"; }, {}, Accepted},
        MessageCase{"AllThreeWarningsThenGoOn",
                    [](E& e) { e.Text1 = "2.5"; e.Text3 = "30.5"; e.Text7 = "3.5"; }, {M1, M2, M3}, Accepted},
        MessageCase{"WindowRoundsToZero", [](E& e) { e.Text1 = "0.4"; }, {M1, M4}, Stopped},
        MessageCase{"WindowHalfRoundsToZero", [](E& e) { e.Text1 = "0.5"; }, {M1, M4}, Stopped},
        MessageCase{"CarrierFraction", [](E& e) { e.Text3 = "12.5"; }, {M2}, Accepted},
        MessageCase{"ModulatingHalfRoundsToZero", [](E& e) { e.Text7 = "0.5"; }, {M3, M4}, Stopped},
        MessageCase{"NegativeFractionWarns", [](E& e) { e.Text1 = "-2.5"; e.Text13 = "-1000"; }, {M1}, Accepted},
        MessageCase{"EmptyWindow", [](E& e) { e.Text1 = ""; }, {M4}, Stopped},
        MessageCase{"EmptyCarrier", [](E& e) { e.Text3 = ""; }, {M4}, Stopped},
        MessageCase{"TextModulating", [](E& e) { e.Text7 = "abc"; }, {M4}, Stopped},
        MessageCase{"EmptySamples", [](E& e) { e.Text13 = ""; }, {M5}, Stopped},
        MessageCase{"AboveSamplingLimit", [](E& e) { e.Text3 = "126"; }, {M5}, Stopped},
        MessageCase{"AtSamplingLimit", [](E& e) { e.Text3 = "125"; }, {}, Accepted},
        MessageCase{"WarningThenSamplingLimit", [](E& e) { e.Text3 = "125.6"; }, {M2, M5}, Stopped},
        MessageCase{"ZeroTestBeforeSamplingTest", [](E& e) { e.Text1 = "0"; e.Text13 = "0"; }, {M4}, Stopped},
        MessageCase{"SamplingTestBeforeTypeTest", [](E& e) { e.Text3 = "126"; e.Combo1 = "x"; }, {M5}, Stopped},
        MessageCase{"InitialTypeText", [](E& e) { e.Combo1 = "Scegli la modulazione"; }, {M6}, Stopped},
        MessageCase{"LowerCaseType", [](E& e) { e.Combo1 = "am"; }, {M6}, Stopped},
        MessageCase{"TrailingBlankType", [](E& e) { e.Combo1 = "AM "; }, {M6}, Stopped},
        MessageCase{"LeadingBlankType", [](E& e) { e.Combo1 = " FM"; }, {M6}, Stopped},
        MessageCase{"EmptyType", [](E& e) { e.Combo1 = ""; }, {M6}, Stopped},
        MessageCase{"WarningsThenType", [](E& e) { e.Text1 = "2.5"; e.Combo1 = "pm"; }, {M1, M6}, Stopped},
        MessageCase{"CommaWindowReadsWhole", [](E& e) { e.Text1 = "2,5"; }, {}, Accepted},
        MessageCase{"NegativeCarrierPassesSampling", [](E& e) { e.Text3 = "-30"; e.Text13 = "0"; }, {}, Accepted}),
    PrintName);

TEST(ValidateEntries, DefaultEntriesGiveTheDocumentedFields)
{
    for (const char* type : {"AM", "FM", "PM"}) {
        SCOPED_TRACE(type);
        AnalysisParameters params;
        RecordingSink sink(params);
        ASSERT_EQ(ValidateEntries(params, Defaults(type), sink), ValidationResult::Accepted);
        EXPECT_EQ(params.Kt, 1.0);
        EXPECT_EQ(params.Vp, 25.0);
        EXPECT_EQ(params.W, 0.002);
        EXPECT_EQ(params.N, 1000);
        EXPECT_EQ(params.mAM, 0.5);
        EXPECT_EQ(params.mf, 4.05);
        EXPECT_EQ(params.fp, 30000.0);
        EXPECT_EQ(params.fm, 3000.0);
        if (std::string(type) == "AM") {
            EXPECT_EQ(params.Kf, 0.0);
            EXPECT_DOUBLE_EQ(params.FreqScale, 4.166666666666667);
        } else {
            EXPECT_EQ(params.Kf, 0.5);
            EXPECT_DOUBLE_EQ(params.FreqScale, 3.465003465003465);
        }
    }
}

TEST(ValidateEntries, RoundsHalvesToEvenAndScalesByMultiplication)
{
    struct Row {
        const char* window;
        const char* samples;
        double w;
        int n;
    };
    const Row rows[] = {
        {"2.5", "1000.5", 0.002, 1000}, {"3.5", "1001.5", 0.004, 1002}, {"9", "1000", 0.009000000000000001, 1000}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.window);
        EntryTexts entries = Defaults("AM");
        entries.Text1 = row.window;
        entries.Text13 = row.samples;
        AnalysisParameters params;
        RecordingSink sink(params);
        ValidateEntries(params, entries, sink);
        EXPECT_EQ(params.W, row.w);
        EXPECT_EQ(params.N, row.n);
    }
    // 9 ms is 9 times the double nearest 0.001, not the double nearest 0.009.
    EntryTexts entries = Defaults("AM");
    entries.Text1 = "9";
    AnalysisParameters params;
    RecordingSink sink(params);
    ValidateEntries(params, entries, sink);
    EXPECT_NE(params.W, 0.009);
}

TEST(ValidateEntries, CommaEndsTheNumberWithoutAMessage)
{
    EntryTexts entries = Defaults("AM");
    entries.Text4 = "0,5";
    entries.Text3 = "30,7";
    AnalysisParameters params;
    RecordingSink sink(params);
    EXPECT_EQ(ValidateEntries(params, entries, sink), ValidationResult::Accepted);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(params.mAM, 0.0);
    EXPECT_EQ(params.fp, 30000.0);
}

TEST(ValidateEntries, NegativeWindowAndSamplesPass)
{
    EntryTexts entries = Defaults("FM");
    entries.Text1 = "-2";
    entries.Text13 = "-1000";
    AnalysisParameters params;
    RecordingSink sink(params);
    EXPECT_EQ(ValidateEntries(params, entries, sink), ValidationResult::Accepted);
    EXPECT_EQ(params.W, -0.002);
    EXPECT_EQ(params.N, -1000);
    EXPECT_GT(params.FreqScale, 0.0);  // both signs cancel
}

AnalysisParameters LastCompletedRun()
{
    AnalysisParameters params;
    params.Kt = 7.0;
    params.Vp = 7.0;
    params.W = 0.007;
    params.N = 7;
    params.mAM = 7.0;
    params.mf = 7.0;
    params.Kf = 7.0;
    params.fp = 7000.0;
    params.fm = 7000.0;
    params.FreqScale = 123.0;
    return params;
}

TEST(ValidateEntries, StoppedPressKeepsNewFieldsAndOldScale)
{
    for (const char* stopper : {"zero", "sampling", "type"}) {
        SCOPED_TRACE(stopper);
        EntryTexts entries = Defaults("AM");
        if (std::string(stopper) == "zero") entries.Text7 = "0";
        if (std::string(stopper) == "sampling") entries.Text3 = "126";
        if (std::string(stopper) == "type") entries.Combo1 = "am";
        AnalysisParameters params = LastCompletedRun();
        RecordingSink sink(params);
        ASSERT_EQ(ValidateEntries(params, entries, sink), ValidationResult::Stopped);
        EXPECT_EQ(params.Kt, 1.0);
        EXPECT_EQ(params.Vp, 25.0);
        EXPECT_EQ(params.W, 0.002);
        EXPECT_EQ(params.N, 1000);
        EXPECT_EQ(params.mAM, 0.5);
        EXPECT_EQ(params.mf, 4.05);
        EXPECT_EQ(params.Kf, 0.5);  // as entered: only an accepted AM press zeroes it
        EXPECT_EQ(params.fp, std::string(stopper) == "sampling" ? 126000.0 : 30000.0);
        EXPECT_EQ(params.fm, std::string(stopper) == "zero" ? 0.0 : 3000.0);
        EXPECT_EQ(params.FreqScale, 123.0);
    }
}

TEST(ValidateEntries, AcceptedPressLeavesTheLastMessageText)
{
    AnalysisParameters params;
    RecordingSink sink(params);
    EntryTexts entries = Defaults("AM");
    entries.Combo1 = "";
    ValidateEntries(params, entries, sink);
    ASSERT_EQ(params.MessageText, M6);
    EXPECT_EQ(ValidateEntries(params, Defaults("AM"), sink), ValidationResult::Accepted);
    EXPECT_EQ(params.MessageText, M6);
}

template <typename Edit>
FaultKind FaultOf(AnalysisParameters& params, Edit edit)
{
    EntryTexts entries = Defaults("FM");
    edit(entries);
    RecordingSink sink(params);
    try {
        ValidateEntries(params, entries, sink);
    } catch (const RuntimeFault& fault) {
        return fault.kind();
    }
    ADD_FAILURE() << "no fault";
    return FaultKind::OutOfMemory;
}

TEST(ValidateEntries, SamplesBeyond32BitsOverflowAfterTheEarlierFields)
{
    for (const char* samples : {"1e10", "2147483648", "-2147483649"}) {
        SCOPED_TRACE(samples);
        AnalysisParameters params = LastCompletedRun();
        EXPECT_EQ(FaultOf(params, [&](E& e) { e.Text13 = samples; e.Text1 = "2.5"; }), FaultKind::Overflow);
        EXPECT_EQ(params.Kt, 1.0);
        EXPECT_EQ(params.Vp, 25.0);
        EXPECT_EQ(params.W, 0.002);
        EXPECT_EQ(params.N, 7);        // not held
        EXPECT_EQ(params.mAM, 7.0);    // not yet read
        EXPECT_EQ(params.MessageText, M1);
    }
}

TEST(ValidateEntries, ValuesBeyondDoubleRangeOverflow)
{
    AnalysisParameters params = LastCompletedRun();
    EXPECT_EQ(FaultOf(params, [](E& e) { e.Text6 = "1e400"; }), FaultKind::Overflow);
    EXPECT_EQ(params.mAM, 0.5);
    EXPECT_EQ(params.mf, 7.0);

    // Representable in kilohertz, not in hertz.
    params = LastCompletedRun();
    EXPECT_EQ(FaultOf(params, [](E& e) { e.Text3 = "1e306"; }), FaultKind::Overflow);
    EXPECT_EQ(params.Kf, 0.5);
    EXPECT_EQ(params.fp, 1e306);  // the entry as read, before scaling
    EXPECT_EQ(params.fm, 7000.0);
}

TEST(ValidateEntries, UndefinedFrequencyScaleFaultsAndKeepsTheOldOne)
{
    struct Row {
        const char* name;
        const char* kf;
        const char* mf;
    };
    // Kf·mf·fm = -fp cancels the denominator; the other row overflows on the way.
    const Row rows[] = {{"ZeroDenominator", "-1", "10"}, {"InfiniteDeviation", "1e200", "1e200"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisParameters params = LastCompletedRun();
        EXPECT_EQ(FaultOf(params, [&](E& e) { e.Text5 = row.kf; e.Text6 = row.mf; }), FaultKind::FloatingPoint);
        EXPECT_EQ(params.FreqScale, 123.0);
    }
}

TEST(ValidateEntries, ZeroSamplesGiveAZeroScale)
{
    EntryTexts entries = Defaults("AM");
    entries.Text13 = "0";
    entries.Text3 = "-30";
    AnalysisParameters params = LastCompletedRun();
    RecordingSink sink(params);
    EXPECT_EQ(ValidateEntries(params, entries, sink), ValidationResult::Accepted);
    EXPECT_EQ(params.FreqScale, 0.0);
}

}  // namespace
}  // namespace trelvano
