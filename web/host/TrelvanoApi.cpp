#include "web/host/TrelvanoApi.h"

#include <string>

#include "engine/core/RuntimeFault.h"
#include "engine/entries/FaultMessage.h"
#include "web/host/FormsJson.h"
#include "web/host/WebHost.h"

namespace {

using trelvano::web::WebHost;

WebHost& Host()
{
    static WebHost host;
    return host;
}

// What a returned pointer points into until the next call.
std::string& Returned()
{
    static std::string text;
    return text;
}

const char* Give(std::string text)
{
    Returned() = std::move(text);
    return Returned().c_str();
}

std::string Text(const char* text)
{
    return text == nullptr ? std::string() : std::string(text);
}

// The host turns every fault of a user's action into a message itself; this is
// the last wall against what is left (an allocation failing while the events
// themselves are written), which must not unwind into the page's worker.
template <typename Call>
const char* Events(Call&& call)
{
    try {
        return Give(call());
    } catch (...) {
        return "[]";
    }
}

const trelvano::web::PlotWindow* Window(const char* form)
{
    return form == nullptr ? nullptr : Host().Window(form);
}

}  // namespace

extern "C" {

const char* trelvano_forms(void)
{
    return Events([] { return trelvano::web::FormsJson(); });
}

void trelvano_set_pixel_ratio(double ratio)
{
    Host().SetPixelRatio(ratio);
}

void trelvano_set_decimal_separator(const char* separator)
{
    try {
        Host().SetDecimalSeparator(Text(separator));
    } catch (...) {
    }
}

void trelvano_set_text(const char* control, const char* text)
{
    try {
        Host().SetText(Text(control), Text(text));
    } catch (...) {
    }
}

const char* trelvano_press(void)
{
    return Events([] { return Host().Press(); });
}

const char* trelvano_show_spectrum(void)
{
    return Events([] { return Host().ShowSpectrum(); });
}

const char* trelvano_close(const char* form)
{
    return Events([form] { return Host().Close(Text(form)); });
}

const char* trelvano_readout(const char* form, double x, double y)
{
    return Events([form, x, y] { return Host().Readout(Text(form), x, y); });
}

int32_t trelvano_image_width(const char* form)
{
    const auto* window = Window(form);
    return window == nullptr ? 0 : window->Pixels().width;
}

int32_t trelvano_image_height(const char* form)
{
    const auto* window = Window(form);
    return window == nullptr ? 0 : window->Pixels().height;
}

const uint8_t* trelvano_image(const char* form)
{
    const auto* window = Window(form);
    return window == nullptr ? nullptr : window->Rgba().data();
}

const char* trelvano_out_of_memory_message(void)
{
    return Events([] { return trelvano::FaultMessage(trelvano::RuntimeFault(trelvano::FaultKind::OutOfMemory)); });
}

void trelvano_warm_up(void)
{
    // A browser first runs a module's code as compiled in haste and compiles
    // it well once it has run for a while. A press on a host of its own, the
    // user's untouched, runs the press's code long enough for that, so the
    // user's first press meets it compiled well.
    try {
        WebHost scratch;
        scratch.SetText("Text13", "65536");
        scratch.SetText("Combo1", "FM");
        scratch.Press();
    } catch (...) {
    }
}

const char* trelvano_figures(void)
{
    return Events([] { return Host().Figures(); });
}

}  // extern "C"
