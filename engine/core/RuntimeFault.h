#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace trelvano {

// The faults that end the current action. Entries can reach every one of them
// (an N of 2147483647, an N too large for memory, a negative N, a huge exponent),
// so each carries a short Italian text that the windows show as it is.
enum class FaultKind {
    Overflow,         // a size or index left the signed 32-bit range, or a number left double
    IndexOutOfRange,  // an array was addressed outside its bounds
    FloatingPoint,    // a stored result came out infinite or NaN
    OutOfMemory,      // the buffers would not fit in the memory the machine can give
};

// What a refused allocation asked for and what the machine could give, so the
// user can be told how far apart the two are.
struct MemoryShortfall {
    std::int64_t neededBytes = 0;
    std::int64_t availableBytes = 0;
};

// The entry the intake was reading when a fault was raised, so that the user
// is sent to that entry and no other: its place in the order the intake reads
// them, and the number read from it when the fault came after the reading (a
// count beyond 32 bits is told apart by its sign).
struct FaultEntry {
    std::size_t index = 0;
    std::optional<double> read;
};

class RuntimeFault : public std::runtime_error {
public:
    explicit RuntimeFault(FaultKind kind);
    explicit RuntimeFault(MemoryShortfall shortfall);
    FaultKind kind() const noexcept { return kind_; }
    // Present for an OutOfMemory raised by the memory check before allocating.
    const std::optional<MemoryShortfall>& shortfall() const noexcept { return shortfall_; }
    // Present for a fault raised while the intake read an entry. A field rather
    // than a derived class, so that it survives a fault copied by value.
    const std::optional<FaultEntry>& entry() const noexcept { return entry_; }
    void SetEntry(const FaultEntry& entry) noexcept { entry_ = entry; }

private:
    FaultKind kind_;
    std::optional<MemoryShortfall> shortfall_;
    std::optional<FaultEntry> entry_;
};

// The Italian text shown to the user for a fault.
const char* FaultText(FaultKind kind) noexcept;

}  // namespace trelvano
