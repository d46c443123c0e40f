#pragma once

// The windows' handlers are guarded as the engine guards a press, so that a
// fault reads the same in every front end.
#include "engine/GuardedPress.h"
