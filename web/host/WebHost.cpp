#include "web/host/WebHost.h"

#include <cmath>

#include "engine/CursorReadout.h"
#include "engine/GuardedPress.h"
#include "engine/forms/FormTable.h"
#include "web/host/Json.h"

namespace trelvano::web {

namespace {

std::string FormEvent(const char* event, std::string_view form)
{
    return JsonObject().AddString("event", event).AddString("form", form).Text();
}

}  // namespace

WebHost::WebHost() : entries_(InitialEntries()), figures_(FiguresNow()) {}

void WebHost::SetPixelRatio(double ratio)
{
    // A ratio that gives no image at all is not a screen's.
    if (std::isfinite(ratio) && ratio > 0.0 && ratio <= 8.0) ratio_ = ratio;
}

void WebHost::SetDecimalSeparator(std::string separator)
{
    separator_ = std::move(separator);
}

void WebHost::SetText(std::string_view control, std::string text)
{
    if (control == "Combo1") {
        entries_.Combo1 = std::move(text);
        return;
    }
    for (const Entry& entry : kEntries) {
        if (control == entry.box) entries_.*entry.text = std::move(text);
    }
}

std::string WebHost::Press()
{
    const PressOutcome outcome = GuardedPress(state_, entries_, *this, *this);
    AnnounceImages();
    Add(JsonObject().AddString("event", "busy").Add("done", outcome == PressOutcome::Done ? "true" : "false").Text());
    figures_ = FiguresNow();
    return TakeEvents();
}

std::string WebHost::ShowSpectrum()
{
    // The button lives on the waveform window: with that window gone there is nothing to click.
    if (form2_ == nullptr || !form2_->visible) return TakeEvents();
    RunGuarded(*this, [this] { Show(Ensure(form3_, kForm3)); });
    AnnounceImages();
    return TakeEvents();
}

std::string WebHost::Close(std::string_view form)
{
    std::unique_ptr<PlotWindow>* const slot = Slot(form);
    if (slot != nullptr && *slot != nullptr) {
        slot->reset();
        Add(FormEvent("closed", form));
    }
    return TakeEvents();
}

std::string WebHost::Readout(std::string_view form, double x, double y)
{
    std::unique_ptr<PlotWindow>* const slot = Slot(form);
    // Only a window on screen is under the pointer.
    if (slot == nullptr || *slot == nullptr || !(*slot)->visible) return TakeEvents();
    PlotWindow& window = **slot;
    // The position is taken in the coordinates in force, before the waveform
    // window's handler sets its own: the desktop's surface does the same.
    const plot::PlotPoint at = PointerToPlot(x, y, window.LayoutSize(), window.Corners());
    const bool waveform = &window.form() == &kForm2;
    RunGuarded(*this, [&] {
        std::string text;
        if (waveform) {
            window.Scale(kPlotCorners.x1, kPlotCorners.y1, kPlotCorners.x2, kPlotCorners.y2);
            text = WaveformReadout(state_, at.x, at.y, separator_);
        } else {
            text = SpectrumReadout(state_, at.x, at.y, separator_);
        }
        Add(JsonObject().AddString("event", "readout").AddString("form", form).AddString("text", text).Text());
    });
    AnnounceImages();
    return TakeEvents();
}

const PlotWindow* WebHost::Window(std::string_view form) const
{
    if (form == kForm2.name) return form2_.get();
    if (form == kForm3.name) return form3_.get();
    return nullptr;
}

std::string WebHost::ModulationText()
{
    return entries_.Combo1;
}

void WebHost::ShowWaveformWindow()
{
    Show(Ensure(form2_, kForm2));
}

plot::Canvas& WebHost::WaveformPlot()
{
    return Ensure(form2_, kForm2);
}

plot::Canvas& WebHost::SpectrumPlot()
{
    return Ensure(form3_, kForm3);
}

void WebHost::ShowMessage(const std::string& text)
{
    AnnounceImages();
    Add(JsonObject().AddString("event", "message").AddString("text", text).Text());
}

PlotWindow& WebHost::Ensure(std::unique_ptr<PlotWindow>& window, const Form& form)
{
    if (window == nullptr) window = std::make_unique<PlotWindow>(form, ratio_);
    return *window;
}

std::unique_ptr<PlotWindow>* WebHost::Slot(std::string_view form)
{
    if (form == kForm2.name) return &form2_;
    if (form == kForm3.name) return &form3_;
    return nullptr;
}

void WebHost::Show(PlotWindow& window)
{
    window.visible = true;
    Add(FormEvent("show", window.form().name));
}

void WebHost::AnnounceImages()
{
    for (PlotWindow* window : {form2_.get(), form3_.get()}) {
        if (window != nullptr && window->changed) {
            window->changed = false;
            Add(FormEvent("image", window->form().name));
        }
    }
}

void WebHost::Add(std::string event)
{
    events_.push_back(std::move(event));
}

std::string WebHost::TakeEvents()
{
    std::string json = JsonArray(events_);
    events_.clear();
    return json;
}

std::string WebHost::FiguresNow() const
{
    const AnalysisParameters& p = state_.params;
    JsonObject lines;
    for (const PlotWindow* window : {form2_.get(), form3_.get()}) {
        if (window != nullptr) lines.Add(window->form().name, JsonNumber(window->Lines()));
    }
    return JsonObject()
        .Add("N", JsonNumber(std::int64_t{p.N}))
        .Add("SignalPeak", JsonNumber(p.SignalPeak))
        .Add("SpectrumPeak", JsonNumber(p.SpectrumPeak))
        .Add("lines", lines.Text())
        .Text();
}

}  // namespace trelvano::web
