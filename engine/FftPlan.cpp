#include "FftPlan.h"

#include <fftw3.h>

#include <utility>

#include "MemoryBudget.h"
#include "RuntimeFault.h"

namespace trelvano {

static_assert(sizeof(std::complex<double>) == sizeof(fftw_complex),
              "std::complex<double> and fftw_complex share their layout");

FftPlan::FftPlan(std::int32_t n) : n_(n)
{
    if (n < 1) throw RuntimeFault(FaultKind::IndexOutOfRange);
    // FFTW aborts the process when its planner runs out of memory, so the
    // plan must be known to fit before it is made.
    RequireMemory(EstimatedBytes(n));

    const auto bins = static_cast<std::size_t>(n / 2 + 1);
    in_ = fftw_alloc_real(static_cast<std::size_t>(n));
    out_ = reinterpret_cast<std::complex<double>*>(fftw_alloc_complex(bins));
    if (in_ != nullptr && out_ != nullptr) {
        // FFTW_ESTIMATE plans without running trial transforms, so it leaves
        // the buffers alone and costs little next to one transform.
        plan_ = fftw_plan_dft_r2c_1d(n, in_, reinterpret_cast<fftw_complex*>(out_), FFTW_ESTIMATE);
    }
    if (plan_ == nullptr) {
        destroy();
        throw RuntimeFault(FaultKind::OutOfMemory);
    }
}

FftPlan::~FftPlan()
{
    destroy();
}

FftPlan::FftPlan(FftPlan&& other) noexcept
    : n_(std::exchange(other.n_, 0)),
      in_(std::exchange(other.in_, nullptr)),
      out_(std::exchange(other.out_, nullptr)),
      plan_(std::exchange(other.plan_, nullptr))
{
}

FftPlan& FftPlan::operator=(FftPlan&& other) noexcept
{
    if (this != &other) {
        destroy();
        n_ = std::exchange(other.n_, 0);
        in_ = std::exchange(other.in_, nullptr);
        out_ = std::exchange(other.out_, nullptr);
        plan_ = std::exchange(other.plan_, nullptr);
    }
    return *this;
}

void FftPlan::execute() noexcept
{
    if (plan_ != nullptr) fftw_execute(plan_);
}

std::int64_t FftPlan::EstimatedBytes(std::int32_t n) noexcept
{
    if (n < 1) return 0;
    const std::int64_t size = n;
    const std::int64_t buffers = size * 8 + (size / 2 + 1) * 16;
    // Twiddle factors and the scratch of Rader's algorithm for prime factors
    // take up to about two complex values per sample.
    const std::int64_t planner = size * 32 + (std::int64_t{1} << 20);
    return buffers + planner;
}

void FftPlan::destroy() noexcept
{
    if (plan_ != nullptr) fftw_destroy_plan(plan_);
    fftw_free(out_);
    fftw_free(in_);
    plan_ = nullptr;
    out_ = nullptr;
    in_ = nullptr;
    n_ = 0;
}

}  // namespace trelvano
