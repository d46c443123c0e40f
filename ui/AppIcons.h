#pragma once

#include <QIcon>

namespace trelvano {

// The input panel's and waveform window's icon: a modulated sine.
QIcon ApplicationIcon();
// The spectrum window's own icon: red lines on black.
QIcon SpectrumIcon();

}  // namespace trelvano
