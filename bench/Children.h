#pragma once

#include <QStringList>

#include "Measures.h"

namespace lumidot::bench {

// What a child of the benchmark runs for each mend it measures, besides the
// scripted game (Machine.h): each prints its figures as name=value lines
// and returns its exit code, 0 when it could measure what it should.

// Removes and inserts the cartridge on the real window 300 times, each
// insertion at a random moment of a refresh period, with a thread spinning
// beside the window, and times each until the dot cells show the menu.
int RunReinsertion(int& argc, char* argv[]);

// The hostile overlays by name: a GIF whose screen claims 16,000 x 1,000
// pixels, that GIF without its signature, files Qt would take for a BMP of
// 4,000 x 4,000 pixels or an XPM of 4,000 x 2,000, a JPEG of 1,000 scans.
QStringList HostileOverlayNames();

// Inserts the cartridge in a copy of the program's folders whose overlay is
// the hostile file named by argv[3], answers the report, and gives the
// report's number, the time from the click to the report and the process's
// peak resident memory.
int RunHostileOverlay(int& argc, char* argv[]);

// Loads and plays WAV files that are hostile to the converter, to the
// window's waits (1 Hz, an empty data chunk) or to the memory (184 MB),
// each of which should play the default sound instead, and loads the
// largest sounds the limits let through; gives the longest Load and Play
// and the peak resident memory.
int RunHostileSounds();

// The window as the program runs it, signals watched, plays a sound and
// says "sound ended"; the benchmark then sends SIGTERM. Returns what the
// program's main would.
int RunSignalAfterSound(int& argc, char* argv[]);

// Runs cartridges written in Lua on the real window: one waiting for a key
// (its processor share), an endless loop removed and, inserted again, closed
// (how long each took to end it), and a memory hog (the report's number and
// the process's peak memory).
int RunLuaCartridges(int& argc, char* argv[]);

}  // namespace lumidot::bench
