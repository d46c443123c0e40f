#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <utility>

#include "engine/AllocateSampleBuffers.h"
#include "engine/core/WorkerPool.h"
#include "tests/support/Entries.h"
#include "engine/memory/MemoryBudget.h"
#include "engine/memory/MemoryText.h"

namespace trelvano {
namespace {

enum ChildExit { kCompleted = 0, kRefused = 1, kOtherFault = 2, kPeakAboveEstimate = 3 };

std::int64_t StatusField(const char* key)
{
    std::ifstream in("/proc/self/status");
    std::ostringstream text;
    text << in.rdbuf();
    return memtext::KibibyteField(text.str(), key).value_or(-1);
}

// The steps of a press that take memory (the buffers and the spectrum) at N,
// with the address space capped where the memory check draws its line, `slack`
// bytes above or below. FFTW aborts the process when it cannot allocate, so a
// model that underestimates it ends in a signal.
[[noreturn]] void PressUnderCap(std::int32_t n, std::int64_t slack)
{
    AnalysisState state = support::DefaultState(n);
    ReadMemoryFigures();  // the allocator's first buffers for the reading are in place before `used`
    ProcessWorkers();     // as the program makes them at start
    const std::int64_t needed = MemoryForRun(state);
    const std::int64_t used = StatusField("VmSize");
    const auto cap = static_cast<rlim_t>(used + needed + kMemoryReserveBytes + slack);
    const rlimit limit{cap, cap};
    if (setrlimit(RLIMIT_AS, &limit) != 0) std::_Exit(kOtherFault);
    try {
        AllocateSampleBuffers(state);
        ComputeSpectrum(state);
    } catch (const RuntimeFault& fault) {
        const bool figures = fault.shortfall() && fault.shortfall()->neededBytes == needed;
        std::cerr << fault.what() << " needed " << needed << " told "
                  << (fault.shortfall() ? fault.shortfall()->neededBytes : -1);
        std::_Exit(fault.kind() == FaultKind::OutOfMemory && figures ? kRefused : kOtherFault);
    }
    // The estimate itself, not only the reserve kept on top of it, covers the press.
    std::_Exit(StatusField("VmPeak") - used <= needed ? kCompleted : kPeakAboveEstimate);
}

TEST(FftMemory, PressesFitTheMemoryCheckOrAreRefusedNeverAborted)
{
    if (StatusField("VmSize") > (std::int64_t{1} << 40))
        GTEST_SKIP() << "a sanitizer reserves terabytes of address space";
    constexpr std::int64_t kSlack = std::int64_t{1} << 20;
    const std::pair<const char*, std::int32_t> rows[] = {
        {"Prime", 3000017},       {"PrimeWhoseRaderSizeHasALargePrime", 4000039},  // 4000038 = 42 * 95239
        {"TwicePrime", 4000006},  {"ThreeTimesPrime", 3000009},
        {"TwoMidPrimes", 999919}, {"Composite", 10000000},
    };
    for (const auto& [name, n] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EXIT(PressUnderCap(n, kSlack), testing::ExitedWithCode(kCompleted), "");
        EXPECT_EXIT(PressUnderCap(n, -kSlack), testing::ExitedWithCode(kRefused), "");
    }
}

}  // namespace
}  // namespace trelvano
