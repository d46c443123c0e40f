#include "engine/forms/FormTable.h"

#include <gtest/gtest.h>

#include <map>
#include <string_view>

namespace trelvano {
namespace {

// Each window's boxes, captions and controls start inside its client area under names of their own (a front end
// finds them by name), and Tab visits every box and control that takes the focus once, by rising tab index.
TEST(FormTable, ControlsStartInTheirWindowUnderTheirOwnNamesAndTabRisesThroughTheFocusable)
{
    for (const Form* form : {&kForm1, &kForm2, &kForm3}) {
        SCOPED_TRACE(form->name);
        std::map<std::string_view, Twips> places;
        std::map<std::string_view, int> focusable;
        const auto add = [&](const char* name, const Twips& place) {
            EXPECT_TRUE(places.emplace(name, place).second) << name << " twice";
        };
        for (const Entry& entry : form->entries) {
            add(entry.box, entry.place);
            focusable.emplace(entry.box, entry.tabIndex);
            for (const Caption* caption : {&entry.what, &entry.symbol, &entry.unit}) {
                if (caption->name != nullptr) add(caption->name, caption->place);
            }
        }
        for (const Control& control : form->controls) {
            add(control.name, control.place);
            EXPECT_EQ(FindControl(*form, control.name), &control);
            const bool passedOver = control.kind == ControlKind::Label || control.kind == ControlKind::Plot ||
                                    control.kind == ControlKind::HiddenPicture;
            if (!passedOver) focusable.emplace(control.name, control.tabIndex);
        }
        for (const auto& [name, place] : places) {
            EXPECT_TRUE(place.left >= 0 && place.left < form->clientWidth && place.top >= 0 &&
                        place.top < form->clientHeight && place.width > 0 && place.height > 0)
                << name;
        }
        const std::vector<std::string_view> order = TabOrder(*form);
        ASSERT_EQ(order.size(), focusable.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            ASSERT_TRUE(focusable.contains(order[i])) << order[i];
            EXPECT_TRUE(i == 0 || focusable[order[i - 1]] < focusable[order[i]]) << order[i];
        }
    }
    EXPECT_EQ(FindControl(kForm2, "Text1"), nullptr);
}

}  // namespace
}  // namespace trelvano
