#include "engine/entries/FaultMessage.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
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

std::optional<double> Read(const EntryTexts& entries, const Entry& entry)
{
    try {
        return ReadNumber(entries.*entry.text);
    } catch (const RuntimeFault&) {
        return std::nullopt;  // beyond double range
    }
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

std::string OverflowHint(const EntryTexts& entries)
{
    for (const Entry& entry : kEntries) {
        const std::optional<double> value = Read(entries, entry);
        if (!value) return TooLarge(entry);
        const double whole = RoundHalfEven(*value);
        if (entry.holding == Holding::Scaled && !std::isfinite(whole * entry.factor)) return TooLarge(entry);
        if (entry.holding == Holding::Count && !(whole >= -2147483648.0 && whole <= 2147483647.0)) {
            return CountHint(whole);
        }
    }
    // Every entry was held: the run itself overflowed, on N + 1.
    return CountHint(RoundHalfEven(*Read(entries, CountEntry())));
}

// The entry of largest magnitude, if it is out of all proportion.
std::string FloatingPointHint(const EntryTexts& entries)
{
    const Entry* largest = nullptr;
    double magnitude = kHugeValue;
    for (const Entry& entry : kEntries) {
        const double value = std::fabs(Read(entries, entry).value_or(0.0));
        if (value >= magnitude) {
            largest = &entry;
            magnitude = value;
        }
    }
    return largest != nullptr ? TooLarge(*largest) : std::string();
}

std::string EntryHint(FaultKind kind, const EntryTexts& entries)
{
    switch (kind) {
    case FaultKind::Overflow:
        return OverflowHint(entries);
    case FaultKind::IndexOutOfRange: {
        // Only a negative N addresses a buffer outside its bounds.
        const double count = RoundHalfEven(Read(entries, CountEntry()).value_or(0.0));
        return count < 0.0 ? CountHint(count) : std::string();
    }
    case FaultKind::FloatingPoint:
        return FloatingPointHint(entries);
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

std::string FaultMessage(const RuntimeFault& fault, const EntryTexts& entries)
{
    std::string text = FaultMessage(fault);
    const std::string hint = EntryHint(fault.kind(), entries);
    if (!hint.empty()) text.append("\n").append(hint);
    return text;
}

}  // namespace trelvano
