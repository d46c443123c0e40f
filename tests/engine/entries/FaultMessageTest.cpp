#include "engine/entries/FaultMessage.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/Entries.h"

namespace trelvano {
namespace {

constexpr std::int64_t MiB = std::int64_t{1} << 20, GiB = std::int64_t{1} << 30;
const std::string N = "\nCasella \"Numero campioni\": inserisci un numero ";
const std::string TooLarge = "\": il numero è troppo grande, inseriscine uno più piccolo.";

// Entries changed from the defaults, and what must follow the fault's own text.
using Edits = std::vector<std::pair<std::string EntryTexts::*, std::string>>;
struct Row {
    const char* name;
    RuntimeFault fault;
    Edits edits;
    std::string hint;
};
void PrintTo(const Row& row, std::ostream* os)
{
    *os << row.name;
}

class FaultMessageTest : public testing::TestWithParam<Row> {};

TEST_P(FaultMessageTest, FollowsTheFaultTextWithTheEntryBehindIt)
{
    EntryTexts entries = support::Entries();
    for (const auto& [box, text] : GetParam().edits) entries.*box = text;
    EXPECT_EQ(FaultMessage(GetParam().fault, entries), FaultText(GetParam().fault.kind()) + GetParam().hint);
}

const RuntimeFault Overflow(FaultKind::Overflow), Index(FaultKind::IndexOutOfRange);
const RuntimeFault Float(FaultKind::FloatingPoint), Memory(FaultKind::OutOfMemory);

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultMessageTest,
    testing::Values(
        Row{"NegativeN", Index, Edits{{&EntryTexts::Text13, "-5"}}, N + "positivo."},
        Row{"IndexFaultWithSoundN", Index, Edits{{&EntryTexts::Text13, "7"}}, ""},
        Row{"NBeyond32Bits", Overflow, Edits{{&EntryTexts::Text13, "1e10"}}, N + "fino a 2147483646."},
        Row{"NBelow32Bits", Overflow, Edits{{&EntryTexts::Text13, "-1e10"}}, N + "positivo."},
        Row{"NPlusOneOverflows", Overflow, Edits{{&EntryTexts::Text13, "2147483647"}}, N + "fino a 2147483646."},
        Row{"NJustPastItsLimit", Overflow, Edits{{&EntryTexts::Text13, "2147483646.6"}}, N + "fino a 2147483646."},
        Row{"NothingToBlame", Overflow, Edits{{&EntryTexts::Text13, "2147483646.4"}}, ""},
        Row{"UnreadableAmplitude", Overflow, Edits{{&EntryTexts::Text8, "1e400"}},
            "\nCasella \"Ampiezza di picco portante" + TooLarge},
        // W is read before N and fm; its hexadecimal number overflows the double.
        Row{"FirstUnreadableInReadingOrder", Overflow,
            Edits{{&EntryTexts::Text7, "1e400"},
                  {&EntryTexts::Text13, "1e10"},
                  {&EntryTexts::Text1, "&H" + std::string(300, 'F')}},
            "\nCasella \"Ampiezza finestra di calcolo" + TooLarge},
        Row{"CarrierBeyondDoubleInHertz", Overflow, Edits{{&EntryTexts::Text3, "1e306"}},
            "\nCasella \"f portante: fp" + TooLarge},
        Row{"HugeTimeExpansion", Float, Edits{{&EntryTexts::Text2, "1e306"}},
            "\nCasella \"Fattore di espansione asse tempi" + TooLarge},
        Row{"LargestOfTwoHugeValues", Float, Edits{{&EntryTexts::Text5, "1e200"}, {&EntryTexts::Text6, "-1e250"}},
            "\nCasella \"Indice di modulazione MF o PM" + TooLarge},
        Row{"FloatingPointWithOrdinaryValues", Float, Edits{{&EntryTexts::Text4, "1e99"}}, ""},
        Row{"MemoryWithoutFigures", Memory, Edits{{&EntryTexts::Text13, "900000000"}}, N + "più piccolo."},
        Row{"MemoryInGigabytes", RuntimeFault(MemoryShortfall{GiB * 12 / 10, GiB * 8 / 10}), Edits{},
            "\nServono circa 1,2 GB; il sistema ne può dare 0,8 GB." + N + "più piccolo."},
        Row{"MemoryInMegabytes", RuntimeFault(MemoryShortfall{300 * MiB, 0}), Edits{},
            "\nServono circa 300 MB; il sistema ne può dare 0 MB." + N + "più piccolo."},
        Row{"MemoryFiguresCloseTogether", RuntimeFault(MemoryShortfall{GiB * 123 / 100, GiB * 121 / 100}),
            Edits{}, "\nServono circa 1,23 GB; il sistema ne può dare 1,21 GB." + N + "più piccolo."}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(FaultMessage, OutsideTheActionGivesFiguresButNoEntry)
{
    EXPECT_EQ(
        FaultMessage(RuntimeFault(MemoryShortfall{3 * GiB, GiB / 2})),
        std::string(FaultText(FaultKind::OutOfMemory)) + "\nServono circa 3,0 GB; il sistema ne può dare 0,5 GB.");
}

}  // namespace
}  // namespace trelvano
