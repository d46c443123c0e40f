#include "engine/session/Session.h"

#include <cmath>

#include "engine/CursorReadout.h"
#include "engine/GuardedPress.h"
#include "engine/session/PlotDescription.h"

namespace trelvano {

namespace {

bool ScreenRatio(double ratio)
{
    return std::isfinite(ratio) && ratio > 0.0 && ratio <= 8.0;
}

}  // namespace

Session::Session()
    : entries_(InitialEntries()), screen2_(FormPlotScreen(kForm2, 1.0)), screen3_(FormPlotScreen(kForm3, 1.0))
{
}

void Session::SetPixelRatio(double ratio)
{
    if (!ScreenRatio(ratio)) return;
    screen2_.ratio = ratio;
    screen3_.ratio = ratio;
}

SessionEvents Session::SetPlotScreen(std::string_view form, double width, double height, double ratio)
{
    // No screen is wider than this; an image past it would only exhaust memory.
    constexpr double kWidest = 8192.0;
    PlotScreen* const screen = Screen(form);
    if (screen == nullptr || !ScreenRatio(ratio) || !(width >= 1.0 && width <= kWidest) ||
        !(height >= 1.0 && height <= kWidest)) {
        return TakeEvents();
    }
    *screen = {{static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height))}, ratio};
    std::unique_ptr<ResultWindow>* const slot = Slot(form);
    if (*slot != nullptr && (*slot)->Stale()) {
        ResultWindow& window = **slot;
        const std::optional<DrawnRun> run = window.drawn;
        RunGuarded(*this, [&] {
            window.Blank();
            if (!run) return;
            if (&window.form() == &kForm2) {
                DrawWaveformPlot(window, state_, *run);
            } else {
                DrawSpectrumPlot(window, state_, *run);
            }
            window.drawn = run;
        });
        AnnounceImages();
    }
    return TakeEvents();
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
    ran_ = false;
    const PressOutcome outcome = GuardedPress(state_, entries_, *this, *this);
    if (outcome == PressOutcome::Done && ran_) {
        for (ResultWindow* window : {form2_.get(), form3_.get()}) {
            if (window != nullptr) window->drawn = DrawnFrom(state_.params);
        }
    }
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
    ResultWindow* const window = Visible(form);
    // The position is taken in the coordinates in force, before the waveform
    // window's handler sets its own.
    if (window != nullptr) ReadAt(*window, PlaceAtPixel(*window, x, y));
    return TakeEvents();
}

SessionEvents Session::Key(std::string_view form, CursorKey key)
{
    ResultWindow* const window = Visible(form);
    if (window == nullptr) return TakeEvents();
    RunGuarded(*this, [&] { ReadAt(*window, MoveCursor(*window, state_, window->cursor, key)); });
    return TakeEvents();
}

void Session::ReadAt(ResultWindow& window, const CursorPlace& place)
{
    RunGuarded(*this, [&] {
        std::string text;
        if (&window.form() == &kForm2) {
            window.Scale(plot::kPlotCorners);
            text = WaveformReadout(state_, place.x, place.y, separator_);
        } else {
            text = SpectrumReadout(state_, place.x, place.y, separator_);
        }
        window.cursor = place;
        events_.push_back({EventKind::Readout, window.form().name, std::move(text), true, place.px, place.py});
    });
    AnnounceImages();
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
    ran_ = true;
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
    if (window == nullptr) window = std::make_unique<ResultWindow>(form, *Screen(form.name));
    return *window;
}

std::unique_ptr<ResultWindow>* Session::Slot(std::string_view form)
{
    if (form == kForm2.name) return &form2_;
    if (form == kForm3.name) return &form3_;
    return nullptr;
}

PlotScreen* Session::Screen(std::string_view form)
{
    if (form == kForm2.name) return &screen2_;
    if (form == kForm3.name) return &screen3_;
    return nullptr;
}

ResultWindow* Session::Visible(std::string_view form)
{
    std::unique_ptr<ResultWindow>* const slot = Slot(form);
    return slot != nullptr && *slot != nullptr && (*slot)->visible ? slot->get() : nullptr;
}

void Session::Show(ResultWindow& window)
{
    window.visible = true;
    events_.push_back({EventKind::Shown, window.form().name});
}

void Session::AnnounceImages()
{
    for (ResultWindow* window : {form2_.get(), form3_.get()}) {
        // The spectrum's window is drawn at every press, often off screen: its
        // image and its words wait until it is shown. (In a browser, at 10^6
        // samples, finding its lines and handing its image over took a press
        // some 5 ms.)
        if (window == nullptr || !window->changed || !window->visible) continue;
        window->changed = false;
        events_.push_back({EventKind::PlotChanged, window->form().name});
        std::string words;
        RunGuarded(*this, [&] { words = DescribePlot(*window, state_, separator_); });
        if (words != window->description) {
            window->description = words;
            events_.push_back({EventKind::Described, window->form().name, std::move(words)});
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
