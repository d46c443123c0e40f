#include "engine/GuardedPress.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "engine/entries/Messages.h"
#include "tests/support/Entries.h"
#include "tests/support/RecordingHost.h"

namespace trelvano {
namespace {

// A host whose waveform window cannot be made: the allocation fails as the run shows it.
struct Host : support::RecordingHost {
    using RecordingHost::RecordingHost;
    void ShowWaveformWindow() override
    {
        RecordingHost::ShowWaveformWindow();
        if (outOfMemory) throw std::bad_alloc();
    }
    bool outOfMemory = false;
};

enum class Reached { Nothing, Opened, Drawn };

// Every press comes back to the front end: the warnings in order, then at most one message ending it (a
// fault's naming the entry behind it), and the windows' calls up to where it ended.
TEST(GuardedPress, EachPressEndsWithItsMessagesInOrderAndNothingEscapes)
{
    const std::vector<std::string> opened = {"waveform.Blank", "spectrum.Blank", "show"};
    const struct {
        const char* name;
        const char* edits;
        const char* type;
        bool outOfMemory;
        PressOutcome outcome;
        std::vector<std::string> warnings;
        std::optional<FaultKind> fault;
        const char* blamed;  // the box the fault's hint names
        Reached reached;
    } rows[] = {
        {"NoTypeChosen",
         "",
         "Scegli la modulazione",
         false,
         PressOutcome::Done,
         {messages::M6},
         {},
         {},
         Reached::Nothing},
        {"SamplingLimit", "Text3=126", "AM", false, PressOutcome::Done, {messages::M5}, {}, {}, Reached::Nothing},
        {"WarnedThenDrawn",
         "Text1=2.5|Text3=30.5",
         "FM",
         false,
         PressOutcome::Done,
         {messages::M1, messages::M2},
         {},
         {},
         Reached::Drawn},
        {"Overflow",
         "Text13=2147483647",
         "AM",
         false,
         PressOutcome::Faulted,
         {},
         FaultKind::Overflow,
         "Text13",
         Reached::Opened},
        {"OutOfMemory",
         "Text3=30.5",
         "PM",
         true,
         PressOutcome::Faulted,
         {messages::M2},
         FaultKind::OutOfMemory,
         {},
         Reached::Opened},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnalysisState state;
        Host host(row.type);
        host.outOfMemory = row.outOfMemory;
        const EntryTexts entries = support::Edited(row.edits, support::Entries(row.type));
        EXPECT_EQ(GuardedPress(state, entries, host, host), row.outcome);

        std::vector<std::string> messages = host.messages;
        if (row.fault) {
            ASSERT_EQ(messages.size(), row.warnings.size() + 1);
            EXPECT_TRUE(messages.back().starts_with(FaultText(*row.fault))) << messages.back();
            EXPECT_TRUE(!row.blamed || messages.back().find(FindEntry(row.blamed)->what.text) != std::string::npos);
            messages.pop_back();
        }
        EXPECT_EQ(messages, row.warnings);
        const bool opens = row.reached != Reached::Nothing;
        EXPECT_EQ(host.log.empty(), !opens);
        const bool opensFirst =
            host.log.size() >= opened.size() && std::equal(opened.begin(), opened.end(), host.log.begin());
        EXPECT_TRUE(!opens || opensFirst);
        EXPECT_EQ(!host.waveform.lines.empty() && !host.spectrum.lines.empty(), row.reached == Reached::Drawn);
    }
}

}  // namespace
}  // namespace trelvano
