#pragma once

// What the system counts for this process: the peak resident memory and the
// page faults so far. Each platform reads its own figures.
#include <cstdint>

#if defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <psapi.h>
#else
#include <sys/resource.h>
#endif

namespace trelvano::bench {

struct ProcessCounters {
    double peakResidentBytes = 0.0;
    std::int64_t pageFaults = 0;
};

inline ProcessCounters ReadProcessCounters()
{
    ProcessCounters counters;
#if defined(_WIN32)
    PROCESS_MEMORY_COUNTERS memory{};
    if (GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory))) {
        counters.peakResidentBytes = static_cast<double>(memory.PeakWorkingSetSize);
        counters.pageFaults = memory.PageFaultCount;
    }
#else
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0) {
        // ru_maxrss is in kibibytes on Linux.
        counters.peakResidentBytes = static_cast<double>(usage.ru_maxrss) * 1024.0;
        counters.pageFaults = usage.ru_minflt + usage.ru_majflt;
    }
#endif
    return counters;
}

}  // namespace trelvano::bench
