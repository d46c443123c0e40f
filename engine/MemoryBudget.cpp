#include "MemoryBudget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <fstream>
#include <limits>
#include <sstream>

#include "RuntimeFault.h"

namespace trelvano {

namespace {

// Parsers of the kernel's text files.
namespace memtext {

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

// "Key:   123 kB" lines of /proc/meminfo and /proc/self/status, in bytes.
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

// "key 123" lines of a cgroup's memory.stat, in bytes.
std::optional<std::int64_t> StatField(std::string_view text, std::string_view key)
{
    const auto value = ValueAfterKey(text, key, ' ');
    if (!value) return std::nullopt;
    return LeadingCount(*value);
}

// A cgroup limit or counter file: a byte count, or "max" (absent).
std::optional<std::int64_t> CgroupValue(std::string_view text)
{
    if (Trim(text) == "max") return std::nullopt;
    return LeadingCount(text);
}

// The cgroup path in /proc/self/cgroup: the v2 entry ("0::/a/b") when
// `controller` is empty, else the v1 hierarchy that lists it ("4:memory:/a").
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

}  // namespace memtext

}  // namespace

std::int64_t HeadroomBytes(const MemoryFigures& figures) noexcept
{
    std::int64_t headroom = std::numeric_limits<std::int64_t>::max();
    auto bound = [&headroom](std::int64_t room) { headroom = std::min(headroom, std::max<std::int64_t>(room, 0)); };

    if (figures.memAvailable) bound(*figures.memAvailable);
    if (figures.addressSpaceLimit) bound(*figures.addressSpaceLimit - figures.addressSpaceUsed.value_or(0));
    if (figures.dataLimit) bound(*figures.dataLimit - figures.dataUsed.value_or(0));
    for (const CgroupMemory& group : figures.cgroups) {
        bound(group.limit - std::max<std::int64_t>(group.usage - group.reclaimable, 0));
    }
    return headroom;
}

namespace {

std::optional<std::string> ReadSmallFile(const std::string& path)
{
    std::ifstream in(path);
    if (!in) return std::nullopt;
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return text.str();
}

std::optional<std::int64_t> Limit(int resource)
{
    rlimit limit{};
    if (getrlimit(resource, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
    if (limit.rlim_cur > static_cast<rlim_t>(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
    return static_cast<std::int64_t>(limit.rlim_cur);
}

std::optional<std::int64_t> ValueFile(const std::string& path)
{
    const auto text = ReadSmallFile(path);
    return text ? memtext::CgroupValue(*text) : std::nullopt;
}

// Adds the limited cgroups from `leaf` up to `root`: any of them can be the
// one that runs out.
void AddCgroupChain(MemoryFigures& figures, const std::string& root, std::string leaf, const char* limitFile,
                    const char* usageFile)
{
    for (;;) {
        const std::string dir = root + leaf;
        const auto limit = ValueFile(dir + "/" + limitFile);
        const auto usage = ValueFile(dir + "/" + usageFile);
        if (limit && usage) {
            std::int64_t reclaimable = 0;
            if (const auto stat = ReadSmallFile(dir + "/memory.stat")) {
                reclaimable = memtext::StatField(*stat, "inactive_file").value_or(0);
            }
            figures.cgroups.push_back({*limit, *usage, reclaimable});
        }
        if (leaf.empty() || leaf == "/") return;
        const auto slash = leaf.find_last_of('/');
        leaf = slash == 0 || slash == std::string::npos ? std::string("/") : leaf.substr(0, slash);
    }
}

}  // namespace

MemoryFigures ReadMemoryFigures()
{
    MemoryFigures figures;
    if (const auto meminfo = ReadSmallFile("/proc/meminfo")) {
        figures.memAvailable = memtext::KibibyteField(*meminfo, "MemAvailable");
    }
    if (const auto status = ReadSmallFile("/proc/self/status")) {
        figures.addressSpaceUsed = memtext::KibibyteField(*status, "VmSize");
        figures.dataUsed = memtext::KibibyteField(*status, "VmData");
    }
    figures.addressSpaceLimit = Limit(RLIMIT_AS);
    figures.dataLimit = Limit(RLIMIT_DATA);

    if (const auto cgroup = ReadSmallFile("/proc/self/cgroup")) {
        if (const auto path = memtext::CgroupPath(*cgroup, "")) {
            AddCgroupChain(figures, "/sys/fs/cgroup", *path, "memory.max", "memory.current");
        }
        if (const auto path = memtext::CgroupPath(*cgroup, "memory")) {
            AddCgroupChain(figures, "/sys/fs/cgroup/memory", *path, "memory.limit_in_bytes",
                           "memory.usage_in_bytes");
        }
    }
    return figures;
}

void RequireMemory(std::int64_t bytes)
{
    if (bytes <= 0) return;
    const std::int64_t headroom = HeadroomBytes(ReadMemoryFigures());
    if (headroom < kMemoryReserveBytes || bytes > headroom - kMemoryReserveBytes) {
        throw RuntimeFault(MemoryShortfall{bytes, std::max<std::int64_t>(headroom - kMemoryReserveBytes, 0)});
    }
}

}  // namespace trelvano
