#pragma once

#include <stdexcept>
#include <string>

namespace lumidot {

// Error numbers carried by a RuntimeError. The game's error report shows them
// to the player, so they keep the console's traditional values.
enum ErrorNumber : int {
    kErrOverflow = 6,             // a 16-bit value left its range
    kErrOutOfMemory = 7,          // the machine ran out of memory
    kErrSubscriptOutOfRange = 9,  // an index outside a table
    kErrInternal = 51,            // any other failure of the program itself
    kErrFileNotFound = 53,        // a picture file that is not there
    kErrInvalidPicture = 481      // a file that is not a readable picture
};

// A run-time failure of the console or of a cartridge. It travels to the
// cartridge's one error handler, which reports Number() to the player.
class RuntimeError : public std::runtime_error {
  public:
    RuntimeError(int number, const std::string& what) : std::runtime_error(what), number_(number) {}

    int Number() const { return number_; }

  private:
    int number_;
};

}  // namespace lumidot
