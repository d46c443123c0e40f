#pragma once

#include <string>

#include "engine/state/AnalysisState.h"
#include "engine/entries/MessageSink.h"
#include "engine/entries/ValidateEntries.h"
#include "plot/Canvas.h"

namespace trelvano {

// What the run needs from the windows; the user interface implements it.
class RunHost {
public:
    virtual ~RunHost() = default;
    // The type box's current text, read anew at each call.
    virtual std::string ModulationText() = 0;
    // Creates the waveform window if needed and shows it modeless, raised and active.
    virtual void ShowWaveformWindow() = 0;
    // The plot surfaces; each call creates its window, hidden, if it does not exist.
    virtual plot::Canvas& WaveformPlot() = 0;
    virtual plot::Canvas& SpectrumPlot() = 0;
};

// Shows the waveform window, sets both plot coordinate systems, re-creates the
// buffers, synthesises, selects, transforms, finds both peaks and draws. A
// RuntimeFault from any step ends the run there.
void RunAnalysis(AnalysisState& state, RunHost& host);

// The "Grafici" action: validates; on acceptance blanks both plots and runs.
void GraficiAction(AnalysisState& state, const EntryTexts& entries, MessageSink& messages, RunHost& host);

}  // namespace trelvano
