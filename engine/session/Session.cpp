#include "engine/session/Session.h"

#include <cmath>

#include "engine/CursorReadout.h"
#include "engine/GuardedPress.h"

namespace trelvano {

Session::Session() : entries_(InitialEntries()) {}

void Session::SetPixelRatio(double ratio)
{
    if (std::isfinite(ratio) && ratio > 0.0 && ratio <= 8.0) ratio_ = ratio;
}

void Session::SetDecimalSeparator(std::string separator)
{
    separator_ = std::move(separator);
}

bool Session::SetText(std::string_view control, std::string text)
{
    if (control == "Combo1") {
        entries_.Combo1 = std::move(text);
        return true;
    }
    for (const Entry& entry : kEntries) {
        if (control == entry.box) {
            entries_.*entry.text = std::move(text);
            return true;
        }
    }
    return false;
}

SessionEvents Session::Press()
{
    const PressOutcome outcome = GuardedPress(state_, entries_, *this, *this);
    AnnounceImages();
    events_.push_back({EventKind::PressEnded, nullptr, {}, outcome == PressOutcome::Done});
    return TakeEvents();
}

SessionEvents Session::ShowSpectrum()
{
    if (form2_ == nullptr || !form2_->visible) return TakeEvents();
    RunGuarded(*this, [this] { Show(Ensure(form3_, kForm3)); });
    AnnounceImages();
    return TakeEvents();
}

SessionEvents Session::Close(std::string_view form)
{
    std::unique_ptr<ResultWindow>* const slot = Slot(form);
    if (slot != nullptr && *slot != nullptr) {
        const char* const name = (*slot)->form().name;
        slot->reset();
        events_.push_back({EventKind::Closed, name});
    }
    return TakeEvents();
}

SessionEvents Session::Readout(std::string_view form, double x, double y)
{
    std::unique_ptr<ResultWindow>* const slot = Slot(form);
    if (slot == nullptr || *slot == nullptr || !(*slot)->visible) return TakeEvents();
    ResultWindow& window = **slot;
    // The position is taken in the coordinates in force, before the waveform
    // window's handler sets its own.
    const plot::PlotPoint at = PointerToPlot(x, y, window.LayoutSize(), window.Corners());
    RunGuarded(*this, [&] {
        std::string text;
        if (&window.form() == &kForm2) {
            window.Scale(plot::kPlotCorners);
            text = WaveformReadout(state_, at.x, at.y, separator_);
        } else {
            text = SpectrumReadout(state_, at.x, at.y, separator_);
        }
        events_.push_back({EventKind::Readout, window.form().name, std::move(text)});
    });
    AnnounceImages();
    return TakeEvents();
}

const ResultWindow* Session::Window(std::string_view form) const
{
    if (form == kForm2.name) return form2_.get();
    if (form == kForm3.name) return form3_.get();
    return nullptr;
}

std::string Session::ModulationText()
{
    return entries_.Combo1;
}

void Session::ShowWaveformWindow()
{
    Show(Ensure(form2_, kForm2));
}

plot::Canvas& Session::WaveformPlot()
{
    return Ensure(form2_, kForm2);
}

plot::Canvas& Session::SpectrumPlot()
{
    return Ensure(form3_, kForm3);
}

void Session::ShowMessage(const std::string& text)
{
    AnnounceImages();
    events_.push_back({EventKind::Message, nullptr, text});
}

ResultWindow& Session::Ensure(std::unique_ptr<ResultWindow>& window, const Form& form)
{
    if (window == nullptr) window = std::make_unique<ResultWindow>(form, ratio_);
    return *window;
}

std::unique_ptr<ResultWindow>* Session::Slot(std::string_view form)
{
    if (form == kForm2.name) return &form2_;
    if (form == kForm3.name) return &form3_;
    return nullptr;
}

void Session::Show(ResultWindow& window)
{
    window.visible = true;
    events_.push_back({EventKind::Shown, window.form().name});
}

void Session::AnnounceImages()
{
    for (ResultWindow* window : {form2_.get(), form3_.get()}) {
        if (window != nullptr && window->changed) {
            window->changed = false;
            events_.push_back({EventKind::PlotChanged, window->form().name});
        }
    }
}

SessionEvents Session::TakeEvents()
{
    SessionEvents taken;
    taken.swap(events_);
    return taken;
}

}  // namespace trelvano
