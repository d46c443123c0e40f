#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/session/PlotCursor.h"
#include "engine/session/SessionEvent.h"

namespace trelvano::web {

// The events of one action as the page reads them, in the layout
// TrelvanoApi.h documents.
std::string EventsJson(const SessionEvents& events);

// The page's name of a cursor key ("previous", "next", "first", "last",
// "left", "right", "up", "down"); none for any other.
std::optional<CursorKey> CursorKeyNamed(std::string_view name);

}  // namespace trelvano::web
