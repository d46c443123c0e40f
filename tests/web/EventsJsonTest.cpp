#include "web/host/EventsJson.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "web/host/Json.h"

namespace trelvano::web {
namespace {

// Each kind of event as the page reads it, in order, texts escaped.
TEST(EventsJson, EveryKindInTheLayoutThePageReads)
{
    const SessionEvents events = {
        {EventKind::Message, nullptr, "Riga 1\n\"due\""},
        {EventKind::Shown, "Form2"},
        {EventKind::PlotChanged, "Form3"},
        {EventKind::Closed, "Form3"},
        {EventKind::Readout, "Form2", "t= 1,00 msec ; V(t) = 2,08E+01 V", true, 500.5, 60.25},
        {EventKind::Described, "Form3", "Spettro"},
        {EventKind::PressEnded, nullptr, {}, false},
    };
    EXPECT_EQ(EventsJson(events),
              "[{\"event\": \"message\", \"text\": \"Riga 1\\n\\\"due\\\"\"}, "
              "{\"event\": \"show\", \"form\": \"Form2\"}, "
              "{\"event\": \"image\", \"form\": \"Form3\"}, "
              "{\"event\": \"closed\", \"form\": \"Form3\"}, "
              "{\"event\": \"readout\", \"form\": \"Form2\", \"text\": \"t= 1,00 msec ; V(t) = 2,08E+01 V\", "
              "\"x\": 500.5, \"y\": 60.25}, "
              "{\"event\": \"described\", \"form\": \"Form3\", \"text\": \"Spettro\"}, "
              "{\"event\": \"busy\", \"done\": false}]");
    EXPECT_EQ(EventsJson({}), "[]");
    EXPECT_EQ(CursorKeyNamed("next"), CursorKey::Next);
    EXPECT_EQ(CursorKeyNamed("down"), CursorKey::Down);
    EXPECT_EQ(CursorKeyNamed("Next"), std::nullopt);
}

TEST(Json, StringsEscapeWhatJsonCannotHoldAndNumbersReadBack)
{
    EXPECT_EQ(JsonString("a\"b\\c\nd\x01 è"), "\"a\\\"b\\\\c\\nd\\u0001 è\"");
    EXPECT_EQ(std::stod(JsonNumber(0.1 + 0.2)), 0.1 + 0.2);
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
}

}  // namespace
}  // namespace trelvano::web
