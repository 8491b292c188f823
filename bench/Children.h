#pragma once

#include "Measures.h"

namespace lumidot::bench {

// What a child of the benchmark runs for each mend it measures, besides the
// scripted game (Machine.h): each prints its figures as name=value lines
// and returns its exit code, 0 when it could measure what it should.

// Removes and inserts the cartridge on the real window 300 times, each
// insertion at a random moment of a refresh period, with a thread spinning
// beside the window, and times each until the dot cells show the menu.
int RunReinsertion(int& argc, char* argv[]);

// Inserts the cartridge in a copy of the program's folders whose overlay is
// a GIF claiming 8,192 x 4,095 pixels, answers the report, and gives the
// report's number and the process's peak resident memory.
int RunHostileOverlay(int& argc, char* argv[]);

// Loads and plays WAV files that are hostile to the converter or to the
// window's waits (1 Hz, an empty data chunk), and gives the longest Load
// and Play: each should play the default sound instead.
int RunHostileSounds();

// The window as the program runs it, signals watched, plays a sound and
// says "sound ended"; the benchmark then sends SIGTERM. Returns what the
// program's main would.
int RunSignalAfterSound(int& argc, char* argv[]);

}  // namespace lumidot::bench
