#pragma once

#include <string>

#include "engine/state/AnalysisState.h"
#include "engine/entries/MessageSink.h"

namespace trelvano {

// The current texts of the input panel's nine entry boxes and of the type box.
struct EntryTexts {
    std::string Text2;   // Kt
    std::string Text8;   // Vp, V
    std::string Text1;   // W, ms
    std::string Text13;  // N
    std::string Text4;   // mAM
    std::string Text6;   // mf
    std::string Text5;   // Kf
    std::string Text3;   // fp, kHz
    std::string Text7;   // fm, kHz
    std::string Combo1;  // "AM", "FM" or "PM"
};

enum class ValidationResult { Accepted, Stopped };

// Reads the entries into params field by field (each written as soon as it is
// read), shows the warnings and at most one stopping message through `messages`,
// and on acceptance sets Kf (0 for AM) and FreqScale. Raises RuntimeFault for an
// N outside the 32-bit range or a value that overflows a double.
ValidationResult ValidateEntries(AnalysisParameters& params, const EntryTexts& entries, MessageSink& messages);

}  // namespace trelvano
