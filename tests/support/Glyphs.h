#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace lumidot::testing {

// The game's fonts as the console's manual prints them: one glyph per
// column of text (three characters and a blank), rows 1 to 5 from the top.
extern const std::vector<std::string> kDigitFont;  // 0 to 9
extern const std::vector<std::string> kSizeFont;   // C, 1, 2, 3, 4
extern const std::vector<std::string> kSpeedFont;  // C, S, F

// A 16 x 16 picture in DotPicture's form.
struct Picture {
    explicit Picture(char fill = '.');

    // Places glyph n of the font with its left column at `column`.
    Picture& With(const std::vector<std::string>& font, int n, int column);
    // Lights the given columns of a row, both counted from 1.
    Picture& Dots(int row, std::initializer_list<int> columns);
    // Adds the gun at position 1 (left), 2 (middle) or 3 (right).
    Picture& Gun(int position);
    std::string Text() const;

    std::vector<std::string> lines;
};

// A score as the game shows it at its end: the units in columns 14 to 16,
// the tens, if any, in 10 to 12.
std::string ScorePicture(int score);

// Reads the settings menu off a display picture: the size, speed and
// targets glyphs as three characters ("4S1"; 'C' for a random setting),
// '.' for a dark box and '?' for anything else. A lit dot outside the three
// boxes gives "stray".
std::string ReadMenu(const std::string& picture);

}  // namespace lumidot::testing
