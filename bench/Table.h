#pragma once

#include "Measures.h"

namespace lumidot::bench {

// Prints every figure with its target and, where there is one, the
// spinning baseline. Returns whether every figure met its target; a figure
// that no child reported misses it.
bool PrintTable(const Figures& waiting, const Figures& spinning);

}  // namespace lumidot::bench
