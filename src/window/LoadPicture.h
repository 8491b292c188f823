#pragma once

#include <QPixmap>
#include <string>

namespace lumidot {

// Reads a picture file. An empty path gives an empty picture; a path with
// no file behind it raises RuntimeError 53, a file that is not a readable
// picture 481.
QPixmap LoadPicture(const std::string& path);

}  // namespace lumidot
