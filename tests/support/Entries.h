#pragma once

// The input panel's initial entries, from the entry table, the state an
// accepted press with them leaves before the run, and the run's first steps.

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/AllocateSampleBuffers.h"
#include "engine/state/AnalysisState.h"
#include "engine/entries/EntryTable.h"
#include "engine/entries/ValidateEntries.h"
#include "engine/signal/Spectrum.h"
#include "engine/signal/Synthesis.h"
#include "tests/support/Faults.h"

namespace trelvano::support {

// The initial entries with a type chosen and N replaced.
inline EntryTexts Entries(const std::string& type = "AM", std::int32_t n = 1000)
{
    EntryTexts entries = InitialEntries(type);
    entries.Text13 = std::to_string(n);
    return entries;
}

// `entries` edited as "Text1=2.5|Combo1=FM": each box named as on the panel, then its new text. A slip in
// the edits is the test's own fault, thrown rather than read as some other edit.
inline EntryTexts Edited(std::string_view edits, EntryTexts entries = Entries())
{
    for (std::size_t start = 0; start <= edits.size() && !edits.empty();) {
        const std::size_t end = std::min(edits.find('|', start), edits.size()), equals = edits.find('=', start);
        const std::string box(edits.substr(start, equals - start));
        const Entry* entry = FindEntry(box.c_str());
        if (equals >= end || (entry == nullptr && box != "Combo1")) throw std::invalid_argument(std::string(edits));
        (entry ? entries.*entry->text : entries.Combo1) = std::string(edits.substr(equals + 1, end - equals - 1));
        start = end + 1;
    }
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

// Buffers, waveforms and the selected signal, then the spectrum if asked for.
inline void Synthesise(AnalysisState& state, std::string_view modulation, bool transform = false)
{
    AllocateSampleBuffers(state);
    SynthesiseWaveforms(state);
    SelectSignal(state, modulation);
    if (transform) ComputeSpectrum(state);
}

}  // namespace trelvano::support
