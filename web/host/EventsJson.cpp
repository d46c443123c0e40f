#include "web/host/EventsJson.h"

#include <utility>
#include <vector>

#include "web/host/Json.h"

namespace trelvano::web {

namespace {

std::string EventJson(const SessionEvent& event)
{
    JsonObject json;
    switch (event.kind) {
    case EventKind::Message:
        return json.AddString("event", "message").AddString("text", event.text).Text();
    case EventKind::Shown:
        return json.AddString("event", "show").AddString("form", event.form).Text();
    case EventKind::PlotChanged:
        return json.AddString("event", "image").AddString("form", event.form).Text();
    case EventKind::Closed:
        return json.AddString("event", "closed").AddString("form", event.form).Text();
    case EventKind::Readout:
        return json.AddString("event", "readout")
            .AddString("form", event.form)
            .AddString("text", event.text)
            .Add("x", JsonNumber(event.x))
            .Add("y", JsonNumber(event.y))
            .Text();
    case EventKind::Described:
        return json.AddString("event", "described").AddString("form", event.form).AddString("text", event.text).Text();
    case EventKind::PressEnded:
        return json.AddString("event", "busy").Add("done", event.done ? "true" : "false").Text();
    }
    return json.Text();
}

}  // namespace

std::string EventsJson(const SessionEvents& events)
{
    std::vector<std::string> encoded;
    encoded.reserve(events.size());
    for (const SessionEvent& event : events) encoded.push_back(EventJson(event));
    return JsonArray(encoded);
}

std::optional<CursorKey> CursorKeyNamed(std::string_view name)
{
    static constexpr std::pair<std::string_view, CursorKey> kNames[] = {
        {"previous", CursorKey::Previous},
        {"next", CursorKey::Next},
        {"first", CursorKey::First},
        {"last", CursorKey::Last},
        {"left", CursorKey::Left},
        {"right", CursorKey::Right},
        {"up", CursorKey::Up},
        {"down", CursorKey::Down},
    };
    for (const auto& [known, key] : kNames) {
        if (name == known) return key;
    }
    return std::nullopt;
}

}  // namespace trelvano::web
