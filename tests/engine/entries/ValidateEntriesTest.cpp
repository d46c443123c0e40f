#include "engine/entries/ValidateEntries.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <tuple>
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
    ValidationResult Press(std::string_view edits) { return ValidateEntries(params, support::Edited(edits), *this); }
};

// A row with a window was accepted: FreqScale = N / ((Kf·mf·fm + fp)·4W), Kf = 0 for AM
// (FM: 0.5 · 4.05 · 3 kHz + 30 kHz = 36.075 kHz).
TEST(ValidateEntries, MessagesInOrderThenWhatIsHeld)
{
    using Messages = std::vector<std::string>;
    const std::tuple<const char*, Messages, double, int, double> rows[] = {
        {"", {}, 0.002, 1000, 1000 / 240.0},
        {"Combo1=FM", {}, 0.002, 1000, 1000 / 288.6},
        {"Text3=125", {}, 0.002, 1000, 1.0},  // at the sampling limit
        {"Text13=1000.5", {}, 0.002, 1000, 1000 / 240.0},
        {"Text13=1001.5", {}, 0.002, 1002, 1002 / 240.0},
        // 9 times the double nearest 0.001, not the double nearest 0.009.
        {"Text1=9.0|Text3=20", {}, 0.009000000000000001, 1000, 1000 / 720.0},
        // Held as rounded half to even after the warnings: 2 ms, 30 kHz.
        {"Text1=2.5|Text3=30.5|Text7=3.5", {M1, M2, M3}, 0.002, 1000, 1000 / 240.0},
        // Stopped: no window held.
        {"Text1=0.4", {M1, M4}, 0, 1000, 0},
        {"Text1=", {M4}, 0, 1000, 0},
        {"Text7=0.5", {M3, M4}, 0, 1000, 0},
        {"Text3=126", {M5}, 0, 1000, 0},
        {"Combo1=Scegli la modulazione", {M6}, 0, 1000, 0},
        {"Combo1=am", {M6}, 0, 1000, 0},
    };
    for (const auto& [edits, messages, w, n, freqScale] : rows) {
        SCOPED_TRACE(edits);
        Intake intake;
        EXPECT_EQ(intake.Press(edits), w != 0 ? ValidationResult::Accepted : ValidationResult::Stopped);
        EXPECT_EQ(intake.shown, messages);
        EXPECT_EQ(intake.params.MessageText, messages.empty() ? "" : messages.back());
        EXPECT_EQ(intake.params.N, n);
        // Only an accepted press sets the scale, and only an accepted AM press zeroes Kf.
        EXPECT_TRUE(w == 0 || intake.params.W == w) << intake.params.W;
        EXPECT_DOUBLE_EQ(intake.params.FreqScale, w != 0 ? freqScale : 123.0);
        EXPECT_EQ(intake.params.Kf, w != 0 && std::string_view(edits).find("FM") == std::string::npos ? 0.0 : 0.5);
    }
}

}  // namespace
}  // namespace trelvano
