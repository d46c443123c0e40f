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

}  // namespace

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
