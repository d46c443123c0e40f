#include "web/host/TrelvanoApi.h"

#include <string>

#include "engine/core/RuntimeFault.h"
#include "engine/entries/FaultMessage.h"
#include "engine/session/Session.h"
#include "web/host/EventsJson.h"
#include "web/host/FormsJson.h"

namespace {

using trelvano::Session;

Session& TheSession()
{
    static Session session;
    return session;
}

// What a returned pointer points into until the next call.
const char* Give(std::string text)
{
    static std::string returned;
    returned = std::move(text);
    return returned.c_str();
}

std::string Text(const char* text)
{
    return text == nullptr ? std::string() : std::string(text);
}

// The session turns every fault of a user's action into a message itself;
// this is the last wall against what is left (an allocation failing while the
// events themselves are written), which must not unwind into the page's worker.
template <typename Call>
const char* Answer(Call&& call)
{
    try {
        return Give(call());
    } catch (...) {
        return "[]";
    }
}

template <typename Action>
const char* Events(Action&& action)
{
    return Answer([&] { return trelvano::web::EventsJson(action(TheSession())); });
}

const trelvano::ResultWindow* Window(const char* form)
{
    return form == nullptr ? nullptr : TheSession().Window(form);
}

}  // namespace

extern "C" {

TRELVANO_API const char* trelvano_forms(void)
{
    return Answer([] { return trelvano::web::FormsJson(); });
}

TRELVANO_API void trelvano_set_pixel_ratio(double ratio)
{
    TheSession().SetPixelRatio(ratio);
}

TRELVANO_API void trelvano_set_decimal_separator(const char* separator)
{
    try {
        TheSession().SetDecimalSeparator(Text(separator));
    } catch (...) {
    }
}

TRELVANO_API void trelvano_set_text(const char* control, const char* text)
{
    try {
        TheSession().SetText(Text(control), Text(text));
    } catch (...) {
    }
}

TRELVANO_API const char* trelvano_press(void)
{
    return Events([](Session& session) { return session.Press(); });
}

TRELVANO_API const char* trelvano_show_spectrum(void)
{
    return Events([](Session& session) { return session.ShowSpectrum(); });
}

TRELVANO_API const char* trelvano_close(const char* form)
{
    return Events([form](Session& session) { return session.Close(Text(form)); });
}

TRELVANO_API const char* trelvano_readout(const char* form, double x, double y)
{
    return Events([form, x, y](Session& session) { return session.Readout(Text(form), x, y); });
}

TRELVANO_API const char* trelvano_plot_size(const char* form, double width, double height, double ratio)
{
    return Events([=](Session& session) { return session.SetPlotScreen(Text(form), width, height, ratio); });
}

TRELVANO_API const char* trelvano_key(const char* form, const char* key)
{
    return Events([=](Session& session) {
        const std::optional<trelvano::CursorKey> move = trelvano::web::CursorKeyNamed(Text(key));
        return move ? session.Key(Text(form), *move) : trelvano::SessionEvents{};
    });
}

TRELVANO_API int32_t trelvano_image_width(const char* form)
{
    const auto* window = Window(form);
    return window == nullptr ? 0 : window->Pixels().width;
}

TRELVANO_API int32_t trelvano_image_height(const char* form)
{
    const auto* window = Window(form);
    return window == nullptr ? 0 : window->Pixels().height;
}

TRELVANO_API const uint8_t* trelvano_image(const char* form)
{
    const auto* window = Window(form);
    return window == nullptr ? nullptr : window->Rgba().data();
}

TRELVANO_API const char* trelvano_out_of_memory_message(void)
{
    return Answer([] { return trelvano::FaultMessage(trelvano::RuntimeFault(trelvano::FaultKind::OutOfMemory)); });
}

TRELVANO_API void trelvano_warm_up(void)
{
    // A browser first runs a module's code as compiled in haste and compiles
    // it well once it has run for a while. A press in a session of its own,
    // the user's untouched, runs the press's code long enough for that, so
    // the user's first press meets it compiled well.
    try {
        Session scratch;
        scratch.SetText("Text13", "65536");
        scratch.SetText("Combo1", "FM");
        scratch.Press();
    } catch (...) {
    }
}

}  // extern "C"
