#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/entries/EntryTable.h"
#include "plot/Canvas.h"

namespace trelvano {

// What the three windows show, apart from the plots' drawing: every front end
// builds its windows from these tables, so the desktop and the browser show
// the same places, texts, fonts and colours.

using plot::Rgb;

// The face the windows were laid out for; a front end that lacks it takes the
// nearest sans-serif of about its width.
inline constexpr const char* kPanelFace = "MS Sans Serif";

struct Font {
    double points = 8.25;
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// Captions every message box, and the input panel.
inline constexpr const char* kApplicationTitle = "Trelvano";
// The one button of a message box, and what a result window's close box is
// called for those who cannot see its cross.
inline constexpr const char* kMessageButton = "OK";
inline constexpr const char* kCloseBoxName = "Chiudi";

// Every entry box and the type box.
inline constexpr Rgb kEntryBackground{255, 192, 192};

enum class ControlKind {
    Entry,  // an entry box of the entry table
    Label,
    TypeBox,        // an editable drop-down list
    Button,         // a graphical button: its face shows its background colour
    Option,         // the option buttons of one window form one group
    Plot,           // a persistent image with a readout under the pointer
    HiddenPicture,  // never visible; kept so that the window has every control of its layout
};

enum class Alignment { TopLeft, Centre };

// A control that is not an entry box (those are the entry table's).
struct Control {
    const char* name;
    ControlKind kind;
    Twips place;
    int tabIndex;
    const char* text = nullptr;       // caption, or the type box's initial text
    std::optional<Font> font{};       // none: the window's
    std::optional<Rgb> background{};  // none: the window's
    Alignment alignment = Alignment::TopLeft;
    std::span<const char* const> list{};  // what the type box offers, in this order
    const char* describes = nullptr;      // a label's control, which screen readers name by it
    const char* link = nullptr;           // its name in a link to an exercise, if a link sets it
};

enum class WindowIcon { Application, Spectrum };

struct Form {
    const char* name;
    const char* caption;
    int clientWidth;  // twips
    int clientHeight;
    Font font;  // what every control without a font of its own shows
    WindowIcon icon;
    std::span<const Control> controls;
    std::span<const Entry> entries;  // the input panel's boxes; none elsewhere
};

// clang-format off
inline constexpr std::array<Control, 6> kForm1Controls{{
    {"Label8", ControlKind::Label, {5040, 2400, 3855, 255}, 17, "Casella per la scelta del tipo di modulazione",
     {}, {}, Alignment::TopLeft, {}, "Combo1"},
    {"Combo1", ControlKind::TypeBox, {5040, 2760, 3135, 420}, 16, kTypeBoxInitialText, Font{12.0, true},
     kEntryBackground, Alignment::TopLeft, kModulationTypes, nullptr, kTypeBoxLink},
    {"Command2", ControlKind::Button, {5040, 3480, 1935, 495}, 0, "Grafici", {}, kEntryBackground},
    {"Label18", ControlKind::Label, {9720, 2640, 1455, 255}, 28, "mf=kFM*Am/fm"},
    {"Label19", ControlKind::Label, {9720, 3120, 1335, 255}, 29, "mPM=kPM*Am"},
    {"Label67", ControlKind::Label, {12120, 4800, 1575, 285}, 4, "tv@example.org", Font{8.25, false},
     Rgb{192, 255, 255}, Alignment::Centre},
}};

inline constexpr std::array<Control, 6> kForm2Controls{{
    {"Picture1", ControlKind::Plot, {120, 120, 15015, 9135}, 0, nullptr, {}, Rgb{255, 255, 192}},
    {"Label1", ControlKind::Label, {120, 9480, 8655, 375}, 1,
     "Sposta il cursore del mouse sulla forma d'onda , comparirà il valore in quel punto", Font{9.75, true}},
    {"Picture2", ControlKind::HiddenPicture, {16800, 6480, 495, 375}, 2},
    {"Option1", ControlKind::Option, {15240, 2280, 1215, 375}, 3, "V(t)", Font{8.25, true}},
    {"Option2", ControlKind::Option, {15240, 6840, 855, 375}, 4, "Vr(t)", Font{8.25, true}},
    {"Command1", ControlKind::Button, {15360, 480, 1935, 855}, 5, "Visualizza spettro", Font{12.0, true},
     Rgb{255, 0, 0}},
}};

inline constexpr std::array<Control, 3> kForm3Controls{{
    {"Picture1", ControlKind::Plot, {0, 0, 15135, 9255}, 0, nullptr, {}, Rgb{0, 0, 0}},
    {"Picture2", ControlKind::HiddenPicture, {15960, 6240, 495, 375}, 1},
    {"Label4", ControlKind::Label, {120, 9360, 7335, 255}, 2, "Righe dello spettro in rosso", Font{8.25, true}},
}};

inline constexpr Form kForm1{"Form1", kApplicationTitle, 13830, 5205, Font{8.25, true}, WindowIcon::Application,
                             kForm1Controls, kEntries};
inline constexpr Form kForm2{"Form2", "Forme d'onda reali", 18495, 10005, Font{8.25, false}, WindowIcon::Application,
                             kForm2Controls, {}};
inline constexpr Form kForm3{"Form3", "Spettro", 17460, 9705, Font{8.25, false}, WindowIcon::Spectrum,
                             kForm3Controls, {}};
// clang-format on

// A control as a front end builds it, the entry boxes and their captions
// among them, with the labels screen readers name and describe it by.
struct PlacedControl {
    const char* name;
    ControlKind kind;
    Twips place;
    int tabIndex = 0;
    const char* text = nullptr;
    std::optional<Font> font{};
    std::optional<Rgb> background{};
    Alignment alignment = Alignment::TopLeft;
    std::span<const char* const> list{};
    const char* labelledBy = nullptr;
    std::vector<const char*> describedBy{};
    const char* link = nullptr;
};

// Every control of `form` in the order the front ends build them: the entry
// boxes, their captions, then the window's other controls.
std::vector<PlacedControl> ControlsInBuildOrder(const Form& form);

// The control of the given name on `form`, or null.
const Control* FindControl(const Form& form, std::string_view name);

// The names of the controls that take the keyboard focus, entry boxes among
// them, in the order Tab visits them.
std::vector<std::string_view> TabOrder(const Form& form);

}  // namespace trelvano
