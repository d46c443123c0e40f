#pragma once

namespace trelvano {

// What the processor offers the vector code, asked once. On processors other
// than x86 every answer is false.
bool HasAvx() noexcept;
bool HasAvx2Fma() noexcept;
bool HasAvx512f() noexcept;

}  // namespace trelvano
