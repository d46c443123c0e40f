// The session both front ends show: its events, its windows, its keyboard cursor and its plots in words; the
// readouts it gives.
#include "engine/session/Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/AllocateSampleBuffers.h"
#include "engine/CursorReadout.h"
#include "engine/GuardedPress.h"
#include "engine/entries/FaultMessage.h"
#include "engine/entries/NumberFormat.h"
#include "tests/support/Entries.h"
#include "tests/support/Faults.h"
#include "tests/support/RecordingHost.h"

namespace trelvano {
namespace {

// The events as "show Form2", "ended true", "message"; the texts apart.
struct Seen {
    std::vector<std::string> kinds;
    std::vector<std::string> texts;
};

Seen Read(const SessionEvents& events)
{
    static const char* const kNames[] = {"message", "show", "image", "closed", "readout", "described", "ended"};
    Seen seen;
    for (const SessionEvent& event : events) {
        // The plots' words have tests of their own.
        if (event.kind == EventKind::Described) continue;
        std::string kind = kNames[static_cast<int>(event.kind)];
        if (event.form != nullptr) kind.append(" ").append(event.form);
        if (event.kind == EventKind::PressEnded) kind.append(event.done ? " true" : " false");
        seen.kinds.push_back(kind);
        if (!event.text.empty()) seen.texts.push_back(event.text);
    }
    return seen;
}

// The panel edits as tests/support/Entries.h writes them, typed into the session's boxes.
void Enter(Session& session, const std::string& edits)
{
    const EntryTexts entries = support::Edited(edits, InitialEntries());
    for (const Entry& entry : kEntries) ASSERT_TRUE(session.SetText(entry.box, entries.*entry.text));
    ASSERT_TRUE(session.SetText("Combo1", entries.Combo1));
}

// Pressed with the edits and the comma as the separator, then both plots on screen; the press's events.
SessionEvents Press(Session& session, const std::string& edits)
{
    session.SetDecimalSeparator(",");
    Enter(session, edits);
    SessionEvents events = session.Press();
    session.ShowSpectrum();
    return events;
}

// The messages the engine's own press gives for the same entries.
std::vector<std::string> EngineMessages(const std::string& edits, AnalysisState& state)
{
    const EntryTexts entries = support::Edited(edits, InitialEntries());
    support::RecordingHost reference(entries.Combo1);
    GuardedPress(state, entries, reference, reference);
    return reference.messages;
}

bool AllBackground(const ResultWindow& window, plot::Rgb background)
{
    const auto rgba = window.Rgba();
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        if (rgba[i] != background.r || rgba[i + 1] != background.g || rgba[i + 2] != background.b) return false;
    }
    return true;
}

// The spectrum's window, drawn off screen, is not handed over until it is shown.
const std::vector<std::string> kDrawn = {"show Form2", "image Form2", "ended true"};
const std::vector<std::string> kFaulted = {"show Form2", "image Form2", "message", "ended false"};

// A warning comes before the window, a fault's message after the window and
// the plots behind it, a stop alone; the texts are the engine's own.
TEST(Session, PressesGiveTheirEventsInOrder)
{
    struct Row {
        const char* name;
        std::string edits;
        std::vector<std::string> events;
    };
    const std::vector<std::string> warnedThenDrawn = {"message", "show Form2", "image Form2", "ended true"};
    const Row rows[] = {
        {"Am", "Combo1=AM", kDrawn},
        {"Fm", "Combo1=FM", kDrawn},
        {"WNotWhole", "Combo1=AM|Text1=2.5", warnedThenDrawn},
        {"FmNotWhole", "Combo1=FM|Text7=2.6", warnedThenDrawn},
        {"ZeroWindow", "Combo1=AM|Text1=0", {"message", "ended true"}},
        {"BelowShannon", "Combo1=AM|Text13=100", {"message", "ended true"}},
        {"NoTypeChosen", "Text13=1000", {"message", "ended true"}},
        {"NPastTheIntegers", "Combo1=AM|Text13=2147483647", kFaulted},
        {"NegativeWindowAndN", "Combo1=AM|Text13=-1000|Text1=-2", kFaulted},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Session session;
        Enter(session, row.edits);
        const Seen seen = Read(session.Press());
        EXPECT_EQ(seen.kinds, row.events);
        AnalysisState reference;
        EXPECT_EQ(seen.texts, EngineMessages(row.edits, reference));
        EXPECT_EQ(session.State().params.SignalPeak, reference.params.SignalPeak);
        EXPECT_EQ(session.State().params.SpectrumPeak, reference.params.SpectrumPeak);
    }
}

// More than a 32-bit heap can hold, and more than this machine has: refused
// with the figures, and the next press draws as if nothing had happened.
TEST(Session, RefusedPressLeavesTheSessionUsable)
{
    Session session;
    Enter(session, "Combo1=AM|Text13=2000000000");
    const Seen refused = Read(session.Press());
    EXPECT_EQ(refused.kinds, kFaulted);
    const std::string outOfMemory = FaultMessage(RuntimeFault(FaultKind::OutOfMemory));
    ASSERT_EQ(refused.texts.size(), 1u);
    EXPECT_EQ(refused.texts[0].rfind(outOfMemory, 0), 0u);
    // What it needed and what the machine could give follow on lines of their own.
    EXPECT_NE(refused.texts[0].find('\n', outOfMemory.size()), std::string::npos) << refused.texts[0];

    // An allocation the memory check let through still ends the event with the memory text.
    support::RecordingSink sink;
    RunGuarded(sink, [] { throw std::bad_alloc(); });
    EXPECT_EQ(sink.texts, std::vector<std::string>{outOfMemory});

    EXPECT_FALSE(session.SetText("Text99", "5"));
    Enter(session, "Combo1=AM");
    EXPECT_EQ(Read(session.Press()).kinds, kDrawn);
    EXPECT_EQ(session.State().params.N, 1000);
}

// A result window made, shown, closed and made again: blank after a close, nothing under a pointer (the
// spectrum's drawn but hidden included) or a button that is not on screen. A plot's image has the layout size
// times the ratio in force when it was made or last blanked: a new ratio takes effect at the next press.
TEST(Session, ClosedWindowComesBackBlankAndANewRatioWaitsForThePress)
{
    Session session;
    Enter(session, "Combo1=AM");
    session.Press();
    EXPECT_TRUE(Read(session.Readout("Form3", 5, 5)).kinds.empty());
    // The spectrum was drawn hidden: showing it hands its image over.
    EXPECT_EQ(Read(session.ShowSpectrum()).kinds, (std::vector<std::string>{"show Form3", "image Form3"}));
    ASSERT_NE(session.Window("Form3"), nullptr);
    EXPECT_FALSE(AllBackground(*session.Window("Form3"), plot::Black));

    EXPECT_EQ(Read(session.Close("Form3")).kinds, std::vector<std::string>{"closed Form3"});
    EXPECT_EQ(session.Window("Form3"), nullptr);
    EXPECT_TRUE(Read(session.Readout("Form3", 10, 10)).kinds.empty());
    EXPECT_EQ(Read(session.ShowSpectrum()).kinds, (std::vector<std::string>{"show Form3", "image Form3"}));
    ASSERT_NE(session.Window("Form3"), nullptr);
    EXPECT_TRUE(AllBackground(*session.Window("Form3"), plot::Black));

    // With the waveform window gone its button is gone too; a press brings both back drawn.
    EXPECT_EQ(Read(session.Close("Form2")).kinds, std::vector<std::string>{"closed Form2"});
    EXPECT_TRUE(Read(session.ShowSpectrum()).kinds.empty());
    EXPECT_TRUE(Read(session.Close("Form1")).kinds.empty());
    EXPECT_EQ(Read(session.Press()).kinds,
              (std::vector<std::string>{"show Form2", "image Form2", "image Form3", "ended true"}));
    EXPECT_EQ(session.Window("Form2")->Pixels().width, 1001);
    session.SetPixelRatio(2.0);
    session.SetPixelRatio(0.0);  // no screen's: ignored
    EXPECT_EQ(session.Window("Form2")->Pixels().width, 1001);
    session.Press();
    EXPECT_EQ(session.Window("Form2")->Pixels().width, 2002);
    EXPECT_EQ(session.Window("Form3")->Pixels().height, 1234);
    EXPECT_EQ(session.Window("Form2")->Ratio(), 2.0);
    EXPECT_FALSE(AllBackground(*session.Window("Form2"), plot::Rgb{255, 255, 192}));
}

// The first event of the kind, about `form` when one is named.
const SessionEvent* Find(const SessionEvents& events, EventKind kind, const char* form = nullptr)
{
    for (const SessionEvent& event : events) {
        if (event.kind == kind && (form == nullptr || std::string(event.form) == form)) return &event;
    }
    return nullptr;
}

SessionEvent KeyReadout(Session& session, const char* form, CursorKey key)
{
    const SessionEvents events = session.Key(form, key);
    const SessionEvent* readout = Find(events, EventKind::Readout);
    return readout != nullptr ? *readout : SessionEvent{EventKind::Message};
}

// The image columns that hold a red pixel, the lines a sighted user sees, with the row of each one's top.
std::vector<std::pair<int, int>> RedColumns(const ResultWindow& window)
{
    std::vector<std::pair<int, int>> columns;
    const plot::PixelSize pixels = window.Pixels();
    for (int x = 0; x < pixels.width; ++x) {
        for (int y = 0; y < pixels.height; ++y) {
            if (window.Image().At(x, y) == plot::Red) {
                columns.emplace_back(x, y);
                break;
            }
        }
    }
    return columns;
}

std::string Described(const SessionEvents& events, const char* form)
{
    const SessionEvent* described = Find(events, EventKind::Described, form);
    return described != nullptr ? described->text : "(none)";
}

// Right from the first line visits every line in view once, left to right, and stops on the last; each
// readout is the line's own frequency and height. Each press says in words what the plots show, once; a
// fault's blank plots say nothing.
TEST(PlotCursor, SpectrumStepsVisitExactlyTheVisibleLinesThatTheWordsName)
{
    for (const auto& [edits, ratio] :
         {std::pair{"Combo1=AM", 1.0}, {"Combo1=FM", 2.0}, {"Combo1=FM|Text1=100|Text13=400000", 1.0}}) {
        SCOPED_TRACE(edits);
        Session session;
        session.SetPixelRatio(ratio);
        Press(session, edits);
        const ResultWindow& window = *session.Window("Form3");
        std::vector<std::pair<int, int>> visited;
        SessionEvent at = KeyReadout(session, "Form3", CursorKey::First);
        for (int guard = 0; guard < 5000; ++guard) {
            // The cursor stands on the line's top, to within the pixel the line's end is rounded into.
            visited.emplace_back(static_cast<int>(std::floor(at.x * ratio)),
                                 static_cast<int>(std::round(at.y * ratio)));
            const SessionEvent next = KeyReadout(session, "Form3", CursorKey::Next);
            if (next.x == at.x) break;
            at = next;
        }
        EXPECT_EQ(visited, RedColumns(window));
        EXPECT_EQ(KeyReadout(session, "Form3", CursorKey::Last).x, at.x);
        EXPECT_EQ(KeyReadout(session, "Form3", CursorKey::Previous).x<at.x, visited.size()> 1);
    }
    // The default AM: the carrier and its two side lines, read exactly off their tops. The spectrum's
    // window, drawn off screen, is handed over and described when it is shown, and at each press after that.
    Session am;
    am.SetDecimalSeparator(",");
    Enter(am, "Combo1=AM");
    const SessionEvents drawn = am.Press();
    const SessionEvents shown = am.ShowSpectrum();
    EXPECT_EQ(KeyReadout(am, "Form3", CursorKey::Last).text, "f= 33000,00 Hz ; S(f) = 6,25E+00 V");
    EXPECT_EQ(KeyReadout(am, "Form3", CursorKey::First).text, "f= 27000,00 Hz ; S(f) = 6,25E+00 V");
    EXPECT_EQ(KeyReadout(am, "Form3", CursorKey::Next).text, "f= 30000,00 Hz ; S(f) = 2,50E+01 V");
    const std::string lines =
        "Spettro, righe visibili: 3. f= 27000,00 Hz ; S(f) = 6,25E+00 V. f= 30000,00 Hz ; S(f) = 2,50E+01 V. "
        "f= 33000,00 Hz ; S(f) = 6,25E+00 V";
    EXPECT_EQ(Described(drawn, "Form3"), "(none)");
    EXPECT_EQ(Described(shown, "Form3"), lines);
    EXPECT_EQ(Described(drawn, "Form2"), "Forma d'onda, primo picco: t= 0,00 msec ; V(t) = 3,75E+01 V");
    am.SetText("Combo1", "FM");
    const std::string fm = Described(am.Press(), "Form3");
    EXPECT_EQ(fm.substr(0, 25), lines.substr(0, 25));
    EXPECT_NE(fm, lines);
    EXPECT_EQ(Described(am.Press(), "Form2"), "(none)");
    am.SetText("Text13", "2147483647");
    const SessionEvents faulted = am.Press();
    EXPECT_EQ(Described(faulted, "Form2"), "");
    EXPECT_EQ(Described(faulted, "Form3"), "");
}

// The keyboard's readout is the mouse's at the place the cursor went to, the pointer taken in layout pixels
// whatever the image's pixel ratio; the waveform's cursor stands on the trace, so its value is the signal's there.
TEST(PlotCursor, KeyReadoutsAreTheMousesAtTheCursor)
{
    const std::vector<std::pair<const char*, CursorKey>> keys = {
        {"Form2", CursorKey::First}, {"Form2", CursorKey::Next}, {"Form2", CursorKey::Down},
        {"Form2", CursorKey::Right}, {"Form2", CursorKey::Last}, {"Form2", CursorKey::Previous},
        {"Form3", CursorKey::First}, {"Form3", CursorKey::Up},   {"Form3", CursorKey::Left},
    };
    for (const double ratio : {2.0, 1.0}) {
        Session session;
        session.SetPixelRatio(ratio);
        Press(session, "Combo1=FM|Text2=0.5");
        for (const auto& [form, key] : keys) {
            SCOPED_TRACE(testing::Message() << form << " key " << static_cast<int>(key) << " ratio " << ratio);
            const SessionEvent read = KeyReadout(session, form, key);
            ASSERT_EQ(read.kind, EventKind::Readout);
            EXPECT_EQ(Read(session.Readout(form, read.x, read.y)).texts, std::vector{read.text});
        }
    }
    Session session;
    Press(session, "Combo1=FM|Text2=0.5");
    // With Kt = 0.5 the trace ends half-way: End stands on its last sample, N, at W/2.
    const SessionEvent end = KeyReadout(session, "Form2", CursorKey::Last);
    EXPECT_EQ(std::floor(end.x), 500);
    EXPECT_EQ(end.text.substr(0, 13), "t= 2,00 msec ");
    // Each step of the trace is one layout column, on a sample where they lie
    // closer than a column: the value read is that sample's.
    const AnalysisState& state = session.State();
    SessionEvent at = KeyReadout(session, "Form2", CursorKey::First);
    EXPECT_EQ(at.text, "t= 0,00 msec ; V(t) = " + FormatScientific2(state.buffers.Signal.at(0), ",") + " V");
    for (int column = 1; column <= 10; ++column) at = KeyReadout(session, "Form2", CursorKey::Next);
    EXPECT_EQ(std::floor(at.x), 10);
    EXPECT_EQ(at.text, "t= 0,04 msec ; V(t) = " + FormatScientific2(state.buffers.Signal.at(20), ",") + " V");
    // Free moves stop at the edges.
    KeyReadout(session, "Form2", CursorKey::First);
    EXPECT_EQ(KeyReadout(session, "Form2", CursorKey::Left).x, 0.0);
    // A window not on screen has no cursor.
    session.Close("Form3");
    EXPECT_TRUE(session.Key("Form3", CursorKey::Next).empty());
}

// A plot shown at another size or ratio is drawn again from the last run at
// once, the same as a press made at that size; a rejected press since changes
// nothing in it, and a blank plot stays blank.
TEST(PlotCursor, PlotsAreDrawnAgainAtTheirSizeOnScreen)
{
    Session resized;
    Press(resized, "Combo1=FM");
    resized.SetText("Text13", "10");  // refused below Shannon's limit
    resized.Press();
    const SessionEvents events = resized.SetPlotScreen("Form3", 350, 214, 3.0);
    ASSERT_NE(Find(events, EventKind::PlotChanged), nullptr);
    EXPECT_NE(Find(events, EventKind::Described), nullptr);
    EXPECT_TRUE(resized.SetPlotScreen("Form3", 350, 214, 3.0).empty());

    Session fresh;
    fresh.SetPlotScreen("Form3", 350, 214, 3.0);
    Press(fresh, "Combo1=FM");
    const ResultWindow& a = *resized.Window("Form3");
    const ResultWindow& b = *fresh.Window("Form3");
    EXPECT_EQ(a.Pixels().width, 1050);
    EXPECT_EQ(a.LayoutSize().width, 350);
    EXPECT_TRUE(std::equal(a.Rgba().begin(), a.Rgba().end(), b.Rgba().begin(), b.Rgba().end()));
    // Its lines in words too; their readouts convert with the refused entries, as the mouse's do.
    EXPECT_EQ(a.description.substr(0, 28), b.description.substr(0, 28));

    // Sizes no screen has are ignored.
    for (const auto& [w, h, r] :
         {std::tuple{0.0, 100.0, 1.0}, {100.0, NAN, 1.0}, {1e6, 100.0, 1.0}, {100.0, 100.0, 0.0}}) {
        EXPECT_TRUE(resized.SetPlotScreen("Form2", w, h, r).empty());
    }
    EXPECT_EQ(resized.Window("Form2")->LayoutSize().width, 1001);

    resized.Close("Form3");
    resized.ShowSpectrum();
    resized.SetPlotScreen("Form3", 200, 100, 1.0);
    EXPECT_TRUE(AllBackground(*resized.Window("Form3"), plot::Black));
}

// What a default AM run leaves, filled by hand: 37.5 V at sample 0, lines of
// 6.25, 25 and 6.25 V on bins 54, 60, 66; the peaks stale, to be scanned again.
AnalysisState DefaultAmRun()
{
    AnalysisState state = support::DefaultState();
    state.params.SignalPeak = state.params.SpectrumPeak = 99.0;
    AllocateSampleBuffers(state);
    state.buffers.Signal.at(0) = 37.5;
    for (int k : {54, 60, 66}) state.buffers.Spectrum.at(k) = k == 60 ? 25.0 : 6.25;
    return state;
}

// The waveform read at the top of the trace, the spectrum at the carrier's top; "." as the separator.
TEST(CursorReadout, WaveformAtTheTopOfTheTraceAndSpectrumAtTheCarrierTop)
{
    const std::string time = "t= 1.00 msec ; V(t) = 3.75E+01 V", carrier = "f= 30000.00 Hz ; S(f) = 2.50E+01 V";
    const std::tuple<const char*, void (*)(AnalysisState&), std::string, std::string> rows[] = {
        {"DefaultAm", [](AnalysisState&) {}, time, carrier},
        {"ZeroExpansion", [](AnalysisState& s) { s.params.Kt = 0.0; }, "t= n.d. msec ; V(t) = 3.75E+01 V", carrier},
        {"ZeroWindow", [](AnalysisState& s) { s.params.W = 0.0; }, "t= 0.00 msec ; V(t) = 3.75E+01 V",
         "f= n.d. Hz ; S(f) = 2.50E+01 V"},
        {"NoBuffersYet", [](AnalysisState& s) { s.buffers = SampleBuffers{}; }, "t= 1.00 msec ; V(t) = 0.00E+00 V",
         "f= 30000.00 Hz ; S(f) = 0.00E+00 V"},
        // Left by a rejected press: N beyond the arrays of the last run, or with no 32-bit N - 1.
        {"SamplesBeyondTheBuffers", [](AnalysisState& s) { s.params.N = 5000; }, time,
         "f= 150000.00 Hz ; S(f) = 2.50E+01 V"},
        {"SmallestSampleCount", [](AnalysisState& s) { s.params.N = -2147483647 - 1; }, time,
         "f= -64424509440.00 Hz ; S(f) = 0.00E+00 V"},
    };
    for (const auto& [name, edit, waveform, spectrum] : rows) {
        SCOPED_TRACE(name);
        AnalysisState state = DefaultAmRun();
        edit(state);
        EXPECT_EQ(WaveformReadout(state, 50.0F, 95.0F, "."), waveform);
        EXPECT_EQ(SpectrumReadout(state, 50.0F, 90.0F, "."), spectrum);
    }
}

// A pointer on the device pixel where a canvas puts a plot point reads that point back, whatever the plot's
// size; the readout then takes it from there. With other corners the axes follow them.
TEST(CursorReadout, PointerReadsBackThePlotPointUnderIt)
{
    const plot::PixelSize sizes[] = {{1001, 609}, {200, 120}, {1009, 617}};
    const std::tuple<float, float> points[] = {
        {0.0F, 100.0F}, {100.0F, 0.0F}, {50.0F, 95.0F}, {37.5F, 12.25F}, {-5.0F, 110.0F}};
    for (const plot::PixelSize size : sizes) {
        for (const auto& [x, y] : points) {
            const double px = x / 100.0 * size.width, py = (100.0 - y) / 100.0 * size.height;
            const plot::PlotPoint at = PointerToPlot(px, py, size);
            EXPECT_NEAR(at.x, x, 1e-4F) << size.width << " " << x;
            EXPECT_NEAR(at.y, y, 1e-4F) << size.height << " " << y;
        }
    }
    const plot::PlotPoint corner = PointerToPlot(200.0, 30.0, {200, 120}, {-10.0, 5.0, 30.0, 1.0});
    EXPECT_TRUE(corner.x == 30.0F && corner.y == 4.0F) << corner.x << " " << corner.y;
    const plot::PlotPoint none = PointerToPlot(3.0, 4.0, {0, 0});
    EXPECT_TRUE(none.x == plot::kPlotCorners.x1 && none.y == plot::kPlotCorners.y1);
}

}  // namespace
}  // namespace trelvano
