#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/AnalysisRun.h"
#include "engine/entries/EntryTable.h"
#include "engine/entries/MessageSink.h"
#include "engine/session/PlotCursor.h"
#include "engine/session/ResultWindow.h"
#include "engine/session/SessionEvent.h"
#include "engine/state/AnalysisState.h"

namespace trelvano {

// The program behind every front end: the analysis state, the texts the user
// left in the panel, and the two result windows with their rules. A result
// window exists at most once; it is made, hidden, when a press first blanks
// its plot, and shown by the run (the waveform) or by "Visualizza spettro"
// (the spectrum); closing it destroys it with its plot, and the next request
// makes it afresh, blank. Each user action runs to its end and returns the
// events it caused, in order; a front end only shows them.
class Session final : private RunHost, private MessageSink {
public:
    Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Device pixels per layout pixel of the plots' images, from the next
    // blanking or new window on; a ratio no screen has is ignored.
    void SetPixelRatio(double ratio);
    // The window's plot is `width` × `height` layout pixels on screen, at
    // `ratio` device pixels to one, from now on and for the window made next.
    // A plot that shows a run is drawn again at once from its buffers; a
    // size or ratio no screen has is ignored.
    SessionEvents SetPlotScreen(std::string_view form, double width, double height, double ratio);
    // What the readouts show between the units and the decimals.
    void SetDecimalSeparator(std::string separator);
    // An entry box's or the type box's text; false, and nothing changed, for
    // a name that is not the panel's.
    bool SetText(std::string_view control, std::string text);
    const EntryTexts& Texts() const { return entries_; }

    // "Grafici".
    SessionEvents Press();
    // "Visualizza spettro": nothing while the waveform window, which holds
    // the button, is not on screen.
    SessionEvents ShowSpectrum();
    // A result window's close box; the input panel has none.
    SessionEvents Close(std::string_view form);
    // The readout for the pointer at (x, y) layout pixels from the top-left
    // corner of the window's Picture1; nothing for a window not on screen.
    SessionEvents Readout(std::string_view form, double x, double y);
    // A key on the plot that has the focus: the readout at the place the
    // keyboard cursor moves to; nothing for a window not on screen.
    SessionEvents Key(std::string_view form, CursorKey key);

    // The window of that name while it exists, else null.
    const ResultWindow* Window(std::string_view form) const;
    const AnalysisState& State() const { return state_; }

private:
    // RunHost
    std::string ModulationText() override;
    void ShowWaveformWindow() override;
    plot::Canvas& WaveformPlot() override;
    plot::Canvas& SpectrumPlot() override;
    // MessageSink: the message goes after every image the user sees behind it.
    void ShowMessage(const std::string& text) override;

    ResultWindow& Ensure(std::unique_ptr<ResultWindow>& window, const Form& form);
    std::unique_ptr<ResultWindow>* Slot(std::string_view form);
    PlotScreen* Screen(std::string_view form);
    ResultWindow* Visible(std::string_view form);
    // The readout at `place`, through the window's own handler.
    void ReadAt(ResultWindow& window, const CursorPlace& place);
    void Show(ResultWindow& window);
    // A PlotChanged event for each window on screen drawn on since the front
    // end last heard, and a Described one for each whose words changed with
    // it; a window drawn off screen is told of once it is shown.
    void AnnounceImages();
    SessionEvents TakeEvents();

    AnalysisState state_;
    EntryTexts entries_;
    PlotScreen screen2_;
    PlotScreen screen3_;
    // Whether the press under way got past the checks into the run.
    bool ran_ = false;
    std::string separator_ = ".";
    std::unique_ptr<ResultWindow> form2_;
    std::unique_ptr<ResultWindow> form3_;
    SessionEvents events_;
};

}  // namespace trelvano
