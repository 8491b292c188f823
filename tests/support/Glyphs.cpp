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
    picture.With(kDigitFont, score % 10, 14);
    return (score >= 10 ? picture.With(kDigitFont, score / 10, 10) : picture).Text();
}

std::string ReadMenu(const std::string& picture) {
    const auto read = [&picture](int column, const std::vector<std::string>& font,
                                 const std::string& names) {
        Picture box;
        for (std::size_t row = 0; row < 5; ++row) {
            box.lines[row] = picture.substr(row * 17 + static_cast<std::size_t>(column - 1), 3);
        }
        for (std::size_t n = 0; n < names.size(); ++n) {
            if (Picture(' ').With(font, static_cast<int>(n), 1).lines ==
                Picture(' ').With(box.lines, 0, 1).lines) {
                return names[n];
            }
        }
        return box.lines[0] + box.lines[1] + box.lines[2] + box.lines[3] + box.lines[4] ==
                       std::string(15, '.')
                   ? '.'
                   : '?';
    };
    for (std::size_t i = 0; i < picture.size(); ++i) {
        const std::size_t column = i % 17;
        if (picture[i] == '#' && (i >= 5 * 17 || (column >= 3 && column < 9) || column == 12)) {
            return "stray";
        }
    }
    return {read(1, kSizeFont, "C1234"), read(10, kSpeedFont, "CSF"),
            read(14, kDigitFont, "0123456789")};
}

}  // namespace lumidot::testing
