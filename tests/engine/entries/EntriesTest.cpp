// The intake of the entries: its messages, what it holds, and the entry a fault's message names.
#include "engine/entries/FaultMessage.h"
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

constexpr std::int64_t MiB = std::int64_t{1} << 20, GiB = std::int64_t{1} << 30;
const std::string N = "\nCasella \"Numero campioni\": inserisci un numero ";
const std::string TooLarge = "\": il numero è troppo grande, inseriscine uno più piccolo.";
const RuntimeFault Overflow(FaultKind::Overflow), Index(FaultKind::IndexOutOfRange);
const RuntimeFault Float(FaultKind::FloatingPoint), Memory(FaultKind::OutOfMemory);

// The message for the fault the intake raises on `edits`, or else for `later`, raised after the intake
// held them.
std::string MessageAfterIntake(const RuntimeFault& later, const std::string& edits)
{
    AnalysisParameters params;
    support::RecordingSink sink;
    try {
        ValidateEntries(params, support::Edited(edits), sink);
    } catch (const RuntimeFault& fault) {
        return FaultMessage(fault, params);
    }
    return FaultMessage(later, params);
}

// Only faults a press can raise with these entries: the fault's text, as written out here, then the entry
// behind it, if any.
TEST(FaultMessage, FollowsTheFaultTextWithTheEntryBehindIt)
{
    const std::string hugeHex = "Text1=&H" + std::string(300, 'F');
    const std::tuple<RuntimeFault, std::string, std::string> rows[] = {
        {Index, "Text13=-5", N + "positivo."},
        {Overflow, "Text13=1e10", N + "fino a 2147483646."},
        {Overflow, "Text13=-1e10", N + "positivo."},
        {Overflow, "Text13=2147483647", N + "fino a 2147483646."},  // N + 1 overflows
        {Overflow, "Text13=2147483646.6", N + "fino a 2147483646."},
        {Overflow, "Text8=1e400", "\nCasella \"Ampiezza di picco portante" + TooLarge},
        {Overflow, "Text4=1e400", "\nCasella \"Indice di modulazione AM" + TooLarge},
        // W is read before N and fm; its hexadecimal number overflows the double.
        {Overflow, "Text7=1e400|Text13=1e10|" + hugeHex, "\nCasella \"Ampiezza finestra di calcolo" + TooLarge},
        {Overflow, "Text3=1e306", "\nCasella \"f portante: fp" + TooLarge},  // beyond a double in hertz
        {Float, "Text2=1e306", "\nCasella \"Fattore di espansione asse tempi" + TooLarge},
        // Kf·mf overflows: the larger of the two is to blame.
        {Float, "Text5=1e200|Text6=-1e250|Combo1=FM", "\nCasella \"Indice di modulazione MF o PM" + TooLarge},
        // W compared in the milliseconds it was entered in.
        {Float, "Text1=1e102|Text2=1e101|Text3=-1", "\nCasella \"Ampiezza finestra di calcolo" + TooLarge},
        // Kf·mf·fm = -fp cancels the frequency scale's denominator: no entry is to blame.
        {Float, "Text5=-1|Text6=10|Combo1=FM", ""},
        {Memory, "Text13=900000000", N + "più piccolo."},  // no figures
        {RuntimeFault(MemoryShortfall{GiB * 12 / 10, GiB * 8 / 10}), "",
         "\nServono circa 1,2 GB; il sistema ne può dare 0,8 GB." + N + "più piccolo."},
        {RuntimeFault(MemoryShortfall{300 * MiB, 0}), "",
         "\nServono circa 300 MB; il sistema ne può dare 0 MB." + N + "più piccolo."},
        {RuntimeFault(MemoryShortfall{GiB * 123 / 100, GiB * 121 / 100}), "",
         "\nServono circa 1,23 GB; il sistema ne può dare 1,21 GB." + N + "più piccolo."},  // close together
    };
    EXPECT_STREQ(FaultText(FaultKind::Overflow), "Errore: overflow. Un valore supera l'intervallo ammesso.");
    EXPECT_STREQ(FaultText(FaultKind::IndexOutOfRange), "Errore: indice fuori dall'intervallo.");
    EXPECT_STREQ(FaultText(FaultKind::FloatingPoint), "Errore di calcolo in virgola mobile.");
    EXPECT_STREQ(FaultText(FaultKind::OutOfMemory), "Memoria insufficiente per il numero di campioni richiesto.");
    for (const auto& [fault, edits, hint] : rows) {
        EXPECT_EQ(MessageAfterIntake(fault, edits), FaultText(fault.kind()) + hint) << edits;
    }
    // Outside the action there are figures but no entry.
    EXPECT_EQ(
        FaultMessage(RuntimeFault(MemoryShortfall{3 * GiB, GiB / 2})),
        std::string(FaultText(FaultKind::OutOfMemory)) + "\nServono circa 3,0 GB; il sistema ne può dare 0,5 GB.");
}

}  // namespace
}  // namespace trelvano
