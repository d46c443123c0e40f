#pragma once

#include <string>

#include "engine/session/SessionEvent.h"

namespace trelvano::web {

// The events of one action as the page reads them, in the layout
// TrelvanoApi.h documents.
std::string EventsJson(const SessionEvents& events);

}  // namespace trelvano::web
