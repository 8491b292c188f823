#include "support/Glyphs.h"

#include "console/Console.h"

namespace lumidot::testing {
namespace {

// The game's fonts as docs/manual.md prints them: a glyph per column
// of text (three characters and a blank), rows 1 to 5 from the top.
const std::vector<std::string> kDigitFont = {
    "### .#. ### ### #.# ### ### ### ### ###", "#.# ##. ..# ..# #.# #.. #.. ..# #.# #.#",
    "#.# .#. ### .## ### ### ### ..# ### ###", "#.# .#. #.. ..# ..# ..# #.# ..# #.# ..#",
    "### ### ### ### ..# ### ### ..# ### ###"};
const std::vector<std::string> kSizeFont = {  // C, 1 to 4
    "### .#. ### ### #.#", "#.. ##. ..# ..# #.#", "#.. .#. ### .## ###", "#.. .#. #.. ..# ..#",
    "### ### ### ### ..#"};
const std::vector<std::string> kSpeedFont = {  // C, S, F
    "### .## ###", "#.. #.. #..", "#.. ### ##.", "#.. ..# #..", "### ##. #.."};

// Glyph n of the font with its left column at `column`.
Picture& With(Picture& picture, const std::vector<std::string>& font, int n, int column) {
    for (std::size_t row = 0; row < 5; ++row) {
        picture.lines[row].replace(static_cast<std::size_t>(column - 1), 3,
                                   font[row].substr(static_cast<std::size_t>(n) * 4, 3));
    }
    return picture;
}

}  // namespace

Picture& Picture::Dots(int row, std::initializer_list<int> columns) {
    for (const int column : columns) {
        lines.at(static_cast<std::size_t>(row - 1)).at(static_cast<std::size_t>(column - 1)) = '#';
    }
    return *this;
}

Picture& Picture::Gun(int site) {
    const int tip[] = {3, 8, 14}, middle[] = {2, 8, 15}, base[] = {1, 7, 14};
    const int b = base[site - 1];
    return Dots(14, {tip[site - 1]}).Dots(15, {middle[site - 1]}).Dots(16, {b, b + 1, b + 2});
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
    for (std::size_t i = 0; i < 256; ++i) {
        picture.lines[i / 16][i % 16] = console.Dots(static_cast<int>(i) + 1) == kTrue ? '#' : '.';
    }
    return picture.Text();
}

std::string ScorePicture(int score) {
    Picture picture;
    With(picture, kDigitFont, score % 10, 14);
    return (score >= 10 ? With(picture, kDigitFont, score / 10, 10) : picture).Text();
}

std::string MenuPicture(const std::string& settings) {
    Picture picture;
    With(picture, kSizeFont, static_cast<int>(std::string("C1234").find(settings.at(0))), 1);
    With(picture, kSpeedFont, static_cast<int>(std::string("CSF").find(settings.at(1))), 10);
    return With(picture, kDigitFont, settings.at(2) - '0', 14).Text();
}

}  // namespace lumidot::testing
