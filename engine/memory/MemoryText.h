#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Readers of the Linux kernel's memory files, given their text: kept apart
// from the file reading so that every odd case can be tried on a sample.
namespace trelvano::memtext {

// "Key:   123 kB" lines of /proc/meminfo and /proc/self/status, in bytes;
// absent when the key is missing or its value is not a kB count.
std::optional<std::int64_t> KibibyteField(std::string_view text, std::string_view key);

// Memory that can be taken without swapping, from /proc/meminfo: MemAvailable,
// or on kernels older than 3.14, which lack it, MemFree plus Cached.
std::optional<std::int64_t> AvailableMemory(std::string_view meminfo);

// "key 123" lines of a cgroup's memory.stat, in bytes.
std::optional<std::int64_t> StatField(std::string_view text, std::string_view key);

// A cgroup limit or counter file: a byte count; "max" (no limit) is absent.
std::optional<std::int64_t> CgroupValue(std::string_view text);

// The cgroup path in /proc/self/cgroup: the v2 entry ("0::/a/b") when
// `controller` is empty, else the v1 hierarchy whose list names it
// ("4:cpu,memory:/a").
std::optional<std::string> CgroupPath(std::string_view text, std::string_view controller);

}  // namespace trelvano::memtext
