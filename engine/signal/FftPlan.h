#pragma once

#include <cstdint>
#include <span>

struct fftw_plan_s;  // FFTW's plan; the library stays private to the engine

namespace trelvano {

// A forward real-to-complex transform of one size n >= 1, planned once and
// executed any number of times on arrays the caller owns: n real samples in,
// bins 0..n/2 out, their real and imaginary parts in two separate arrays, so
// that the transform needs no array of its own. `re` serves as the transform's
// output first and holds 2(n/2 + 1) elements; those above n/2 end as 0.0.
//
// No scaling is applied: re[k] + j im[k] = sum over i = 0..n-1 of
// in[i] e^{-2 pi j k i / n}, for k = 0..n/2. The other bins are the
// conjugates: X[n-k] = conj(X[k]). The input is left as it was.
class FftPlan {
public:
    // Plans for arrays laid out as these (they are not touched). Raises
    // RuntimeFault(OutOfMemory) when the plan does not fit.
    FftPlan(std::int32_t n, std::span<double> in, std::span<double> re, std::span<double> im);
    ~FftPlan();

    FftPlan(const FftPlan&) = delete;
    FftPlan& operator=(const FftPlan&) = delete;
    FftPlan(FftPlan&& other) noexcept;
    FftPlan& operator=(FftPlan&& other) noexcept;

    std::int32_t size() const noexcept { return n_; }
    // Whether execute() may run on these arrays: they hold enough elements,
    // do not overlap, and are aligned as the ones planned for.
    bool fits(std::span<const double> in, std::span<const double> re, std::span<const double> im) const noexcept;
    // Raises RuntimeFault(IndexOutOfRange) when the arrays do not fit. The
    // scratch it takes is part of peakBytes, which the caller has made sure of.
    void execute(std::span<double> in, std::span<double> re, std::span<double> im);

    // Address space FFTW takes for size n at its peak, while planning or
    // executing (a prime n, or twice a prime, takes the most), and what the
    // plan keeps between executions.
    static std::int64_t peakBytes(std::int32_t n) noexcept;
    static std::int64_t heldBytes(std::int32_t n) noexcept;

private:
    std::int32_t n_ = 0;
    int alignment_[3] = {};
    fftw_plan_s* plan_ = nullptr;
};

}  // namespace trelvano
