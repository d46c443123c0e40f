#include "engine/entries/FaultMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine/entries/ValidateEntries.h"
#include "tests/support/Entries.h"

namespace trelvano {
namespace {

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
