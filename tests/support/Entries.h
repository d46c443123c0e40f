#pragma once

// The input panel's initial entries, from the entry table, and the state an
// accepted press with them leaves before the run.

#include <cstdint>
#include <string>

#include "engine/state/AnalysisState.h"
#include "engine/entries/EntryTable.h"
#include "engine/entries/ValidateEntries.h"
#include "tests/support/Faults.h"

namespace trelvano::support {

// The initial entries with a type chosen and N replaced.
inline EntryTexts Entries(const std::string& type = "AM", std::int32_t n = 1000)
{
    EntryTexts entries = InitialEntries(type);
    entries.Text13 = std::to_string(n);
    return entries;
}

// Held as the intake holds them; any N, the sampling limit aside.
inline AnalysisState DefaultState(std::int32_t n = 1000)
{
    AnalysisState state;
    RecordingSink sink;
    ValidateEntries(state.params, Entries("AM"), sink);
    state.params.N = n;
    return state;
}

}  // namespace trelvano::support
