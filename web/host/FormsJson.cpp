#include "web/host/FormsJson.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "engine/forms/FormTable.h"
#include "web/host/Json.h"
#include "engine/entries/EntryTable.h"

namespace trelvano::web {

namespace {

std::string Pixels(int twips)
{
    return JsonNumber(std::int64_t{TwipsToPixels(twips)});
}

void AddPlace(JsonObject& json, const Twips& place)
{
    json.Add("left", Pixels(place.left))
        .Add("top", Pixels(place.top))
        .Add("width", Pixels(place.width))
        .Add("height", Pixels(place.height));
}

std::string FontJson(const Font& font)
{
    return JsonObject().Add("points", JsonNumber(font.points)).Add("bold", font.bold ? "true" : "false").Text();
}

std::string ColourJson(const Rgb& colour)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return JsonString(hex);
}

const char* KindName(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Entry:
        return "entry";
    case ControlKind::Label:
        return "label";
    case ControlKind::TypeBox:
        return "typebox";
    case ControlKind::Button:
        return "button";
    case ControlKind::Option:
        return "option";
    case ControlKind::Plot:
        return "plot";
    case ControlKind::HiddenPicture:
        return "hidden";
    }
    return "hidden";
}

template <typename Names>
std::string NameList(const Names& names)
{
    std::vector<std::string> quoted;
    for (const auto& name : names) quoted.push_back(JsonString(name));
    return JsonArray(quoted);
}

std::string ControlJson(const PlacedControl& control)
{
    JsonObject json;
    json.AddString("name", control.name).AddString("kind", KindName(control.kind));
    AddPlace(json, control.place);
    json.Add("tabIndex", JsonNumber(std::int64_t{control.tabIndex}));
    if (control.text != nullptr) json.AddString("text", control.text);
    if (control.font) json.Add("font", FontJson(*control.font));
    if (control.background) json.Add("background", ColourJson(*control.background));
    json.AddString("align", control.alignment == Alignment::Centre ? "centre" : "left");
    if (!control.list.empty()) json.Add("list", NameList(control.list));
    if (control.labelledBy != nullptr) json.AddString("labelledBy", control.labelledBy);
    if (!control.describedBy.empty()) json.Add("describedBy", NameList(control.describedBy));
    if (control.link != nullptr) json.AddString("link", control.link);
    return json.Text();
}

std::string FormJson(const Form& form, bool closable)
{
    std::vector<std::string> controls;
    for (const PlacedControl& control : ControlsInBuildOrder(form)) controls.push_back(ControlJson(control));

    return JsonObject()
        .AddString("name", form.name)
        .AddString("caption", form.caption)
        .Add("width", Pixels(form.clientWidth))
        .Add("height", Pixels(form.clientHeight))
        .Add("font", FontJson(form.font))
        .AddString("icon", form.icon == WindowIcon::Spectrum ? "spectrum" : "application")
        .Add("closable", closable ? "true" : "false")
        .Add("controls", JsonArray(controls))
        .Add("tabOrder", NameList(TabOrder(form)))
        .Text();
}

}  // namespace

std::string FormsJson()
{
    const std::vector<std::string> forms = {FormJson(kForm1, false), FormJson(kForm2, true), FormJson(kForm3, true)};
    return JsonObject()
        .AddString("title", kApplicationTitle)
        .AddString("ok", kMessageButton)
        .AddString("close", kCloseBoxName)
        .Add("linkLimit", JsonNumber(std::int64_t{kLinkTextLimit}))
        .Add("forms", JsonArray(forms))
        .Text();
}

}  // namespace trelvano::web
