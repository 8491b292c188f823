#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace lumidot {
class Console;
}

namespace lumidot::testing {

// The game's fonts as the console's manual prints them: a glyph per column
// of text (three characters and a blank), rows 1 to 5 from the top.
extern const std::vector<std::string> kDigitFont;  // 0 to 9
extern const std::vector<std::string> kSizeFont;   // C, 1, 2, 3, 4
extern const std::vector<std::string> kSpeedFont;  // C, S, F

// The display as 16 lines of '#' (lit) and '.' (dark).
struct Picture {
    explicit Picture(char fill = '.') : lines(16, std::string(16, fill)) {}
    // Glyph n of the font with its left column at `column`.
    Picture& With(const std::vector<std::string>& font, int n, int column);
    // Lights the columns of a row, both counted from 1.
    Picture& Dots(int row, std::initializer_list<int> columns);
    // The gun at 1 (left), 2 (middle) or 3 (right).
    Picture& Gun(int site);
    std::string Text() const;

    std::vector<std::string> lines;
};

std::string Shown(const Console& console);
// A score: units in columns 14 to 16, tens in 10 to 12.
std::string ScorePicture(int score);
// The settings menu read off a picture: "4S1" ('C' random, '.' a dark box,
// '?' anything else), or "stray" when a dot outside the boxes is lit.
std::string ReadMenu(const std::string& picture);

}  // namespace lumidot::testing
