#include "engine/ValidateEntries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SampleStates.h"

namespace trelvano {
namespace {

// Written out here rather than taken from the program, so that a slip in either shows.
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

// Records each message; MessageText must hold it while the box is up.
class RecordingSink : public MessageSink {
public:
    explicit RecordingSink(const AnalysisParameters& params) : params_(params) {}
    void ShowMessage(const std::string& text) override
    {
        EXPECT_EQ(params_.MessageText, text);
        shown.push_back(text);
    }
    std::vector<std::string> shown;

private:
    const AnalysisParameters& params_;
};

using Edit = void (*)(EntryTexts&);

EntryTexts Defaults(Edit edit = [](EntryTexts&) {})
{
    EntryTexts e{"1", "25", "2", "1000", "0.5", "4.05", "0.5", "30", "3", "AM"};
    edit(e);
    return e;
}

// What an earlier accepted press left in the fields that matter here.
AnalysisParameters EarlierRun()
{
    AnalysisParameters p;
    p.N = 7;
    p.mAM = 7.0;
    p.FreqScale = 123.0;
    return p;
}

constexpr auto Accepted = ValidationResult::Accepted;
constexpr auto Stopped = ValidationResult::Stopped;

TEST(ValidateEntries, ShowsTheseMessagesInOrder)
{
    const struct { const char* name; Edit edit; std::vector<std::string> messages; ValidationResult result; } rows[] = {
        {"ThreeWarningsThenGoOn", [](EntryTexts& e) { e.Text1 = "2.5"; e.Text3 = "30.5"; e.Text7 = "3.5"; },
         {M1, M2, M3}, Accepted},
        {"WindowRoundsToZero", [](EntryTexts& e) { e.Text1 = "0.4"; }, {M1, M4}, Stopped},
        {"EmptyWindow", [](EntryTexts& e) { e.Text1 = ""; }, {M4}, Stopped},
        {"ModulatingHalfRoundsToZero", [](EntryTexts& e) { e.Text7 = "0.5"; }, {M3, M4}, Stopped},
        {"AboveSamplingLimit", [](EntryTexts& e) { e.Text3 = "126"; }, {M5}, Stopped},
        {"AtSamplingLimit", [](EntryTexts& e) { e.Text3 = "125"; }, {}, Accepted},
        {"SamplingBeforeType", [](EntryTexts& e) { e.Text3 = "126"; e.Combo1 = "pm"; }, {M5}, Stopped},
        {"InitialTypeText", [](EntryTexts& e) { e.Combo1 = "Scegli la modulazione"; }, {M6}, Stopped},
        {"LowerCaseType", [](EntryTexts& e) { e.Combo1 = "am"; }, {M6}, Stopped},
        {"TrailingBlankType", [](EntryTexts& e) { e.Combo1 = "AM "; }, {M6}, Stopped},
        {"WarningThenType", [](EntryTexts& e) { e.Text1 = "2.5"; e.Combo1 = "pm"; }, {M1, M6}, Stopped},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisParameters params;
        RecordingSink sink(params);
        EXPECT_EQ(ValidateEntries(params, Defaults(row.edit), sink), row.result);
        EXPECT_EQ(sink.shown, row.messages);
        EXPECT_EQ(params.MessageText, row.messages.empty() ? "" : row.messages.back());
    }
}

TEST(ValidateEntries, AcceptedEntriesAsHeld)
{
    // FreqScale = N / ((Kf·mf·fm + fp)·4W), Kf = 0 for AM.
    const struct { const char* name; Edit edit; double w; int n; double fp, freqScale; } rows[] = {
        {"DefaultsAM", [](EntryTexts&) {}, 0.002, 1000, 30000.0, 4.166666666666667},
        {"DefaultsFM", [](EntryTexts& e) { e.Combo1 = "FM"; }, 0.002, 1000, 30000.0, 3.465003465003465},
        {"DefaultsPM", [](EntryTexts& e) { e.Combo1 = "PM"; }, 0.002, 1000, 30000.0, 3.465003465003465},
        {"SamplesHalfDown", [](EntryTexts& e) { e.Text13 = "1000.5"; }, 0.002, 1000, 30000.0, 1000 / 240.0},
        {"SamplesHalfUp", [](EntryTexts& e) { e.Text13 = "1001.5"; }, 0.002, 1002, 30000.0, 1002 / 240.0},
        // 9 times the double nearest 0.001, not the double nearest 0.009.
        {"NineMs", [](EntryTexts& e) { e.Text1 = "9.0"; e.Text3 = "20"; }, 0.009000000000000001, 1000, 20000.0,
         1000 / 720.0},
        {"CommaWindow", [](EntryTexts& e) { e.Text1 = "2,5"; }, 0.002, 1000, 30000.0, 1000 / 240.0},
        {"CommaCarrier", [](EntryTexts& e) { e.Text3 = "30,7"; }, 0.002, 1000, 30000.0, 1000 / 240.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisParameters params;
        RecordingSink sink(params);
        EXPECT_EQ(ValidateEntries(params, Defaults(row.edit), sink), Accepted);
        EXPECT_TRUE(sink.shown.empty());
        EXPECT_EQ(params.W, row.w);
        EXPECT_EQ(params.N, row.n);
        EXPECT_EQ(params.fp, row.fp);
        EXPECT_DOUBLE_EQ(params.FreqScale, row.freqScale);
    }
}

TEST(ValidateEntries, StoppedPressWritesTheFieldsButKeepsTheOldScale)
{
    AnalysisParameters params = EarlierRun();
    RecordingSink sink(params);
    ASSERT_EQ(ValidateEntries(params, Defaults([](EntryTexts& e) { e.Combo1 = "am"; }), sink), Stopped);
    EXPECT_EQ(params.Kt, 1.0);
    EXPECT_EQ(params.W, 0.002);
    EXPECT_EQ(params.N, 1000);
    EXPECT_EQ(params.Kf, 0.5);  // as entered: only an accepted AM press zeroes it
    EXPECT_EQ(params.FreqScale, 123.0);
}

TEST(ValidateEntries, FaultsLeaveWhatWasWrittenBeforeThem)
{
    AnalysisParameters params = EarlierRun();
    RecordingSink sink(params);
    const EntryTexts tooMany = Defaults([](EntryTexts& e) { e.Text13 = "1e10"; e.Text1 = "2.5"; });
    EXPECT_EQ(enginetest::FaultOf([&] { ValidateEntries(params, tooMany, sink); }), FaultKind::Overflow);
    EXPECT_EQ(params.W, 0.002);
    EXPECT_EQ(params.MessageText, M1);
    EXPECT_EQ(params.N, 7);
    EXPECT_EQ(params.mAM, 7.0);

    // Kf·mf·fm = -fp cancels the scale's denominator.
    params = EarlierRun();
    const EntryTexts cancelling = Defaults([](EntryTexts& e) { e.Text5 = "-1"; e.Text6 = "10"; e.Combo1 = "FM"; });
    EXPECT_EQ(enginetest::FaultOf([&] { ValidateEntries(params, cancelling, sink); }), FaultKind::FloatingPoint);
    EXPECT_EQ(params.FreqScale, 123.0);
}

}  // namespace
}  // namespace trelvano
