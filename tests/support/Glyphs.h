#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace lumidot {
class Console;
}

namespace lumidot::testing {

// The display as 16 lines of '#' (lit) and '.' (dark).
struct Picture {
    explicit Picture(char fill = '.') : lines(16, std::string(16, fill)) {}
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
// The menu as shown, from "4S1": size (C, 1-4), speed (C, S, F), targets (1-9).
std::string MenuPicture(const std::string& settings);

}  // namespace lumidot::testing
