#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/AnalysisRun.h"
#include "engine/entries/EntryTable.h"
#include "engine/entries/MessageSink.h"
#include "engine/state/AnalysisState.h"
#include "web/host/PlotWindow.h"

namespace trelvano::web {

// The program behind the page: the analysis state, the texts the user left in
// the panel, and the two result windows, which behave as the desktop's do.
// A result window exists at most once; closing it destroys it with its plot,
// and the next request builds it afresh, blank. Each user action returns the
// events it caused as a JSON array, in the order they happened.
class WebHost final : public RunHost, public MessageSink {
public:
    WebHost();

    void SetPixelRatio(double ratio);
    void SetDecimalSeparator(std::string separator);
    // An entry box's or the type box's text; other names are not the panel's and change nothing.
    void SetText(std::string_view control, std::string text);

    std::string Press();
    std::string ShowSpectrum();
    std::string Close(std::string_view form);
    // (x, y) in layout pixels from Picture1's top-left corner.
    std::string Readout(std::string_view form, double x, double y);

    // The window of that name while it exists, else null.
    const PlotWindow* Window(std::string_view form) const;
    // What the last press left: N, both peaks and the lines of each plot.
    const std::string& Figures() const { return figures_; }

    // RunHost
    std::string ModulationText() override;
    void ShowWaveformWindow() override;
    plot::Canvas& WaveformPlot() override;
    plot::Canvas& SpectrumPlot() override;
    // MessageSink: the message goes after every image the user sees behind it.
    void ShowMessage(const std::string& text) override;

private:
    PlotWindow& Ensure(std::unique_ptr<PlotWindow>& window, const Form& form);
    std::unique_ptr<PlotWindow>* Slot(std::string_view form);
    void Show(PlotWindow& window);
    // An "image" event for each window drawn on since the page last heard.
    void AnnounceImages();
    void Add(std::string event);
    std::string TakeEvents();
    std::string FiguresNow() const;

    AnalysisState state_;
    EntryTexts entries_;
    double ratio_ = 1.0;
    std::string separator_ = ".";
    std::unique_ptr<PlotWindow> form2_;
    std::unique_ptr<PlotWindow> form3_;
    std::vector<std::string> events_;
    std::string figures_;
};

}  // namespace trelvano::web
