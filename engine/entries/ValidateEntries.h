#pragma once

#include <string>

#include "engine/state/AnalysisState.h"
#include "engine/entries/MessageSink.h"
#include "engine/entries/EntryTable.h"

namespace trelvano {

enum class ValidationResult { Accepted, Stopped };

// Reads the entries into params field by field (each written as soon as it is
// read), shows the warnings and at most one stopping message through `messages`,
// and on acceptance sets Kf (0 for AM) and FreqScale. Raises RuntimeFault for an
// N outside the 32-bit range or a value that overflows a double, naming the
// entry it was reading, and for a frequency scale that is not finite.
ValidationResult ValidateEntries(AnalysisParameters& params, const EntryTexts& entries, MessageSink& messages);

}  // namespace trelvano
