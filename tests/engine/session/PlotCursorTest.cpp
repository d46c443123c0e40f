#include "engine/session/PlotCursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <string>
#include <vector>

#include "engine/entries/NumberFormat.h"
#include "engine/session/Session.h"
#include "tests/support/Entries.h"

namespace trelvano {
namespace {

// A session pressed with the panel edited as tests/support/Entries.h writes it.
void Press(Session& session, const std::string& edits)
{
    const EntryTexts entries = support::Edited(edits, InitialEntries());
    for (const Entry& entry : kEntries) session.SetText(entry.box, entries.*entry.text);
    session.SetText("Combo1", entries.Combo1);
    session.SetDecimalSeparator(",");
    session.Press();
    session.ShowSpectrum();
}

const SessionEvent* Find(const SessionEvents& events, EventKind kind)
{
    for (const SessionEvent& event : events) {
        if (event.kind == kind) return &event;
    }
    return nullptr;
}

SessionEvent KeyReadout(Session& session, const char* form, CursorKey key)
{
    const SessionEvents events = session.Key(form, key);
    const SessionEvent* readout = Find(events, EventKind::Readout);
    return readout != nullptr ? *readout : SessionEvent{EventKind::Message};
}

std::string MouseText(Session& session, const char* form, double x, double y)
{
    const SessionEvents events = session.Readout(form, x, y);
    const SessionEvent* readout = Find(events, EventKind::Readout);
    return readout != nullptr ? readout->text : std::string();
}

// The image columns that hold a red pixel: the lines a sighted user sees.
std::vector<int> RedColumns(const ResultWindow& window)
{
    std::vector<int> columns;
    const plot::PixelSize pixels = window.Pixels();
    for (int x = 0; x < pixels.width; ++x) {
        for (int y = 0; y < pixels.height; ++y) {
            if (window.Image().At(x, y) == plot::Red) {
                columns.push_back(x);
                break;
            }
        }
    }
    return columns;
}

// Right from the first line visits every line in view once, left to right,
// and stops on the last; each readout is the line's own frequency and height.
TEST(PlotCursor, SpectrumStepsVisitExactlyTheVisibleLines)
{
    struct Row {
        const char* edits;
        double ratio;
    };
    for (const Row& row : {Row{"Combo1=AM", 1.0}, Row{"Combo1=FM", 2.0}, Row{"Combo1=FM|Text13=200000", 1.0}}) {
        SCOPED_TRACE(row.edits);
        Session session;
        session.SetPixelRatio(row.ratio);
        Press(session, row.edits);
        const ResultWindow& window = *session.Window("Form3");
        std::vector<int> visited;
        SessionEvent at = KeyReadout(session, "Form3", CursorKey::First);
        for (int guard = 0; guard < 5000; ++guard) {
            visited.push_back(static_cast<int>(std::floor(at.x * row.ratio)));
            const SessionEvent next = KeyReadout(session, "Form3", CursorKey::Next);
            if (next.x == at.x) break;
            at = next;
        }
        EXPECT_EQ(visited, RedColumns(window));
        EXPECT_EQ(KeyReadout(session, "Form3", CursorKey::Last).x, at.x);
        EXPECT_EQ(KeyReadout(session, "Form3", CursorKey::Previous).x<at.x, visited.size()> 1);
    }
    // The default AM: the carrier and its two side lines, read exactly off their tops.
    Session am;
    Press(am, "Combo1=AM");
    EXPECT_EQ(KeyReadout(am, "Form3", CursorKey::Last).text, "f= 33000,00 Hz ; S(f) = 6,25E+00 V");
    EXPECT_EQ(KeyReadout(am, "Form3", CursorKey::First).text, "f= 27000,00 Hz ; S(f) = 6,25E+00 V");
    EXPECT_EQ(KeyReadout(am, "Form3", CursorKey::Next).text, "f= 30000,00 Hz ; S(f) = 2,50E+01 V");
}

// The keyboard's readout is the mouse's at the place the cursor went to; the
// waveform's cursor stands on the trace, so its value is the signal's there.
TEST(PlotCursor, KeyReadoutsAreTheMousesAtTheCursor)
{
    Session session;
    Press(session, "Combo1=FM|Text2=0.5");
    const std::vector<std::pair<const char*, CursorKey>> keys = {
        {"Form2", CursorKey::First}, {"Form2", CursorKey::Next}, {"Form2", CursorKey::Down},
        {"Form2", CursorKey::Right}, {"Form2", CursorKey::Last}, {"Form2", CursorKey::Previous},
        {"Form3", CursorKey::First}, {"Form3", CursorKey::Up},   {"Form3", CursorKey::Left},
    };
    for (const auto& [form, key] : keys) {
        SCOPED_TRACE(testing::Message() << form << " key " << static_cast<int>(key));
        const SessionEvent read = KeyReadout(session, form, key);
        ASSERT_EQ(read.kind, EventKind::Readout);
        EXPECT_EQ(read.text, MouseText(session, form, read.x, read.y));
    }
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

std::string Described(const SessionEvents& events, const char* form)
{
    for (const SessionEvent& event : events) {
        if (event.kind == EventKind::Described && std::string(event.form) == form) return event.text;
    }
    return "(none)";
}

// Each press says in words what the plots show; a fault's blank plots say nothing.
TEST(PlotCursor, PlotsAreDescribedAfterEachPress)
{
    Session session;
    session.SetDecimalSeparator(",");
    session.SetText("Combo1", "AM");
    const SessionEvents drawn = session.Press();
    EXPECT_EQ(Described(drawn, "Form3"),
              "Spettro, righe visibili: 3. f= 27000,00 Hz ; S(f) = 6,25E+00 V. f= 30000,00 Hz ; S(f) = 2,50E+01 V. "
              "f= 33000,00 Hz ; S(f) = 6,25E+00 V");
    EXPECT_EQ(Described(drawn, "Form2"), "Forma d'onda, primo picco: t= 0,00 msec ; V(t) = 3,75E+01 V");
    // The same plots again: nothing new to say.
    EXPECT_EQ(Described(session.Press(), "Form2"), "(none)");
    session.SetText("Text13", "2147483647");
    const SessionEvents faulted = session.Press();
    EXPECT_EQ(Described(faulted, "Form2"), "");
    EXPECT_EQ(Described(faulted, "Form3"), "");
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
    const auto rgba = resized.Window("Form3")->Rgba();
    EXPECT_EQ(std::count(rgba.begin(), rgba.end(), 0), static_cast<std::ptrdiff_t>(rgba.size() / 4 * 3));
}

}  // namespace
}  // namespace trelvano
