#pragma once

#include <QStringList>

#include "Measures.h"

namespace lumidot::bench {

// Runs this executable again with the arguments, in a process of its own,
// and adds the name=value lines it prints to the figures. A child that has
// not ended after `seconds` is killed. Returns false, once standard error
// has said why, when the child was killed, crashed or ended with another
// code than 0.
bool RunChild(const QStringList& arguments, int seconds, Figures& figures);

// Runs the scripted game (Machine.h) in the design ("quiet", "ticking" or
// "spinning") in a child, adds its figures and the time from its start to
// its first paint, and counts its wake-ups from the outside: the context
// switches of all its threads, read from /proc, in each quiet spell for 3 s
// ("wakeups <spell>", per second) and over the game's play. In the menu's
// spell it also times a key to the screen ("key to screen median"), on an
// X server only. Returns false, once standard error has said why, when the
// child failed or did not end within 5 minutes.
bool RunMachineChild(const QString& design, Figures& figures);

// The window of a child that has played a sound is sent SIGTERM: the time
// from the signal to the child's end ("signal to exit", in milliseconds)
// and its exit code ("signal exit code", -1 for a crash). Returns false
// when the child never said the sound had ended, or did not end.
bool RunSignalChild(Figures& figures);

}  // namespace lumidot::bench
