#include "engine/entries/FaultMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "tests/support/Entries.h"

namespace trelvano {
namespace {

constexpr std::int64_t MiB = std::int64_t{1} << 20, GiB = std::int64_t{1} << 30;
const std::string N = "\nCasella \"Numero campioni\": inserisci un numero ";
const std::string TooLarge = "\": il numero è troppo grande, inseriscine uno più piccolo.";
const RuntimeFault Overflow(FaultKind::Overflow), Index(FaultKind::IndexOutOfRange);
const RuntimeFault Float(FaultKind::FloatingPoint), Memory(FaultKind::OutOfMemory);

// Only faults a press can raise with these entries: each names the entry behind it, if any.
TEST(FaultMessage, FollowsTheFaultTextWithTheEntryBehindIt)
{
    using Edits = std::vector<std::pair<std::string EntryTexts::*, std::string>>;
    const struct { const char* name; RuntimeFault fault; Edits edits; std::string hint; } rows[] = {
        {"NegativeN", Index, {{&EntryTexts::Text13, "-5"}}, N + "positivo."},
        {"NBeyond32Bits", Overflow, {{&EntryTexts::Text13, "1e10"}}, N + "fino a 2147483646."},
        {"NBelow32Bits", Overflow, {{&EntryTexts::Text13, "-1e10"}}, N + "positivo."},
        {"NPlusOneOverflows", Overflow, {{&EntryTexts::Text13, "2147483647"}}, N + "fino a 2147483646."},
        {"NJustPastItsLimit", Overflow, {{&EntryTexts::Text13, "2147483646.6"}}, N + "fino a 2147483646."},
        {"UnreadableAmplitude", Overflow, {{&EntryTexts::Text8, "1e400"}},
         "\nCasella \"Ampiezza di picco portante" + TooLarge},
        // W is read before N and fm; its hexadecimal number overflows the double.
        {"FirstUnreadableInReadingOrder", Overflow,
         {{&EntryTexts::Text7, "1e400"}, {&EntryTexts::Text13, "1e10"}, {&EntryTexts::Text1, "&H" + std::string(300, 'F')}},
         "\nCasella \"Ampiezza finestra di calcolo" + TooLarge},
        {"CarrierBeyondDoubleInHertz", Overflow, {{&EntryTexts::Text3, "1e306"}},
         "\nCasella \"f portante: fp" + TooLarge},
        {"HugeTimeExpansion", Float, {{&EntryTexts::Text2, "1e306"}},
         "\nCasella \"Fattore di espansione asse tempi" + TooLarge},
        {"LargestOfTwoHugeValues", Float, {{&EntryTexts::Text5, "1e200"}, {&EntryTexts::Text6, "-1e250"}},
         "\nCasella \"Indice di modulazione MF o PM" + TooLarge},
        // Kf·mf·fm = -fp cancels the frequency scale's denominator: no entry is to blame.
        {"FloatingPointWithOrdinaryValues", Float, {{&EntryTexts::Text5, "-1"}, {&EntryTexts::Text6, "10"}, {&EntryTexts::Combo1, "FM"}}, ""},
        {"MemoryWithoutFigures", Memory, {{&EntryTexts::Text13, "900000000"}}, N + "più piccolo."},
        {"MemoryInGigabytes", RuntimeFault(MemoryShortfall{GiB * 12 / 10, GiB * 8 / 10}), {},
         "\nServono circa 1,2 GB; il sistema ne può dare 0,8 GB." + N + "più piccolo."},
        {"MemoryInMegabytes", RuntimeFault(MemoryShortfall{300 * MiB, 0}), {},
         "\nServono circa 300 MB; il sistema ne può dare 0 MB." + N + "più piccolo."},
        {"MemoryFiguresCloseTogether", RuntimeFault(MemoryShortfall{GiB * 123 / 100, GiB * 121 / 100}), {},
         "\nServono circa 1,23 GB; il sistema ne può dare 1,21 GB." + N + "più piccolo."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EntryTexts entries = support::Entries();
        for (const auto& [box, text] : row.edits) entries.*box = text;
        EXPECT_EQ(FaultMessage(row.fault, entries), FaultText(row.fault.kind()) + row.hint);
    }
    // Outside the action there are figures but no entry.
    EXPECT_EQ(FaultMessage(RuntimeFault(MemoryShortfall{3 * GiB, GiB / 2})),
              std::string(FaultText(FaultKind::OutOfMemory)) + "\nServono circa 3,0 GB; il sistema ne può dare 0,5 GB.");
}

}  // namespace
}  // namespace trelvano
