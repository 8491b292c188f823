#pragma once

#include "Measures.h"
#include "window/QtPlatform.h"

namespace lumidot::bench {

// Starts the window in this process, plays the scripted game on the real
// clock with the given pumping, and returns what it measured.
Figures RunMachine(int argc, char* argv[], QtPlatform::Pumping pumping);

}  // namespace lumidot::bench
