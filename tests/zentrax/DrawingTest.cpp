#include <gtest/gtest.h>

#include "cartridges/zentrax/Digits.h"
#include "cartridges/zentrax/Gun.h"
#include "cartridges/zentrax/Indicators.h"
#include "console/Console.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot::zentrax {
namespace {

using testing::kDigitFont;
using testing::Picture;
using testing::Shown;

class DrawingTest : public ::testing::Test {
  protected:
    // Every dot lit, or every dot dark.
    void Fill(bool lit) {
        for (std::int16_t y = 1; y <= 16; ++y) {
            for (std::int16_t x = 1; x <= 16; ++x) {
                lit ? console.DotOn(x, y) : console.DotOff(x, y);
            }
        }
    }

    testing::VirtualPlatform platform;
    Console console{platform};
};

// Each glyph replaces all of its box, lit or dark, and touches nothing else.
TEST_F(DrawingTest, GlyphsAreTheFontsAsPrinted) {
    for (const bool lit : {false, true}) {
        const char fill = lit ? '#' : '.';
        for (std::int16_t n = 0; n <= 9; ++n) {
            for (const std::int16_t offset : std::initializer_list<std::int16_t>{0, -4, -13}) {
                Fill(lit);
                DrawDigit(console, n, offset);
                EXPECT_EQ(Shown(console), Picture(fill).With(kDigitFont, n, 14 + offset).Text());
            }
        }
        for (std::int16_t n = 0; n <= 4; ++n) {
            Fill(lit);
            DrawSizeIndicator(console, n);
            EXPECT_EQ(Shown(console), Picture(fill).With(testing::kSizeFont, n, 1).Text());
        }
        for (std::int16_t n = 0; n <= 2; ++n) {
            Fill(lit);
            DrawSpeedIndicator(console, n);
            EXPECT_EQ(Shown(console), Picture(fill).With(testing::kSpeedFont, n, 10).Text());
        }
    }
    // The gun at one site puts out the other two.
    Fill(false);
    for (const std::int16_t site : std::initializer_list<std::int16_t>{3, 1, 2}) {
        DrawGun(console, site);
        EXPECT_EQ(Shown(console), Picture().Gun(site).Text());
    }
}

TEST_F(DrawingTest, ValuesWithoutAPictureDrawNothing) {
    Fill(true);
    console.DotOff(15, 2);
    const std::string before = Shown(console);
    for (const int value : {INT16_MIN, -1, 10, 100, INT16_MAX}) {
        const auto v = static_cast<std::int16_t>(value);
        DrawDigit(console, v, 0);
        DrawSizeIndicator(console, v);
        DrawSpeedIndicator(console, v);
        DrawGun(console, v);
    }
    DrawScore(console, -1);
    DrawSizeIndicator(console, 5);
    DrawSpeedIndicator(console, 3);
    DrawGun(console, 0);
    DrawGun(console, 4);
    EXPECT_EQ(Shown(console), before);
}

TEST_F(DrawingTest, ScoresStandFromTheRightEdgeFourColumnsADigit) {
    const std::pair<std::int16_t, std::vector<int>> cases[] = {
        {0, {0}},     {9, {9}},         {10, {1, 0}},          {47, {4, 7}},
        {90, {9, 0}}, {905, {9, 0, 5}}, {10000, {9, 9, 9, 9}}, {32767, {9, 9, 9, 9}}};
    for (const auto& [score, digits] : cases) {
        Fill(false);
        DrawScore(console, score);
        Picture expected;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            expected.With(kDigitFont, digits[i], 14 - 4 * static_cast<int>(digits.size() - 1 - i));
        }
        EXPECT_EQ(Shown(console), expected.Text()) << score;
    }
    // One digit leaves a tens digit standing: the game clears first.
    Fill(false);
    DrawScore(console, 97);
    DrawScore(console, 5);
    EXPECT_EQ(Shown(console), Picture().With(kDigitFont, 9, 10).With(kDigitFont, 5, 14).Text());
}

}  // namespace
}  // namespace lumidot::zentrax
