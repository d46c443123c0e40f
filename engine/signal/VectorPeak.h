#pragma once

#include <span>

namespace trelvano {

// The largest of `peak` and every |scanned[i]|, or NaN when one of them is
// not finite. Every mouse move over a plot scans a whole buffer, so the scan
// runs two lanes at a time where the processor has them; the maximum is the
// same one a one-by-one scan finds.
double LargestMagnitude(std::span<const double> scanned, double peak) noexcept;

}  // namespace trelvano
