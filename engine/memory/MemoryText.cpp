#include "engine/memory/MemoryText.h"

#include <charconv>
#include <limits>

namespace trelvano::memtext {

namespace {

std::string_view Trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

std::optional<std::int64_t> LeadingCount(std::string_view s)
{
    s = Trim(s);
    std::int64_t value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end == s.data() || value < 0) return std::nullopt;
    return value;
}

// Calls `visit(line)` for each line until it returns true.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit)
{
    while (!text.empty()) {
        const auto eol = text.find('\n');
        const auto line = text.substr(0, eol);
        if (visit(line)) return;
        if (eol == std::string_view::npos) return;
        text.remove_prefix(eol + 1);
    }
}

// The rest of the line that starts with `key` followed by `separator`.
std::optional<std::string_view> ValueAfterKey(std::string_view text, std::string_view key, char separator)
{
    std::optional<std::string_view> found;
    ForEachLine(text, [&](std::string_view line) {
        if (line.size() > key.size() && line.substr(0, key.size()) == key && line[key.size()] == separator) {
            found = line.substr(key.size() + 1);
            return true;
        }
        return false;
    });
    return found;
}

}  // namespace

std::optional<std::int64_t> KibibyteField(std::string_view text, std::string_view key)
{
    const auto value = ValueAfterKey(text, key, ':');
    if (!value) return std::nullopt;
    std::string_view rest = Trim(*value);
    const auto unit = rest.find_first_not_of("0123456789");
    const auto kib = LeadingCount(rest.substr(0, unit));
    if (!kib) return std::nullopt;
    // The kernel writes these fields in kB (KiB) only; anything else is not ours.
    if (unit != std::string_view::npos && Trim(rest.substr(unit)) != "kB") return std::nullopt;
    if (*kib > std::numeric_limits<std::int64_t>::max() / 1024) return std::nullopt;
    return *kib * 1024;
}

std::optional<std::int64_t> StatField(std::string_view text, std::string_view key)
{
    const auto value = ValueAfterKey(text, key, ' ');
    if (!value) return std::nullopt;
    return LeadingCount(*value);
}

std::optional<std::int64_t> CgroupValue(std::string_view text)
{
    if (Trim(text) == "max") return std::nullopt;
    return LeadingCount(text);
}

std::optional<std::string> CgroupPath(std::string_view text, std::string_view controller)
{
    std::optional<std::string> found;
    ForEachLine(text, [&](std::string_view line) {
        // hierarchy-id:controller-list:path
        const auto first = line.find(':');
        if (first == std::string_view::npos) return false;
        const auto second = line.find(':', first + 1);
        if (second == std::string_view::npos) return false;
        const auto controllers = line.substr(first + 1, second - first - 1);
        const auto path = line.substr(second + 1);
        bool match = false;
        if (controller.empty()) {
            match = line.substr(0, first) == "0" && controllers.empty();
        } else {
            std::string_view list = controllers;
            while (!match && !list.empty()) {
                const auto comma = list.find(',');
                match = list.substr(0, comma) == controller;
                list = comma == std::string_view::npos ? std::string_view{} : list.substr(comma + 1);
            }
        }
        if (match && !path.empty() && path.front() == '/') {
            found = std::string(Trim(path));
            return true;
        }
        return false;
    });
    return found;
}

std::optional<std::int64_t> AvailableMemory(std::string_view meminfo)
{
    if (const auto available = KibibyteField(meminfo, "MemAvailable")) return available;
    const auto free = KibibyteField(meminfo, "MemFree");
    const auto cached = KibibyteField(meminfo, "Cached");
    if (!free) return std::nullopt;
    return *free + cached.value_or(0);
}

}  // namespace trelvano::memtext
