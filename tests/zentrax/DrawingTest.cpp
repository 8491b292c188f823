#include <gtest/gtest.h>

#include <string>

#include "cartridges/zentrax/Digits.h"
#include "cartridges/zentrax/Gun.h"
#include "cartridges/zentrax/Indicators.h"
#include "console/Console.h"
#include "support/DotPicture.h"
#include "support/Glyphs.h"
#include "support/VirtualPlatform.h"

namespace lumidot::zentrax {
namespace {

using testing::DotPicture;
using testing::kDigitFont;
using testing::kSizeFont;
using testing::kSpeedFont;
using testing::Picture;

class DrawingTest : public ::testing::Test {
  protected:
    void LightAll() {
        for (std::int16_t y = 1; y <= 16; ++y) {
            for (std::int16_t x = 1; x <= 16; ++x) {
                console.DotOn(x, y);
            }
        }
    }

    testing::VirtualPlatform platform;
    Console console{platform};
};

TEST_F(DrawingTest, EachDigitFillsItsBoxOnADarkOrALitDisplayAndNothingElse) {
    for (std::int16_t digit = 0; digit <= 9; ++digit) {
        for (const int offset : {0, -4, -13}) {
            console.ClearDots();
            DrawDigit(console, digit, static_cast<std::int16_t>(offset));
            EXPECT_EQ(DotPicture(console), Picture().With(kDigitFont, digit, 14 + offset).Text())
                << "digit " << digit << " at offset " << offset;
            LightAll();
            DrawDigit(console, digit, static_cast<std::int16_t>(offset));
            EXPECT_EQ(DotPicture(console), Picture('#').With(kDigitFont, digit, 14 + offset).Text())
                << "digit " << digit << " at offset " << offset << " over lit dots";
        }
    }
}

TEST_F(DrawingTest, IndicatorsDrawTheirGlyphsInTheirOwnBoxes) {
    for (std::int16_t size = 0; size <= 4; ++size) {
        LightAll();
        DrawSizeIndicator(console, size);
        EXPECT_EQ(DotPicture(console), Picture('#').With(kSizeFont, size, 1).Text())
            << "size " << size;
    }
    for (std::int16_t speed = 0; speed <= 2; ++speed) {
        console.ClearDots();
        DrawSpeedIndicator(console, speed);
        EXPECT_EQ(DotPicture(console), Picture().With(kSpeedFont, speed, 10).Text())
            << "speed " << speed;
    }
}

TEST_F(DrawingTest, ValuesWithoutAPictureChangeNothing) {
    LightAll();
    console.DotOff(15, 2);
    const std::string before = DotPicture(console);
    for (const int value : {INT16_MIN, -1, 10, 100, INT16_MAX}) {
        const auto v = static_cast<std::int16_t>(value);
        DrawDigit(console, v, 0);
        DrawTargetCount(console, v);
        DrawSizeIndicator(console, v);
        DrawSpeedIndicator(console, v);
        DrawGun(console, v);
    }
    DrawScore(console, -1);
    DrawScore(console, -32768);
    DrawSizeIndicator(console, 5);
    DrawSpeedIndicator(console, 3);
    DrawGun(console, 0);
    DrawGun(console, 4);
    EXPECT_EQ(DotPicture(console), before);
}

TEST_F(DrawingTest, ScoresShowTheirDigitsFromTheRightEdge) {
    struct Case {
        std::int16_t score;
        std::vector<std::pair<int, int>> digits;  // digit, left column
    };
    const Case cases[] = {
        {0, {{0, 14}}},
        {9, {{9, 14}}},
        {10, {{1, 10}, {0, 14}}},
        {47, {{4, 10}, {7, 14}}},
        {90, {{9, 10}, {0, 14}}},
        {99, {{9, 10}, {9, 14}}},
        {100, {{1, 6}, {0, 10}, {0, 14}}},
        {905, {{9, 6}, {0, 10}, {5, 14}}},
        {2026, {{2, 2}, {0, 6}, {2, 10}, {6, 14}}},
        {9999, {{9, 2}, {9, 6}, {9, 10}, {9, 14}}},
        {10000, {{9, 2}, {9, 6}, {9, 10}, {9, 14}}},
        {32767, {{9, 2}, {9, 6}, {9, 10}, {9, 14}}},
    };
    for (const Case& c : cases) {
        console.ClearDots();
        DrawScore(console, c.score);
        Picture expected;
        for (const auto& [digit, column] : c.digits) {
            expected.With(kDigitFont, digit, column);
        }
        EXPECT_EQ(DotPicture(console), expected.Text()) << "score " << c.score;
    }
    // A one-digit score leaves a tens digit standing.
    console.ClearDots();
    DrawScore(console, 47);
    DrawScore(console, 5);
    EXPECT_EQ(DotPicture(console),
              Picture().With(kDigitFont, 4, 10).With(kDigitFont, 5, 14).Text());
}

}  // namespace
}  // namespace lumidot::zentrax
