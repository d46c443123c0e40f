#include "engine/entries/FaultMessage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "engine/entries/DecimalText.h"
#include "engine/entries/EntryTable.h"
#include "engine/entries/NumberReader.h"

namespace trelvano {

namespace {

// Beyond any value the tool is meant for, and near enough to the double
// range that the products of the synthesis, transform or plot can leave it.
constexpr double kHugeValue = 1e100;

// The count, which alone sizes the buffers.
const Entry& CountEntry()
{
    return *FindEntry("Text13");
}

std::string Hint(const Entry& entry, const std::string& whatToDo)
{
    return std::string("Casella \"").append(entry.what.text).append("\": ").append(whatToDo);
}

std::string TooLarge(const Entry& entry)
{
    return Hint(entry, "il numero è troppo grande, inseriscine uno più piccolo.");
}

// For an N that is negative or beyond what a run can hold; empty for any other.
std::string CountHint(double count)
{
    if (count < 0.0) return Hint(CountEntry(), "inserisci un numero positivo.");
    if (count > kLargestN) {
        return Hint(CountEntry(), "inserisci un numero fino a " + std::to_string(kLargestN) + ".");
    }
    return {};
}

// The intake could not hold the number: a count is out of the 32-bit range on
// one side or the other, any other number is beyond the double range.
std::string ReadingHint(const FaultEntry& at)
{
    const Entry& entry = kEntries[at.index];
    if (entry.holding == Holding::Count && at.read) return CountHint(RoundHalfEven(*at.read));
    return TooLarge(entry);
}

// The entry of largest magnitude, in the unit it was entered in, if it is out
// of all proportion.
std::string FloatingPointHint(const AnalysisParameters& params)
{
    const Entry* largest = nullptr;
    double magnitude = kHugeValue;
    for (const Entry& entry : kEntries) {
        if (entry.field == nullptr) continue;  // the count, held in 32 bits
        const double value = std::fabs(params.*entry.field / entry.factor);
        if (value >= magnitude) {
            largest = &entry;
            magnitude = value;
        }
    }
    return largest != nullptr ? TooLarge(*largest) : std::string();
}

std::string EntryHint(const RuntimeFault& fault, const AnalysisParameters& params)
{
    if (fault.entry()) return ReadingHint(*fault.entry());
    // Every entry was held: what follows is worked out from the values held.
    switch (fault.kind()) {
    case FaultKind::Overflow:
        // The run itself overflowed, on N + 1.
        return CountHint(params.N);
    case FaultKind::IndexOutOfRange:
        // Only a negative N addresses a buffer outside its bounds.
        return params.N < 0 ? CountHint(params.N) : std::string();
    case FaultKind::FloatingPoint:
        return FloatingPointHint(params);
    case FaultKind::OutOfMemory:
        // N alone sizes the buffers.
        return Hint(CountEntry(), "inserisci un numero più piccolo.");
    }
    return {};
}

std::string Amount(std::int64_t bytes, double unit, int decimals)
{
    std::string text = FixedText(static_cast<double>(bytes) / unit, decimals);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

// Both figures in one unit, with just enough decimals to tell them apart.
std::string ShortfallLine(const MemoryShortfall& s)
{
    constexpr double MiB = 1024.0 * 1024.0;
    constexpr double GiB = 1024.0 * MiB;
    const bool inGigabytes = static_cast<double>(std::max(s.neededBytes, s.availableBytes)) >= GiB;
    const double unit = inGigabytes ? GiB : MiB;
    int decimals = inGigabytes ? 1 : 0;
    while (decimals < 3 && Amount(s.neededBytes, unit, decimals) == Amount(s.availableBytes, unit, decimals)) {
        ++decimals;
    }
    const char* const suffix = inGigabytes ? " GB" : " MB";
    std::string line = "Servono circa ";
    line.append(Amount(s.neededBytes, unit, decimals)).append(suffix).append("; il sistema ne può dare ");
    return line.append(Amount(s.availableBytes, unit, decimals)).append(suffix).append(".");
}

}  // namespace

std::string FaultMessage(const RuntimeFault& fault)
{
    std::string text = FaultText(fault.kind());
    if (fault.shortfall()) text.append("\n").append(ShortfallLine(*fault.shortfall()));
    return text;
}

std::string FaultMessage(const RuntimeFault& fault, const AnalysisParameters& params)
{
    std::string text = FaultMessage(fault);
    const std::string hint = EntryHint(fault, params);
    if (!hint.empty()) text.append("\n").append(hint);
    return text;
}

}  // namespace trelvano
