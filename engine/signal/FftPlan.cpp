#include "engine/signal/FftPlan.h"

#include <fftw3.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "engine/memory/MemoryBudget.h"
#include "engine/core/RuntimeFault.h"

namespace trelvano {

namespace {

std::size_t InterleavedCount(std::int32_t n)
{
    return 2 * static_cast<std::size_t>(n / 2 + 1);
}

#if defined(TRELVANO_FFTW_THREADS)
// FFTW's threaded loops run on the press's own pool: no second set of threads
// is made, and FFTW's jobs are shared out like every other loop of a press.
void RunOnPool(void* (*work)(char*), char* jobs, std::size_t jobSize, int count, void* pool)
{
    static_cast<WorkerPool*>(pool)->run(static_cast<std::size_t>(count),
                                        [=](std::size_t job) { work(jobs + job * jobSize); });
}

void PlanForThreads(int threads)
{
    static const bool ready = fftw_init_threads() != 0;
    fftw_plan_with_nthreads(ready ? threads : 1);
}
#else
void PlanForThreads(int) {}
#endif

bool Disjoint(std::span<const double> a, std::span<const double> b) noexcept
{
    const auto a0 = reinterpret_cast<std::uintptr_t>(a.data());
    const auto b0 = reinterpret_cast<std::uintptr_t>(b.data());
    return a0 + a.size_bytes() <= b0 || b0 + b.size_bytes() <= a0;
}

int AlignmentOf(std::span<const double> a) noexcept
{
    return fftw_alignment_of(const_cast<double*>(a.data()));
}

// FFTW's appetite, measured (peak address space of planning and execution
// with FFTW_ESTIMATE, FFTW 3.3.10, N from 6.5e4 to 2e7): sizes whose prime
// factors are all small take at most 9 bytes a sample, nearly all of it the
// twiddles. A prime factor p above kSmallPrime goes through Rader's algorithm,
// whose tables and scratch take about RaderBytesPerUnit(m) per unit of p, where
// m = n/p is how many transforms of size p share them (peaks of 59-66 bytes a
// sample at prime n, 52-57 at twice a prime, 35 at three times). Each further
// large prime factor costs a buffer of one double a sample during execution.
// From 1e6 samples on, the estimate lies 7 % to 50 % above what was measured.
// Planned for several threads, a size with a large prime factor and a few
// small ones gives each further thread scratch of its own (42 MB more with two
// threads at twice a prime of 2e6): counted as two doubles a sample a thread.
constexpr std::int64_t kSmallPrime = 64;
constexpr std::int64_t kBytesPerSample = 9;
constexpr std::int64_t kBytesPerLargeFactor = 8;
constexpr std::int64_t kBytesPerSampleAndThread = 16;
constexpr std::int64_t kFixedBytes = std::int64_t{4} << 20;  // planner tables, allocator slack

constexpr std::int64_t RaderBytesPerUnit(std::int64_t m)
{
    return m == 1 ? 60 : m == 2 ? 100 : 125;
}

struct LargeFactors {
    std::int64_t largest = 1;  // the largest prime factor
    int count = 0;             // prime factors above kSmallPrime, with multiplicity
};

LargeFactors FactorsOf(std::int64_t n)
{
    LargeFactors factors;
    const auto note = [&factors](std::int64_t prime) {
        factors.largest = std::max(factors.largest, prime);
        if (prime > kSmallPrime) ++factors.count;
    };
    for (std::int64_t d = 2; d * d <= n; ++d) {
        for (; n % d == 0; n /= d) note(d);
    }
    if (n > 1) note(n);
    return factors;
}

}  // namespace

FftPlan::FftPlan(std::int32_t n, int threads, std::span<double> in, std::span<double> out)
    : n_(n), threads_(threads < 1 ? 1 : threads)
{
    if (n < 1 || in.size() < static_cast<std::size_t>(n) || out.size() < InterleavedCount(n)) {
        throw RuntimeFault(FaultKind::IndexOutOfRange);
    }
    // FFTW aborts the process when it cannot allocate, so the plan and the
    // scratch of its executions must be known to fit before it is made. (A
    // check before each execution would count again what the plan now holds.)
    RequireMemory(peakBytes(n, threads_));
    alignment_[0] = AlignmentOf(in);
    alignment_[1] = AlignmentOf(out);
    // FFTW_ESTIMATE plans without trial transforms: the arrays are not touched,
    // and planning costs little next to one transform.
    PlanForThreads(threads_);
    plan_ = fftw_plan_dft_r2c_1d(n, in.data(), reinterpret_cast<fftw_complex*>(out.data()), FFTW_ESTIMATE);
    if (plan_ == nullptr) RaiseOutOfMemory(peakBytes(n, threads_));
}

FftPlan::~FftPlan()
{
    if (plan_ != nullptr) fftw_destroy_plan(plan_);
}

FftPlan::FftPlan(FftPlan&& other) noexcept
    : n_(std::exchange(other.n_, 0)),
      threads_(other.threads_),
      alignment_{other.alignment_[0], other.alignment_[1]},
      plan_(std::exchange(other.plan_, nullptr))
{
}

FftPlan& FftPlan::operator=(FftPlan&& other) noexcept
{
    if (this != &other) {
        if (plan_ != nullptr) fftw_destroy_plan(plan_);
        n_ = std::exchange(other.n_, 0);
        threads_ = other.threads_;
        std::copy(std::begin(other.alignment_), std::end(other.alignment_), std::begin(alignment_));
        plan_ = std::exchange(other.plan_, nullptr);
    }
    return *this;
}

bool FftPlan::fits(std::span<const double> in, std::span<const double> out) const noexcept
{
    if (plan_ == nullptr) return false;
    if (in.size() < static_cast<std::size_t>(n_) || out.size() < InterleavedCount(n_)) return false;
    in = in.first(static_cast<std::size_t>(n_));
    out = out.first(InterleavedCount(n_));
    return Disjoint(in, out) && AlignmentOf(in) == alignment_[0] && AlignmentOf(out) == alignment_[1];
}

void FftPlan::execute(std::span<double> in, std::span<double> out, WorkerPool& pool)
{
    if (!fits(in, out)) throw RuntimeFault(FaultKind::IndexOutOfRange);
#if defined(TRELVANO_FFTW_THREADS)
    if (threads_ > 1) fftw_threads_set_callback(RunOnPool, &pool);
#else
    (void)pool;
#endif
    fftw_execute_dft_r2c(plan_, in.data(), reinterpret_cast<fftw_complex*>(out.data()));
}

std::int64_t FftPlan::peakBytes(std::int32_t n, int threads) noexcept
{
    if (n < 1) return 0;
    const std::int64_t size = n;
    const LargeFactors factors = FactorsOf(size);
    std::int64_t bytes = kFixedBytes + kBytesPerSample * size;
    if (factors.count > 0) {
        bytes += RaderBytesPerUnit(size / factors.largest) * factors.largest;
        bytes += kBytesPerLargeFactor * size * (factors.count - 1);
        if (threads > 1) bytes += kBytesPerSampleAndThread * size * (threads - 1);
    }
    return bytes;
}

std::int64_t FftPlan::heldBytes(std::int32_t n) noexcept
{
    // A lower bound: what it keeps is counted as free once the plan goes, and
    // what execution adds on top of it must not be underestimated.
    return n < 1 ? 0 : std::int64_t{4} * n;
}

}  // namespace trelvano
