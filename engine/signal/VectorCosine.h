#pragma once

#include <span>

namespace trelvano {

// The ways this build can take cosines: one at a time with the C library,
// four or eight at a time with SLEEF's 1-ULP functions where the processor
// has the vector unit and the build found the library, or two at a time in
// the browser's SIMD modules.
enum class CosineUnit { Scalar, Avx2, Avx512, Simd128 };

// Whether `unit` works in this build on this processor (Scalar always does).
bool CosineUnitAvailable(CosineUnit unit) noexcept;

// The fastest available unit, chosen once.
CosineUnit FastestCosineUnit() noexcept;

// out[i] = cos(phases[i]) for every i; a phase that is not finite gives NaN.
// The vector units stay within one unit in the last place of the exact value,
// as the C library's cosine does, so the two agree to a few ULP.
// `out` must be as long as `phases` and may not overlap it.
void Cosines(std::span<const double> phases, std::span<double> out, CosineUnit unit = FastestCosineUnit()) noexcept;

}  // namespace trelvano
