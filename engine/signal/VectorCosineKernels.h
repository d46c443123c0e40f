#pragma once

#include <cstddef>

// Each kernel lives in a file of its own, compiled for its instruction set,
// and is called only once the processor is known to have it.
namespace trelvano::kernels {

void CosinesAvx2(const double* phases, double* out, std::size_t count) noexcept;
void CosinesAvx512(const double* phases, double* out, std::size_t count) noexcept;
void CosinesSimd128(const double* phases, double* out, std::size_t count) noexcept;

}  // namespace trelvano::kernels
