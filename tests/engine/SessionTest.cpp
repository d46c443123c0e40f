#include "engine/session/Session.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/CursorReadout.h"
#include "engine/GuardedPress.h"
#include "engine/entries/FaultMessage.h"
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

const std::vector<std::string> kDrawn = {"show Form2", "image Form2", "image Form3", "ended true"};
const std::vector<std::string> kFaulted = {"show Form2", "image Form2", "image Form3", "message", "ended false"};

// A warning comes before the window, a fault's message after the window and
// the plots behind it, a stop alone; the texts are the engine's own.
TEST(Session, PressesGiveTheirEventsInOrder)
{
    struct Row {
        const char* name;
        std::string edits;
        std::vector<std::string> events;
    };
    const std::vector<std::string> warnedThenDrawn = {"message", "show Form2", "image Form2", "image Form3",
                                                      "ended true"};
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

// A result window made, shown, closed and made again: blank after a close,
// nothing under a pointer or a button that is not on screen.
TEST(Session, ClosedWindowComesBackBlank)
{
    Session session;
    Enter(session, "Combo1=AM");
    session.Press();
    // The spectrum was drawn hidden: showing it announces no new image.
    EXPECT_EQ(Read(session.ShowSpectrum()).kinds, std::vector<std::string>{"show Form3"});
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
    EXPECT_EQ(Read(session.Press()).kinds, kDrawn);
    EXPECT_FALSE(AllBackground(*session.Window("Form2"), plot::Rgb{255, 255, 192}));
}

// The readouts are the engine's at the point under the pointer, which is
// taken in layout pixels whatever the image's pixel ratio.
TEST(Session, ReadoutsAreTheEnginesAtTheSamePoint)
{
    for (const double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(testing::Message() << "ratio " << ratio);
        Session session;
        session.SetPixelRatio(ratio);
        session.SetDecimalSeparator(",");
        Enter(session, "Combo1=FM");
        session.Press();
        support::RecordingHost windows("FM");
        AnalysisState reference;
        GuardedPress(reference, support::Edited("Combo1=FM", InitialEntries()), windows, windows);

        // The spectrum window is still hidden: nothing under the pointer.
        EXPECT_TRUE(Read(session.Readout("Form3", 5, 5)).kinds.empty());
        session.ShowSpectrum();
        const double points[][2] = {{0, 0}, {500.5, 304.25}, {1000.9, 608.9}, {-3, 700}};
        for (const auto& [x, y] : points) {
            const plot::PlotPoint wave = PointerToPlot(x, y, {1001, 609});
            const plot::PlotPoint spectrum = PointerToPlot(x, y, {1009, 617});
            EXPECT_EQ(Read(session.Readout("Form2", x, y)).texts,
                      std::vector<std::string>{WaveformReadout(reference, wave.x, wave.y, ",")});
            EXPECT_EQ(Read(session.Readout("Form3", x, y)).texts,
                      std::vector<std::string>{SpectrumReadout(reference, spectrum.x, spectrum.y, ",")});
        }
    }
}

// A plot's image has the layout size times the ratio in force when it was
// made or last blanked: a new ratio takes effect at the next press.
TEST(Session, PlotsTakeTheRatioAtTheirBlanking)
{
    Session session;
    Enter(session, "Combo1=AM");
    session.Press();
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

}  // namespace
}  // namespace trelvano
