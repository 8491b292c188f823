#pragma once

#include <QPixmap>
#include <string>

namespace lumidot {

// Reads a GIF file. An empty path gives an empty picture; a path with no
// file behind it raises RuntimeError 53; a file that is no GIF (whatever
// else it may be), one larger than the limits, judged from its header
// before decoding and again once decoded, or one that does not decode, 481.
QPixmap LoadPicture(const std::string& path);

}  // namespace lumidot
