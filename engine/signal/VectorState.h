#pragma once

namespace trelvano {

// Clears the upper halves of the AVX registers when the processor has them.
//
// Code that leaves them in use (measured after Qt's raster drawing) makes every
// later SSE instruction pay for it: the synthesis loop, which goes back and forth
// between its own SSE code and the AVX cosine of the C library, ran 15 times
// slower. The long loops of the engine clear the state before they start.
void ClearUpperVectorState() noexcept;

}  // namespace trelvano
