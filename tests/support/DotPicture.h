#pragma once

#include <string>

#include "console/Console.h"

namespace lumidot::testing {

// The display memory as 16 lines of 16 characters, top row first: '#' for
// a lit dot, '.' for a dark one. Tests compare whole pictures.
std::string DotPicture(const Console& console);

}  // namespace lumidot::testing
