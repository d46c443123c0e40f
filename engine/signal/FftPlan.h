#pragma once

#include <cstdint>
#include <span>

#include "engine/core/WorkerPool.h"

struct fftw_plan_s;  // FFTW's plan; the library stays private to the engine

namespace trelvano {

// A forward real-to-complex transform of one size n >= 1, planned once and
// executed any number of times on arrays the caller owns: n real samples in,
// bins 0..n/2 out, interleaved: out[2k] + j out[2k + 1] = X[k]. FFTW's
// interleaved output runs about twice as fast as its split one (its vector
// code is written for it).
//
// No scaling is applied: X[k] = sum over i = 0..n-1 of in[i] e^{-2 pi j k i / n},
// for k = 0..n/2. The other bins are the conjugates: X[n-k] = conj(X[k]).
//
// A plan for more than one thread runs its loops on the pool handed to
// execute(). Planned for another count of threads, the transform may differ
// in the last bits: it is another sequence of operations.
class FftPlan {
public:
    // Plans for `threads` threads and for arrays laid out as these (they are
    // not touched). Raises RuntimeFault(OutOfMemory) when the plan does not fit.
    FftPlan(std::int32_t n, int threads, std::span<double> in, std::span<double> out);
    ~FftPlan();

    FftPlan(const FftPlan&) = delete;
    FftPlan& operator=(const FftPlan&) = delete;
    FftPlan(FftPlan&& other) noexcept;
    FftPlan& operator=(FftPlan&& other) noexcept;

    std::int32_t size() const noexcept { return n_; }
    int threads() const noexcept { return threads_; }
    // Whether execute() may run on these arrays: they hold enough elements
    // (n in, 2(n/2 + 1) out), do not overlap, and are aligned as the ones
    // planned for.
    bool fits(std::span<const double> in, std::span<const double> out) const noexcept;
    // Raises RuntimeFault(IndexOutOfRange) when the arrays do not fit. The
    // scratch it takes is part of peakBytes, which the caller has made sure of.
    void execute(std::span<double> in, std::span<double> out, WorkerPool& pool);

    // Address space FFTW takes for size n and `threads` threads at its peak,
    // while planning or executing (a prime n, or twice a prime, takes the
    // most), and what the plan keeps between executions.
    static std::int64_t peakBytes(std::int32_t n, int threads) noexcept;
    static std::int64_t heldBytes(std::int32_t n) noexcept;

private:
    std::int32_t n_ = 0;
    int threads_ = 1;
    int alignment_[2] = {};
    fftw_plan_s* plan_ = nullptr;
};

}  // namespace trelvano
