#include "cartridges/zentrax/Digits.h"

#include <algorithm>
#include <string>

#include "cartridges/zentrax/Glyph.h"
#include "console/Console.h"
#include "console/Int16.h"

namespace lumidot::zentrax {

namespace {

// clang-format off
constexpr std::array<Glyph, 10> kDigits{{
    {"###", "#.#", "#.#", "#.#", "###"},  // 0
    {".#.", "##.", ".#.", ".#.", "###"},  // 1
    {"###", "..#", "###", "#..", "###"},  // 2
    {"###", "..#", ".##", "..#", "###"},  // 3
    {"#.#", "#.#", "###", "..#", "..#"},  // 4
    {"###", "#..", "###", "..#", "###"},  // 5
    {"###", "#..", "###", "#.#", "###"},  // 6
    {"###", "..#", "..#", "..#", "..#"},  // 7
    {"###", "#.#", "###", "#.#", "###"},  // 8
    {"###", "#.#", "###", "..#", "###"},  // 9
}};
// clang-format on

constexpr int kLargestScore = 9999;
constexpr std::int16_t kDigitPitch = 4;

}  // namespace

void DrawDigit(Console& console, std::int16_t digit, std::int16_t offset) {
    if (digit < 0 || digit > 9) {
        return;
    }
    DrawGlyph(console, kDigits[static_cast<std::size_t>(digit)], int16::Add(14, offset));
}

void DrawTargetCount(Console& console, std::int16_t n) {
    DrawDigit(console, n, 0);
}

void DrawScore(Console& console, std::int16_t n) {
    if (n < 10) {
        DrawDigit(console, n, 0);
        return;
    }
    const std::string text = std::to_string(std::min<int>(n, kLargestScore));
    const auto places = static_cast<std::int16_t>(text.size());
    for (std::int16_t i = 0; i < places; ++i) {
        const auto offset = static_cast<std::int16_t>(-kDigitPitch * (places - 1 - i));
        DrawDigit(console, static_cast<std::int16_t>(text[static_cast<std::size_t>(i)] - '0'),
                  offset);
    }
}

}  // namespace lumidot::zentrax
