#include "support/Glyphs.h"

#include "console/Console.h"

namespace lumidot::testing {

const std::vector<std::string> kDigitFont = {
    "### .#. ### ### #.# ### ### ### ### ###", "#.# ##. ..# ..# #.# #.. #.. ..# #.# #.#",
    "#.# .#. ### .## ### ### ### ..# ### ###", "#.# .#. #.. ..# ..# ..# #.# ..# #.# ..#",
    "### ### ### ### ..# ### ### ..# ### ###"};
const std::vector<std::string> kSizeFont = {"### .#. ### ### #.#", "#.. ##. ..# ..# #.#",
                                            "#.. .#. ### .## ###", "#.. .#. #.. ..# ..#",
                                            "### ### ### ### ..#"};
const std::vector<std::string> kSpeedFont = {"### .## ###", "#.. #.. #..", "#.. ### ##.",
                                             "#.. ..# #..", "### ##. #.."};

Picture& Picture::With(const std::vector<std::string>& font, int n, int column) {
    for (std::size_t row = 0; row < 5; ++row) {
        lines[row].replace(static_cast<std::size_t>(column - 1), 3,
                           font[row].substr(static_cast<std::size_t>(n) * 4, 3));
    }
    return *this;
}

Picture& Picture::Dots(int row, std::initializer_list<int> columns) {
    for (const int column : columns) {
        lines.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(column - 1)) = '#';
    }
    return *this;
}

Picture& Picture::Gun(int position) {
    switch (position) {
        case 1:
            return Dots(14, {3}).Dots(15, {2}).Dots(16, {1, 2, 3});
        case 2:
            return Dots(14, {8}).Dots(15, {8}).Dots(16, {7, 8, 9});
        default:
            return Dots(14, {14}).Dots(15, {15}).Dots(16, {14, 15, 16});
    }
}

std::string Picture::Text() const {
    std::string out;
    for (const std::string& line : lines) {
        out += line + '\n';
    }
    return out;
}

std::string Shown(const Console& console) {
    Picture picture;
    for (int i = 0; i < 256; ++i) {
        picture.lines[static_cast<std::size_t>(i / 16)][static_cast<std::size_t>(i % 16)] =
            console.Dots(i + 1) == kTrue ? '#' : '.';
    }
    return picture.Text();
}

std::string ScorePicture(int score) {
    Picture picture;
    picture.With(kDigitFont, score % 10, 14);
    if (score >= 10) {
        picture.With(kDigitFont, score / 10, 10);
    }
    return picture.Text();
}

namespace {

char Read(const std::string& picture, int column, const std::vector<std::string>& font,
          const char* names) {
    std::string box;
    for (std::size_t row = 0; row < 5; ++row) {
        box += picture.substr(row * 17 + static_cast<std::size_t>(column - 1), 3);
    }
    if (box == std::string(15, '.')) {
        return '.';
    }
    for (std::size_t n = 0; names[n] != '\0'; ++n) {
        std::string glyph;
        for (const std::string& row : font) {
            glyph += row.substr(n * 4, 3);
        }
        if (glyph == box) {
            return names[n];
        }
    }
    return '?';
}

}  // namespace

std::string ReadMenu(const std::string& picture) {
    for (std::size_t i = 0; i < picture.size(); ++i) {
        const bool inBox = i < 5 * 17 && (i % 17 < 3 || (i % 17 >= 9 && i % 17 != 12));
        if (!inBox && picture[i] == '#') {
            return "stray";
        }
    }
    return {Read(picture, 1, kSizeFont, "C1234"), Read(picture, 10, kSpeedFont, "CSF"),
            Read(picture, 14, kDigitFont, "0123456789")};
}

}  // namespace lumidot::testing
