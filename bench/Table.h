#pragma once

#include "Measures.h"

namespace lumidot::bench {

// Prints every figure with its target and, where they have one, the
// ticking and spinning baselines. Returns whether every figure met its
// target; a figure that no child reported misses it.
bool PrintTable(const Figures& quiet, const Figures& ticking, const Figures& spinning);

}  // namespace lumidot::bench
