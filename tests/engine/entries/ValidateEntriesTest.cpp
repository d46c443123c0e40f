#include "engine/entries/ValidateEntries.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/Entries.h"

namespace trelvano {
namespace {

// Written out here rather than taken from the program, so that a slip in either shows.
const std::string M1 =
    "W non può essere un numero decimale perchè la finestra di osservazione deve contenere un numero intero di "
    "periodi, W sarà approssimato all'intero più vicino";
const std::string Periods =
    " deve essere un numero intero perchè la finestra di calcolo deve contenere un numero intero di periodi, se "
    "decimale sarà approssimata all'intero più vicino ";
const std::string M2 = "fp" + Periods, M3 = "fm" + Periods;
const std::string M4 = "W, fp, fm non possono essere nulli!";
const std::string M5 = "Deve essere fp minore o uguale a N/4W per Shannon ";
const std::string M6 =
    "Devi scegliere il tipo di modulazione cliccando sulla linguetta a destra della casella per la scelta del tipo "
    "di modulazione!";

TEST(FaultTexts, AsTheUserReadsThem)
{
    EXPECT_STREQ(FaultText(FaultKind::Overflow), "Errore: overflow. Un valore supera l'intervallo ammesso.");
    EXPECT_STREQ(FaultText(FaultKind::IndexOutOfRange), "Errore: indice fuori dall'intervallo.");
    EXPECT_STREQ(FaultText(FaultKind::FloatingPoint), "Errore di calcolo in virgola mobile.");
    EXPECT_STREQ(FaultText(FaultKind::OutOfMemory), "Memoria insufficiente per il numero di campioni richiesto.");
}

using Edit = void (*)(EntryTexts&);

// Starts from what an earlier accepted press left; records each message, and
// MessageText must hold it while the box is up.
struct Intake : MessageSink {
    AnalysisParameters params{.FreqScale = 123.0, .MessageText = "", .N = 7};
    std::vector<std::string> shown;
    void ShowMessage(const std::string& text) override
    {
        EXPECT_EQ(params.MessageText, text);
        shown.push_back(text);
    }
    ValidationResult Press(Edit edit)
    {
        EntryTexts e = support::Entries();
        edit(e);
        return ValidateEntries(params, e, *this);
    }
};

using enum ValidationResult;

// A row with a window was accepted: FreqScale = N / ((Kf·mf·fm + fp)·4W), Kf = 0 for AM
// (FM: 0.5 · 4.05 · 3 kHz + 30 kHz = 36.075 kHz).
TEST(ValidateEntries, MessagesInOrderThenWhatIsHeld)
{
    const struct { const char* name; Edit edit; std::vector<std::string> messages; double w = 0; int n = 1000; double freqScale = 0; } rows[] = {
        {"DefaultsAM", [](EntryTexts&) {}, {}, 0.002, 1000, 1000 / 240.0},
        {"DefaultsFM", [](EntryTexts& e) { e.Combo1 = "FM"; }, {}, 0.002, 1000, 1000 / 288.6},
        {"DefaultsPM", [](EntryTexts& e) { e.Combo1 = "PM"; }, {}, 0.002, 1000, 1000 / 288.6},
        {"AtSamplingLimit", [](EntryTexts& e) { e.Text3 = "125"; }, {}, 0.002, 1000, 1.0},
        {"SamplesHalfDown", [](EntryTexts& e) { e.Text13 = "1000.5"; }, {}, 0.002, 1000, 1000 / 240.0},
        {"SamplesHalfUp", [](EntryTexts& e) { e.Text13 = "1001.5"; }, {}, 0.002, 1002, 1002 / 240.0},
        // 9 times the double nearest 0.001, not the double nearest 0.009.
        {"NineMs", [](EntryTexts& e) { e.Text1 = "9.0"; e.Text3 = "20"; }, {}, 0.009000000000000001, 1000, 1000 / 720.0},
        {"CommasEndTheNumber", [](EntryTexts& e) { e.Text1 = "2,5"; e.Text3 = "30,7"; }, {}, 0.002, 1000, 1000 / 240.0},
        // Held as rounded half to even after the warnings: 2 ms, 30 kHz.
        {"ThreeWarningsThenRounded", [](EntryTexts& e) { e.Text1 = "2.5"; e.Text3 = "30.5"; e.Text7 = "3.5"; },
         {M1, M2, M3}, 0.002, 1000, 1000 / 240.0},
        {"WindowRoundsToZero", [](EntryTexts& e) { e.Text1 = "0.4"; }, {M1, M4}},
        {"EmptyWindow", [](EntryTexts& e) { e.Text1 = ""; }, {M4}},
        {"ModulatingHalfRoundsToZero", [](EntryTexts& e) { e.Text7 = "0.5"; }, {M3, M4}},
        {"AboveSamplingLimit", [](EntryTexts& e) { e.Text3 = "126"; }, {M5}},
        {"InitialTypeText", [](EntryTexts& e) { e.Combo1 = "Scegli la modulazione"; }, {M6}},
        {"LowerCaseType", [](EntryTexts& e) { e.Combo1 = "am"; }, {M6}},
        {"TrailingBlankType", [](EntryTexts& e) { e.Combo1 = "AM "; }, {M6}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Intake intake;
        EXPECT_EQ(intake.Press(row.edit), row.w != 0 ? Accepted : Stopped);
        EXPECT_EQ(intake.shown, row.messages);
        EXPECT_EQ(intake.params.MessageText, row.messages.empty() ? "" : row.messages.back());
        EXPECT_EQ(intake.params.N, row.n);
        if (row.w != 0) {
            EXPECT_EQ(intake.params.W, row.w);
            EXPECT_DOUBLE_EQ(intake.params.FreqScale, row.freqScale);
        } else {
            EXPECT_EQ(intake.params.FreqScale, 123.0);  // only an accepted press sets it
            EXPECT_EQ(intake.params.Kf, 0.5);           // and only an accepted AM press zeroes this
        }
    }
}

TEST(ValidateEntries, FaultsLeaveWhatWasWrittenBeforeThem)
{
    Intake tooMany, cancelling;
    auto press = [&] { tooMany.Press([](EntryTexts& e) { e.Text13 = "1e10"; e.Text1 = "2.5"; }); };
    EXPECT_EQ(support::FaultOf(press), FaultKind::Overflow);
    EXPECT_EQ(tooMany.params.W, 0.002);
    EXPECT_EQ(tooMany.params.MessageText, M1);
    EXPECT_EQ(tooMany.params.N, 7);
    // Kf·mf·fm = -fp cancels the scale's denominator.
    auto fm = [&] { cancelling.Press([](EntryTexts& e) { e.Text5 = "-1"; e.Text6 = "10"; e.Combo1 = "FM"; }); };
    EXPECT_EQ(support::FaultOf(fm), FaultKind::FloatingPoint);
    EXPECT_EQ(cancelling.params.FreqScale, 123.0);
}

}  // namespace
}  // namespace trelvano
