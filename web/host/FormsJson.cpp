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

std::string ColourJson(const Colour& colour)
{
    char hex[8];
    std::snprintf(hex, sizeof hex, "#%02x%02x%02x", colour.r, colour.g, colour.b);
    return JsonString(hex);
}

const char* KindName(ControlKind kind)
{
    switch (kind) {
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

// The label that says what a control is, if the table names one.
const char* LabelOf(const Form& form, const Control& control)
{
    for (const Control& label : form.controls) {
        if (label.describes != nullptr && std::string_view(label.describes) == control.name) return label.name;
    }
    return nullptr;
}

std::string ControlJson(const Form& form, const Control& control)
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
    if (const char* label = LabelOf(form, control)) json.AddString("labelledBy", label);
    return json.Text();
}

// An entry box, labelled for screen readers by what it holds and described by
// every caption around it.
std::string EntryJson(const Entry& entry)
{
    std::vector<const char*> captions;
    for (const Caption* caption : {&entry.symbol, &entry.what, &entry.unit}) {
        if (caption->name != nullptr) captions.push_back(caption->name);
    }
    JsonObject json;
    json.AddString("name", entry.box).AddString("kind", "entry");
    AddPlace(json, entry.place);
    json.Add("tabIndex", JsonNumber(std::int64_t{entry.tabIndex}))
        .AddString("text", entry.initialText)
        .Add("background", ColourJson(kEntryBackground))
        .AddString("align", "left")
        .AddString("labelledBy", entry.what.name)
        .Add("describedBy", NameList(captions));
    return json.Text();
}

std::string CaptionJson(const Caption& caption)
{
    JsonObject json;
    json.AddString("name", caption.name).AddString("kind", "label");
    AddPlace(json, caption.place);
    json.AddString("text", caption.text).AddString("align", "left");
    return json.Text();
}

std::string FormJson(const Form& form, bool closable)
{
    // The order the desktop builds them in: boxes, their captions, the rest.
    std::vector<std::string> controls;
    for (const Entry& entry : form.entries) controls.push_back(EntryJson(entry));
    for (const Entry& entry : form.entries) {
        for (const Caption* caption : {&entry.what, &entry.symbol, &entry.unit}) {
            if (caption->name != nullptr) controls.push_back(CaptionJson(*caption));
        }
    }
    for (const Control& control : form.controls) controls.push_back(ControlJson(form, control));

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
        .Add("forms", JsonArray(forms))
        .Text();
}

}  // namespace trelvano::web
