#pragma once

#include <complex>
#include <cstdint>
#include <span>

struct fftw_plan_s;  // FFTW's plan; the library stays private to the engine

namespace trelvano {

// A forward real-to-complex transform of one size n >= 1, planned once and
// executed any number of times, with its own aligned input and output.
//
// No scaling is applied: out[k] = sum over i = 0..n-1 of in[i] e^{-2 pi j k i / n},
// for k = 0..n/2. The other bins are the conjugates: X[n-k] = conj(X[k]).
class FftPlan {
public:
    // Raises RuntimeFault(OutOfMemory) when the buffers or the plan do not fit.
    explicit FftPlan(std::int32_t n);
    ~FftPlan();

    FftPlan(const FftPlan&) = delete;
    FftPlan& operator=(const FftPlan&) = delete;
    FftPlan(FftPlan&& other) noexcept;
    FftPlan& operator=(FftPlan&& other) noexcept;

    std::int32_t size() const noexcept { return n_; }
    // n real samples to fill before execute().
    std::span<double> input() noexcept { return {in_, static_cast<std::size_t>(n_)}; }
    // n/2 + 1 bins, valid after execute().
    std::span<const std::complex<double>> output() const noexcept
    {
        return {out_, static_cast<std::size_t>(n_ / 2 + 1)};
    }

    void execute() noexcept;

    // Memory a plan of size n takes: its buffers plus FFTW's twiddles and
    // scratch, on the generous side (prime sizes need the most).
    static std::int64_t EstimatedBytes(std::int32_t n) noexcept;

private:
    void destroy() noexcept;

    std::int32_t n_ = 0;
    double* in_ = nullptr;
    std::complex<double>* out_ = nullptr;
    fftw_plan_s* plan_ = nullptr;
};

}  // namespace trelvano
