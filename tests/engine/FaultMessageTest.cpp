#include "engine/FaultMessage.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace trelvano {
namespace {

constexpr std::int64_t MiB = std::int64_t{1} << 20;
constexpr std::int64_t GiB = std::int64_t{1} << 30;

// Written out here rather than taken from the program, so that a slip in either shows.
const std::string OverflowText = "Errore: overflow. Un valore supera l'intervallo ammesso.";
const std::string IndexText = "Errore: indice fuori dall'intervallo.";
const std::string FloatText = "Errore di calcolo in virgola mobile.";
const std::string MemoryText = "Memoria insufficiente per il numero di campioni richiesto.";
const std::string NPositive = "Casella \"Numero campioni\": inserisci un numero positivo.";
const std::string NAtMost = "Casella \"Numero campioni\": inserisci un numero fino a 21474836.";
const std::string NSmaller = "Casella \"Numero campioni\": inserisci un numero più piccolo.";

std::string TooLarge(const std::string& label)
{
    return "Casella \"" + label + "\": il numero è troppo grande, inseriscine uno più piccolo.";
}

EntryTexts Defaults()
{
    return {"1", "25", "2", "1000", "0.5", "4.05", "0.5", "30", "3", "AM"};
}

struct Row {
    const char* name;
    RuntimeFault fault;
    void (*edit)(EntryTexts&);
    std::string expected;
};

void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class FaultMessageTest : public testing::TestWithParam<Row> {};

TEST_P(FaultMessageTest, KeepsTheFaultTextFirstAndNamesTheEntryBehindIt)
{
    EntryTexts entries = Defaults();
    GetParam().edit(entries);
    EXPECT_EQ(FaultMessage(GetParam().fault, entries), GetParam().expected);
}

const RuntimeFault Overflow(FaultKind::Overflow);
const RuntimeFault Index(FaultKind::IndexOutOfRange);
const RuntimeFault Float(FaultKind::FloatingPoint);
const RuntimeFault Memory(FaultKind::OutOfMemory);

INSTANTIATE_TEST_SUITE_P(
    Faults, FaultMessageTest,
    testing::Values(
        Row{"NegativeN", Index, [](EntryTexts& e) { e.Text13 = "-5"; }, IndexText + "\n" + NPositive},
        Row{"IndexFaultWithSoundN", Index, [](EntryTexts&) {}, IndexText},
        Row{"NBeyond32Bits", Overflow, [](EntryTexts& e) { e.Text13 = "1e10"; }, OverflowText + "\n" + NAtMost},
        Row{"NBelow32Bits", Overflow, [](EntryTexts& e) { e.Text13 = "-1e10"; }, OverflowText + "\n" + NPositive},
        Row{"NPlusOneOverflows", Overflow, [](EntryTexts& e) { e.Text13 = "2147483647"; },
            OverflowText + "\n" + NAtMost},
        Row{"TraceOverflowsJustPastTheLimit", Overflow, [](EntryTexts& e) { e.Text13 = "21474836.6"; },
            OverflowText + "\n" + NAtMost},
        Row{"NothingToBlame", Overflow, [](EntryTexts& e) { e.Text13 = "21474836.4"; }, OverflowText},
        Row{"UnreadableAmplitude", Overflow, [](EntryTexts& e) { e.Text8 = "1e400"; },
            OverflowText + "\n" + TooLarge("Ampiezza di picco portante")},
        Row{"FirstUnreadableInReadingOrder", Overflow,
            [](EntryTexts& e) {
                e.Text7 = "1e400";
                e.Text13 = "1e10";
                e.Text1 = "&H" + std::string(300, 'F');
            },
            OverflowText + "\n" + TooLarge("Ampiezza finestra di calcolo")},
        Row{"CarrierBeyondDoubleInHertz", Overflow, [](EntryTexts& e) { e.Text3 = "1e306"; },
            OverflowText + "\n" + TooLarge("f portante: fp")},
        Row{"HugeTimeExpansion", Float, [](EntryTexts& e) { e.Text2 = "1e306"; },
            FloatText + "\n" + TooLarge("Fattore di espansione asse tempi")},
        Row{"LargestOfTwoHugeValues", Float,
            [](EntryTexts& e) {
                e.Text5 = "1e200";
                e.Text6 = "-1e250";
            },
            FloatText + "\n" + TooLarge("Indice di modulazione MF o PM")},
        Row{"FloatingPointWithOrdinaryValues", Float, [](EntryTexts& e) { e.Text4 = "1e99"; }, FloatText},
        Row{"MemoryUnknownFigures", Memory, [](EntryTexts& e) { e.Text13 = "900000000"; },
            MemoryText + "\n" + NSmaller},
        Row{"MemoryInGigabytes", RuntimeFault(MemoryShortfall{GiB * 12 / 10, GiB * 8 / 10}), [](EntryTexts&) {},
            MemoryText + "\nServono circa 1,2 GB; il sistema ne può dare 0,8 GB.\n" + NSmaller},
        Row{"MemoryInMegabytes", RuntimeFault(MemoryShortfall{300 * MiB, 0}), [](EntryTexts&) {},
            MemoryText + "\nServono circa 300 MB; il sistema ne può dare 0 MB.\n" + NSmaller},
        Row{"MemoryFiguresCloseTogether", RuntimeFault(MemoryShortfall{GiB * 123 / 100, GiB * 121 / 100}),
            [](EntryTexts&) {}, MemoryText + "\nServono circa 1,23 GB; il sistema ne può dare 1,21 GB.\n" + NSmaller}),
    [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

TEST(FaultMessageOutsideTheAction, GivesFiguresButNoEntry)
{
    EXPECT_EQ(FaultMessage(RuntimeFault(MemoryShortfall{3 * GiB, GiB / 2})),
              MemoryText + "\nServono circa 3,0 GB; il sistema ne può dare 0,5 GB.");
    EXPECT_EQ(FaultMessage(Float), FloatText);
}

}  // namespace
}  // namespace trelvano
