#include "web/host/WebHost.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/CursorReadout.h"
#include "engine/GuardedPress.h"
#include "engine/entries/FaultMessage.h"
#include "web/host/Json.h"
#include "tests/support/Entries.h"
#include "tests/support/RecordingHost.h"

namespace trelvano::web {
namespace {

// The events as "show Form2", "busy true", "message"; the messages' texts apart.
struct Events {
    std::vector<std::string> kinds;
    std::vector<std::string> texts;
};

// The value of "key" in one event object: a string's escaped text, or a bare
// word; none when the event has no such key.
std::optional<std::string> Field(std::string_view event, std::string_view key)
{
    std::string tag = "\"";
    tag.append(key).append("\": ");
    const std::size_t at = event.find(tag);
    if (at == std::string_view::npos) return std::nullopt;
    std::size_t i = at + tag.size();
    if (event[i] != '"') return std::string(event.substr(i, event.find_first_of(",}", i) - i));
    std::string text;
    for (++i; event[i] != '"'; ++i) {
        if (event[i] == '\\') text += event[i++];
        text += event[i];
    }
    return text;
}

Events Read(const std::string& json)
{
    static constexpr std::string_view kOpen = "{\"event\": ";
    Events read;
    for (std::size_t at = json.find(kOpen); at != std::string::npos;) {
        const std::size_t next = json.find(kOpen, at + 1);
        const std::string_view event = std::string_view(json).substr(at, next - at);
        std::string kind = Field(event, "event").value_or("");
        for (const char* part : {"form", "done"}) {
            if (const auto value = Field(event, part)) kind.append(" ").append(*value);
        }
        read.kinds.push_back(kind);
        if (const auto text = Field(event, "text")) read.texts.push_back(*text);
        at = next;
    }
    return read;
}

// A host given the panel edits as tests/support/Entries.h writes them.
void Enter(WebHost& host, const std::string& edits)
{
    const EntryTexts entries = support::Edited(edits, InitialEntries());
    for (const Entry& entry : kEntries) host.SetText(entry.box, entries.*entry.text);
    host.SetText("Combo1", entries.Combo1);
}

// The messages the engine's own press gives for the same entries, escaped as the page gets them.
std::vector<std::string> EngineMessages(const std::string& edits)
{
    const EntryTexts entries = support::Edited(edits, InitialEntries());
    support::RecordingHost reference(entries.Combo1);
    AnalysisState state;
    GuardedPress(state, entries, reference, reference);
    std::vector<std::string> texts;
    for (const std::string& text : reference.messages) {
        const std::string quoted = JsonString(text);
        texts.push_back(quoted.substr(1, quoted.size() - 2));
    }
    return texts;
}

// `"name": value` as the figures write it.
std::string Member(const char* name, double value)
{
    return JsonString(name).append(": ").append(JsonNumber(value));
}

const std::vector<std::string> kDrawn = {"show Form2", "image Form2", "image Form3", "busy true"};
const std::vector<std::string> kFaulted = {"show Form2", "image Form2", "image Form3", "message", "busy false"};

TEST(WebHost, PressesGiveTheirEventsInOrder)
{
    struct Row {
        const char* name;
        std::string edits;
        std::vector<std::string> events;
    };
    const std::vector<std::string> warnedThenDrawn = {"message", "show Form2", "image Form2", "image Form3",
                                                      "busy true"};
    const Row rows[] = {
        {"Am", "Combo1=AM", kDrawn},
        {"Fm", "Combo1=FM", kDrawn},
        {"Pm", "Combo1=PM", kDrawn},
        {"WNotWhole", "Combo1=AM|Text1=2.5", warnedThenDrawn},
        {"FpNotWhole", "Combo1=AM|Text3=30.4", warnedThenDrawn},
        {"FmNotWhole", "Combo1=FM|Text7=2.6", warnedThenDrawn},
        {"ZeroWindow", "Combo1=AM|Text1=0", {"message", "busy true"}},
        {"BelowShannon", "Combo1=AM|Text13=100", {"message", "busy true"}},
        {"NoTypeChosen", "Text13=1000", {"message", "busy true"}},
        {"NPastTheIntegers", "Combo1=AM|Text13=2147483647", kFaulted},
        {"NegativeWindowAndN", "Combo1=AM|Text13=-1000|Text1=-2", kFaulted},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WebHost host;
        Enter(host, row.edits);
        const Events events = Read(host.Press());
        EXPECT_EQ(events.kinds, row.events);
        EXPECT_EQ(events.texts, EngineMessages(row.edits));
    }
}

// More than a 32-bit heap can hold, and more than this machine has: refused
// with the figures, and the next press draws as if nothing had happened.
TEST(WebHost, RefusedPressLeavesTheHostUsable)
{
    WebHost host;
    Enter(host, "Combo1=AM|Text13=2000000000");
    const Events refused = Read(host.Press());
    EXPECT_EQ(refused.kinds, kFaulted);
    const std::string outOfMemory = FaultMessage(RuntimeFault(FaultKind::OutOfMemory));
    ASSERT_EQ(refused.texts.size(), 1u);
    EXPECT_EQ(refused.texts[0].rfind(JsonString(outOfMemory).substr(1, outOfMemory.size() - 2), 0), 0u);
    // What it needed and what the machine could give follow on lines of their own.
    EXPECT_NE(refused.texts[0].find("\\n", outOfMemory.size()), std::string::npos) << refused.texts[0];

    Enter(host, "Combo1=AM");
    EXPECT_EQ(Read(host.Press()).kinds, kDrawn);
    const std::string drawn = host.Figures();
    EXPECT_NE(drawn.find("\"N\": 1000,"), std::string::npos) << drawn;
    // The same press again counts only its own lines.
    host.Press();
    EXPECT_EQ(host.Figures(), drawn);
}

bool AllBackground(const PlotWindow& window, plot::Rgb background)
{
    const auto rgba = window.Rgba();
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        if (rgba[i] != background.r || rgba[i + 1] != background.g || rgba[i + 2] != background.b) return false;
    }
    return true;
}

TEST(WebHost, ClosedWindowComesBackBlank)
{
    WebHost host;
    Enter(host, "Combo1=AM");
    host.Press();
    // The spectrum was drawn hidden: showing it announces no new image.
    EXPECT_EQ(Read(host.ShowSpectrum()).kinds, std::vector<std::string>{"show Form3"});
    ASSERT_NE(host.Window("Form3"), nullptr);
    EXPECT_FALSE(AllBackground(*host.Window("Form3"), plot::Black));

    EXPECT_EQ(Read(host.Close("Form3")).kinds, std::vector<std::string>{"closed Form3"});
    EXPECT_EQ(host.Window("Form3"), nullptr);
    EXPECT_EQ(Read(host.Readout("Form3", 10, 10)).kinds, std::vector<std::string>{});
    EXPECT_EQ(Read(host.ShowSpectrum()).kinds, (std::vector<std::string>{"show Form3", "image Form3"}));
    ASSERT_NE(host.Window("Form3"), nullptr);
    EXPECT_TRUE(AllBackground(*host.Window("Form3"), plot::Black));

    // With the waveform window gone its button is gone too; a press brings both back drawn.
    EXPECT_EQ(Read(host.Close("Form2")).kinds, std::vector<std::string>{"closed Form2"});
    EXPECT_EQ(Read(host.ShowSpectrum()).kinds, std::vector<std::string>{});
    EXPECT_EQ(Read(host.Close("Form1")).kinds, std::vector<std::string>{});
    EXPECT_EQ(Read(host.Press()).kinds, kDrawn);
    EXPECT_FALSE(AllBackground(*host.Window("Form2"), plot::Rgb{255, 255, 192}));
}

TEST(WebHost, ReadoutsAreTheEnginesAtTheSamePoint)
{
    WebHost host;
    host.SetDecimalSeparator(",");
    Enter(host, "Combo1=FM");
    host.Press();
    support::RecordingHost windows("FM");
    AnalysisState reference;
    GuardedPress(reference, support::Edited("Combo1=FM", InitialEntries()), windows, windows);
    EXPECT_NE(host.Figures().find(Member("SignalPeak", reference.params.SignalPeak)), std::string::npos);
    EXPECT_NE(host.Figures().find(Member("SpectrumPeak", reference.params.SpectrumPeak)), std::string::npos);

    // The spectrum window is still hidden: nothing under the pointer.
    EXPECT_TRUE(Read(host.Readout("Form3", 5, 5)).kinds.empty());
    host.ShowSpectrum();
    const double points[][2] = {{0, 0}, {500.5, 304.25}, {1000.9, 608.9}, {-3, 700}};
    for (const auto& [x, y] : points) {
        const plot::PlotPoint wave = PointerToPlot(x, y, {1001, 609});
        const plot::PlotPoint spectrum = PointerToPlot(x, y, {1009, 617});
        EXPECT_EQ(Read(host.Readout("Form2", x, y)).texts,
                  std::vector<std::string>{WaveformReadout(reference, wave.x, wave.y, ",")});
        EXPECT_EQ(Read(host.Readout("Form3", x, y)).texts,
                  std::vector<std::string>{SpectrumReadout(reference, spectrum.x, spectrum.y, ",")});
    }
}

TEST(Json, StringsEscapeWhatJsonCannotHoldAndNumbersReadBack)
{
    EXPECT_EQ(JsonString("a\"b\\c\nd\x01 è"), "\"a\\\"b\\\\c\\nd\\u0001 è\"");
    EXPECT_EQ(std::stod(JsonNumber(0.1 + 0.2)), 0.1 + 0.2);
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
}

}  // namespace
}  // namespace trelvano::web
