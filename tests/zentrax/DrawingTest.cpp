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

// The menu and the games show the glyphs; here, what they never show.
TEST(DrawingTest, ValuesWithoutAPictureDrawNothingAndLargeScoresFillTheTopRows) {
    testing::VirtualPlatform platform;
    Console console(platform);
    console.DotOn(15, 2);
    for (const int value : {INT16_MIN, -1, 10, 100, INT16_MAX}) {
        const auto v = static_cast<std::int16_t>(value);
        DrawDigit(console, v, 0);
        DrawSizeIndicator(console, v);
        DrawSpeedIndicator(console, v);
        DrawGun(console, v);
    }
    DrawSizeIndicator(console, 5);
    DrawSpeedIndicator(console, 3);
    DrawGun(console, 0);
    DrawGun(console, 4);
    DrawScore(console, -1);
    EXPECT_EQ(Shown(console), Picture().Dots(2, {15}).Text());

    const std::pair<std::int16_t, std::vector<int>> scores[] = {
        {90, {9, 0}}, {905, {9, 0, 5}}, {2026, {2, 0, 2, 6}}, {10000, {9, 9, 9, 9}}};
    for (const auto& [score, digits] : scores) {
        console.ClearDots();
        DrawScore(console, score);
        Picture expected;
        for (std::size_t i = 0; i < digits.size(); ++i) {
            expected.With(kDigitFont, digits[i], 14 - 4 * static_cast<int>(digits.size() - 1 - i));
        }
        EXPECT_EQ(Shown(console), expected.Text()) << score;
    }
    // One digit leaves a tens digit standing: the game clears first.
    console.ClearDots();
    DrawScore(console, 97);
    DrawScore(console, 5);
    EXPECT_EQ(Shown(console), Picture().With(kDigitFont, 9, 10).With(kDigitFont, 5, 14).Text());
}

}  // namespace
}  // namespace lumidot::zentrax
