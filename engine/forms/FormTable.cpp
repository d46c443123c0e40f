#include "engine/forms/FormTable.h"

#include <algorithm>
#include <utility>

namespace trelvano {

namespace {

// Labels hold tab indices but are passed over; the plot answers the pointer only.
bool TakesFocus(ControlKind kind)
{
    return kind == ControlKind::TypeBox || kind == ControlKind::Button || kind == ControlKind::Option;
}

// The label that says what a control is, if the table names one.
const char* LabelOf(const Form& form, const Control& control)
{
    for (const Control& label : form.controls) {
        if (label.describes != nullptr && std::string_view(label.describes) == control.name) return label.name;
    }
    return nullptr;
}

}  // namespace

std::vector<PlacedControl> ControlsInBuildOrder(const Form& form)
{
    std::vector<PlacedControl> placed;
    for (const Entry& entry : form.entries) {
        PlacedControl box{entry.box, ControlKind::Entry, entry.place, entry.tabIndex, entry.initialText};
        box.background = kEntryBackground;
        // Named by what it holds, described by every caption around it.
        box.labelledBy = entry.what.name;
        box.link = entry.parameter;
        for (const Caption* caption : {&entry.symbol, &entry.what, &entry.unit}) {
            if (caption->name != nullptr) box.describedBy.push_back(caption->name);
        }
        placed.push_back(std::move(box));
    }
    for (const Entry& entry : form.entries) {
        for (const Caption* caption : {&entry.what, &entry.symbol, &entry.unit}) {
            if (caption->name != nullptr)
                placed.push_back({caption->name, ControlKind::Label, caption->place, 0, caption->text});
        }
    }
    for (const Control& c : form.controls) {
        placed.push_back({c.name,
                          c.kind,
                          c.place,
                          c.tabIndex,
                          c.text,
                          c.font,
                          c.background,
                          c.alignment,
                          c.list,
                          LabelOf(form, c),
                          {},
                          c.link});
    }
    return placed;
}

const Control* FindControl(const Form& form, std::string_view name)
{
    const auto found =
        std::find_if(form.controls.begin(), form.controls.end(), [name](const Control& c) { return c.name == name; });
    return found == form.controls.end() ? nullptr : &*found;
}

std::vector<std::string_view> TabOrder(const Form& form)
{
    std::vector<std::pair<int, std::string_view>> focusable;
    for (const Entry& entry : form.entries) focusable.emplace_back(entry.tabIndex, entry.box);
    for (const Control& control : form.controls) {
        if (TakesFocus(control.kind)) focusable.emplace_back(control.tabIndex, control.name);
    }
    std::sort(focusable.begin(), focusable.end());
    std::vector<std::string_view> order;
    for (const auto& [index, name] : focusable) order.push_back(name);
    return order;
}

}  // namespace trelvano
