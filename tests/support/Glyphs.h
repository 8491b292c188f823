#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace lumidot {
class Console;
}

namespace lumidot::testing {

// The game's fonts as the console's manual prints them: one glyph per
// column of text (three characters and a blank), rows 1 to 5 from the top.
extern const std::vector<std::string> kDigitFont;  // 0 to 9
extern const std::vector<std::string> kSizeFont;   // C, 1, 2, 3, 4
extern const std::vector<std::string> kSpeedFont;  // C, S, F

// A 16 x 16 picture of the display: 16 lines of '#' (lit) and '.' (dark).
struct Picture {
    explicit Picture(char fill = '.') : lines(16, std::string(16, fill)) {}
    // Places glyph n of the font with its left column at `column`.
    Picture& With(const std::vector<std::string>& font, int n, int column);
    // Lights the given columns of a row, both counted from 1.
    Picture& Dots(int row, std::initializer_list<int> columns);
    // Adds the gun at position 1 (left), 2 (middle) or 3 (right).
    Picture& Gun(int position);
    std::string Text() const;

    std::vector<std::string> lines;
};

// The console's display memory as a picture's text.
std::string Shown(const Console& console);

// A score as the game shows it: units in columns 14 to 16, tens in 10 to 12.
std::string ScorePicture(int score);

// Reads the settings menu off a picture: size, speed and targets as three
// characters ("4S1"; 'C' for random), '.' for a dark box, '?' for anything
// else; "stray" when a dot outside the three boxes is lit.
std::string ReadMenu(const std::string& picture);

}  // namespace lumidot::testing
