#pragma once

#include <map>
#include <string>

#include "window/QtPlatform.h"

namespace lumidot::bench {

// The figures of one run of the real window, by name: processor shares in
// percent of one core, times in milliseconds, memory in megabytes.
using Figures = std::map<std::string, double>;

// Starts the window in this process, plays the scripted game on the real
// clock with the given pumping, and returns what it measured.
Figures RunMachine(int argc, char* argv[], QtPlatform::Pumping pumping);

// The monotonic clock shared by every process on the machine, in seconds.
double MonotonicSeconds();

}  // namespace lumidot::bench
