#pragma once

#include "Measures.h"
#include "window/QtPlatform.h"

namespace lumidot::bench {

// The designs the benchmark compares, each in a child of its own: the
// program as it is; the ticking design before it, whose refresh ticks every
// 25 ms from the first insertion on and whose sound device stays open; and
// the original one, which also spins in its loops.
enum class Design { Quiet, Ticking, Spinning };

// Starts the window in this process, plays the scripted game on the real
// clock in the given design, and returns what it measured. At each quiet
// spell it prints "quiet <name>" and waits for a line on its standard input
// before it goes on, so that the benchmark can count its wake-ups from the
// outside meanwhile; "from <name>" and "to <name>" frame the game's play.
Figures RunMachine(int argc, char* argv[], Design design);

}  // namespace lumidot::bench
