#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/state/AnalysisState.h"
#include "engine/entries/Messages.h"

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

// A place in a window's client area in twips (fifteen to a pixel at 96 dpi).
struct Twips {
    int left, top, width, height;
};

// At 96 dots per inch fifteen twips make one layout pixel; every front end
// rounds them so, and so takes the same sizes to the pixel.
constexpr int TwipsToPixels(int twips) noexcept
{
    return (twips + 7) / 15;
}

// A label beside an entry box; an absent one has no name.
struct Caption {
    const char* name = nullptr;
    const char* text = nullptr;
    Twips place{};
};

enum class Holding {
    AsRead,  // the number read, as is
    Scaled,  // rounded to a whole number of units, then times the factor; must stay a double
    Count,   // rounded to a signed 32-bit integer (N)
};

struct Entry {
    const char* box;  // the entry box's object name
    std::string EntryTexts::*text;
    const char* initialText;
    Twips place;
    int tabIndex;           // keyboard focus visits the panel's boxes and controls in this order
    Caption what;           // says what the box holds; a fault's hint names it
    Caption symbol;         // the short symbol on its left
    Caption unit;           // the unit as entered, on its right
    const char* parameter;  // its symbol, also its name in a link to an exercise
    Holding holding;
    double AnalysisParameters::*field;  // none for the count, held as an integer
    double factor;                      // entered unit to the unit held
    const char* warning;                // shown when a Scaled entry is not whole
};

// In the order the "Grafici" action reads them: that order decides which
// warning comes first and which entry a fault is blamed on.
// W: a multiplication by the double nearest 0.001, not a division by 1000,
// so 9 ms is held as 0.009000000000000001 s.
// One entry to a block of lines, not one field to a line.
// clang-format off
inline constexpr std::array<Entry, 9> kEntries{{
    {"Text2", &EntryTexts::Text2, "1", {1920, 2760, 1935, 375}, 7,
     {"Label3", "Fattore di espansione asse tempi", {120, 2640, 1455, 615}}, {}, {},
     "Kt", Holding::AsRead, &AnalysisParameters::Kt, 1.0, nullptr},
    {"Text8", &EntryTexts::Text8, "25", {10080, 1200, 1935, 405}, 20,
     {"Label15", "Ampiezza di picco portante", {8520, 1200, 1455, 495}}, {},
     {"Label17", "[V]", {12120, 1320, 495, 255}},
     "Vp", Holding::AsRead, &AnalysisParameters::Vp, 1.0, nullptr},
    {"Text1", &EntryTexts::Text1, "2", {1680, 1080, 1935, 375}, 5,
     {"Label4", "Ampiezza finestra di calcolo", {4560, 1200, 2535, 255}},
     {"Label1", "W", {1080, 1200, 255, 255}}, {"Label10", "[msec]", {3720, 1200, 855, 255}},
     "W", Holding::Scaled, &AnalysisParameters::W, 0.001, messages::M1},
    {"Text13", &EntryTexts::Text13, "1000", {10080, 240, 1935, 375}, 1,
     {"Label56", "Numero campioni", {12120, 360, 1935, 255}}, {"Label48", "N", {9720, 240, 255, 255}}, {},
     "N", Holding::Count, nullptr, 1.0, nullptr},
    {"Text4", &EntryTexts::Text4, "0.5", {1680, 600, 1935, 375}, 12,
     {"Label16", "Indice di modulazione AM", {3720, 720, 2775, 255}}, {"Label6", "mAM", {1080, 720, 375, 255}}, {},
     "mAM", Holding::AsRead, &AnalysisParameters::mAM, 1.0, nullptr},
    {"Text6", &EntryTexts::Text6, "4.05", {1680, 120, 1935, 405}, 23,
     {"Label13", "Indice di modulazione MF o PM", {3720, 240, 4695, 255}},
     {"Label12", "mf;  mPM", {720, 240, 855, 255}}, {},
     "mf", Holding::AsRead, &AnalysisParameters::mf, 1.0, nullptr},
    {"Text5", &EntryTexts::Text5, "0.5", {1920, 3600, 1935, 375}, 30,
     {"Label7", "Fattore di espansione asse frequenze per FM e PM", {120, 3360, 1575, 855}}, {}, {},
     "Kf", Holding::AsRead, &AnalysisParameters::Kf, 1.0, nullptr},
    {"Text3", &EntryTexts::Text3, "30", {10080, 720, 1935, 375}, 9,
     {"Label5", "f portante: fp", {8760, 840, 1215, 255}}, {}, {"Label2", "[kHz]", {12120, 840, 615, 255}},
     "fp", Holding::Scaled, &AnalysisParameters::fp, 1000.0, messages::M2},
    {"Text7", &EntryTexts::Text7, "3", {10080, 1680, 1935, 375}, 14,
     {"Label14", "f modulante: fm", {8520, 1800, 1455, 255}}, {}, {"Label11", "[kHz]", {12120, 1800, 495, 255}},
     "fm", Holding::Scaled, &AnalysisParameters::fm, 1000.0, messages::M3},
}};
// clang-format on

// The type box: its text before any choice, and the list it offers.
inline constexpr const char* kTypeBoxInitialText = "Scegli la modulazione";
inline constexpr std::array<const char*, 3> kModulationTypes{"AM", "FM", "PM"};

// A link to an exercise names each entry box by its parameter's symbol and
// the type box by this word. A longer text than the limit is no entry a
// teacher meant: the page leaves the box as it was.
inline constexpr const char* kTypeBoxLink = "tipo";
inline constexpr int kLinkTextLimit = 40;

// The largest N a run can hold: N + 1 buffer elements must stay a signed
// 32-bit integer. Memory usually runs out well before.
inline constexpr std::int32_t kLargestN = 2147483646;

// The entry of the given box, or null.
const Entry* FindEntry(const char* box);

// Every box holding its initial text, and the type box `type`.
EntryTexts InitialEntries(const std::string& type = kTypeBoxInitialText);

}  // namespace trelvano
