// Whole games on the virtual clock, the draws scripted, a player reacting to
// the display and every change of it filmed; on a machine that spins and on
// one that sleeps in its waits, from 0, just before midnight and forty days on.

#include <algorithm>
#include <array>
#include <numeric>
#include <tuple>

#include "zentrax/Game.h"

namespace lumidot {
namespace {

using testing::Picture;
using testing::ScorePicture;

struct Frame {
    double t;
    std::string picture;
};

std::vector<int> LitColumns(const std::string& picture, int row) {
    std::vector<int> columns;
    for (int column = 1; column <= 16; ++column) {
        if (picture.at(std::size_t((row - 1) * 17 + column - 1)) == '#') columns.push_back(column);
    }
    return columns;
}

bool GunAt(const std::string& picture, int site) {
    return picture.substr(13 * 17) == Picture().Gun(site).Text().substr(13 * 17);
}

class PlayTest : public testing::GameTest,
                 public ::testing::WithParamInterface<std::tuple<bool, double>> {
  protected:
    PlayTest() : GameTest(std::get<1>(GetParam())) {
        platform.waiting = std::get<0>(GetParam());
        platform.onPump = [this] {
            std::string picture = testing::Shown(console);
            if (film.empty() || film.back().picture != picture) film.push_back({Now(), picture});
            if (platform.drawsTaken >= drawsPerSpawn * (spawns.size() + 1)) spawns.push_back(Now());
            if (player) player();
        };
    }
    // Waiting, a game pumps for its steps and events, not once a millisecond.
    void TearDown() override {
        EXPECT_TRUE(!platform.waiting || double(platform.pumps) < 100.0 * Now()) << platform.pumps;
    }
    // Keys in the menu, then "Go" at 0.1 s.
    void Menu(const std::vector<std::int16_t>& keys) {
        for (std::size_t i = 0; i < keys.size(); ++i)
            Key(0.01 + 0.005 * double(i), keys[i]);
        Key(0.1, 5);
    }
    std::vector<Frame> Between(double from, double until) const {
        std::vector<Frame> frames;
        std::copy_if(film.begin(), film.end(), std::back_inserter(frames),
                     [&](const Frame& f) { return f.t >= from && f.t < until; });
        return frames;
    }

    std::size_t drawsPerSpawn = 2;
    std::vector<Frame> film;
    std::vector<double> spawns;  // the first pump after each spawn
    std::function<void()> player;
};
TEST_P(PlayTest, TenTargetsCrossUnhitAndTheGameEndsWithAScoreOfNothing) {
    Menu({1, 1, 1, 1, 2, 2});  // size and speed random, one round of ten targets
    drawsPerSpawn = 4;
    const float z = 0.0f, last = 0.99999994f;  // the largest draw below 1
    // Each target's draws (length, interval, side, row), and what they give.
    // clang-format off
    const struct { std::array<float, 4> draws; int length; double interval; bool fromLeft; int row; }
        targets[] = {{{last, z, z, z}, 4, 0.1, true, 1}, {{z, .5f, .5f, last}, 1, 0.05, false, 8},
            {{z, .49999997f, .75f, .875f}, 1, 0.1, false, 8}, {{.25f, .9f, .1f, .5f}, 2, 0.05, true, 5},
            {{last, z, last, last}, 4, 0.1, false, 8}, {{z, z, z, .125f}, 1, 0.1, true, 2},
            {{.3f, .7f, .8f, .75f}, 2, 0.05, false, 7}, {{.6f, .2f, .3f, .65f}, 3, 0.1, true, 6},
            {{.8f, .6f, .2f, .4f}, 4, 0.05, true, 4}, {{.1f, .95f, .6f, z}, 1, 0.05, false, 1}};
    // clang-format on
    for (const auto& target : targets) {
        platform.draws.insert(platform.draws.end(), target.draws.begin(), target.draws.end());
    }
    // Target 3: a shot from the right, a key while its beam flies and one
    // after it has gone. Target 4: a shot so late that the next target spawns
    // under its beam. Target 5: the new shot that brings.
    const std::map<std::size_t, std::vector<std::pair<double, std::int16_t>>> shots = {
        {3, {{0.01, 9}, {0.2, 7}, {0.7, 8}}}, {4, {{0.85, 7}}}, {5, {{0.01, 8}}}};
    std::size_t seen = 0;
    double over = 0;
    player = [&] {
        if (spawns.size() > seen && shots.count(++seen) != 0) {
            for (const auto& [after, key] : shots.at(seen))
                Key(spawns.back() + after, key);
        }
        if (over == 0 && film.back().picture == ScorePicture(0)) {
            over = Now();
            Key(over + 0.02, 5);  // before the tune: forgotten once it has played
            Key(over + 1.0, 5);
            At(over + 1.1, [this] { EXPECT_EQ(film.back().picture, testing::MenuPicture("4S1")); });
            At(over + 1.5, [this] { slot.Remove(); });
        }
    };
    slot.Insert();

    ASSERT_EQ(spawns.size(), 10u) << "ten targets and no more";
    spawns.push_back(over);
    for (std::size_t i = 0; i < 10; ++i) {
        const auto& target = targets[i];
        // It enters whole at its edge, and is gone 19 steps later; the next
        // comes on the turn after.
        std::vector<int> entered(static_cast<std::size_t>(target.length));
        std::iota(entered.begin(), entered.end(), target.fromLeft ? 1 : 17 - target.length);
        EXPECT_EQ(LitColumns(Between(spawns[i], spawns[i + 1]).at(0).picture, target.row), entered)
            << i;
        const double lifetime = spawns[i + 1] - spawns[i] - 19 * target.interval;
        EXPECT_TRUE(lifetime >= 0 && lifetime <= 0.025) << i << ": " << lifetime;
    }
    // Target 3's shot moves the gun to the right; the keys fired later move
    // nothing.
    for (const Frame& frame : Between(spawns[2] + 0.01, spawns[3])) {
        EXPECT_TRUE(GunAt(frame.picture, 3)) << frame.t;
    }
    // Target 5 spawns under target 4's beam: the display is cleared to the
    // gun where it stood and the new bar; the next key fires again.
    const std::vector<Frame> fifth = Between(spawns[4], spawns[5]);
    EXPECT_EQ(fifth.front().picture, Picture().Gun(1).Dots(8, {13, 14, 15, 16}).Text());
    EXPECT_TRUE(std::any_of(fifth.begin(), fifth.end(), [](const Frame& frame) {
        return frame.picture[12 * 17 + 7] == '#' && GunAt(frame.picture, 2);  // (8, 13)
    })) << "no new shot";
    // Game over: the score, the tune 40 ms later; "Go" then starts afresh.
    EXPECT_TRUE(Played("zx_hit.wav").empty());
    EXPECT_EQ(Played("zx_gameover.wav"), std::vector<double>{Played("zx_gameover.wav").at(0)});
    EXPECT_NEAR(Played("zx_gameover.wav").at(0), over + 0.04, 0.0015);
    EXPECT_EQ(host.dressings, 2) << "one new game, after the second \"Go\"";
    EXPECT_NEAR(Now(), over + 1.5, 0.0015);
}

// Bars of three on row 7, fired at when their front reaches a column. The
// beam reaches row 8 six steps after the shot, when the bar has made two: from
// the middle a bar moving right is hit if its front stood at 5 to 7, one moving
// left at 9 to 11; beams from the corners drift a column a step, shifting
// the spans by two. Each span's ends and both its neighbours:
TEST_P(PlayTest, AShotHitsWhereTheBarIsAboutToBe) {
    Menu({1, 3});  // three dots, twenty targets, slowly
    struct Shot {
        bool fromLeft;
        std::int16_t key;
        int front;  // the bar's front column when the key is pressed
        bool hit;
    };
    // clang-format off
    const std::vector<Shot> shots = {
        {true, 8, 4, false},  {true, 8, 5, true},   {true, 8, 7, true},   {true, 8, 8, false},
        {false, 8, 8, false}, {false, 8, 9, true},  {false, 8, 11, true}, {false, 8, 12, false},
        {true, 7, 6, false},  {true, 7, 7, true},   {true, 7, 9, true},   {true, 7, 10, false},
        {false, 9, 7, false}, {false, 9, 8, true},  {false, 9, 10, true}, {false, 9, 11, false},
        {true, 8, 6, true},   {false, 8, 10, true}, {true, 7, 8, true},   {false, 9, 9, true},
    };
    // clang-format on
    for (const Shot& shot : shots)
        platform.draws.insert(platform.draws.end(), {shot.fromLeft ? .25f : .75f, .8125f});
    std::vector<bool> hit(shots.size(), false);
    platform.onSound = [&](const std::string& path) {
        if (path.find("zx_hit.wav") == std::string::npos) return;
        hit.at(spawns.size() - 1) = true;
        // A hit clears the display to the gun, where it fired from.
        EXPECT_EQ(testing::Shown(console), Picture().Gun(shots[spawns.size() - 1].key - 6).Text());
    };
    // The beam is one dot that climbs and goes out at the top: in play,
    // besides the bars of row 7, no more than one dot is lit above the gun.
    const auto strays = [](const std::string& picture) {
        std::size_t lit = 0;
        if (!GunAt(picture, 1) && !GunAt(picture, 2) && !GunAt(picture, 3)) return lit;
        for (int row = 1; row <= 13; ++row)
            lit += row == 7 ? 0 : LitColumns(picture, row).size();
        return lit;
    };
    std::size_t fired = 0;  // the last target fired at
    player = [&] {
        const std::vector<int> bar = LitColumns(film.back().picture, 7);
        if (spawns.empty() || spawns.size() > shots.size() || fired == spawns.size() || bar.empty())
            return;
        const Shot& shot = shots[spawns.size() - 1];
        if ((shot.fromLeft ? bar.back() : bar.front()) == shot.front)
            Key(Now(), shot.key), fired = spawns.size();
    };
    At(60, [this] { slot.Remove(); });
    slot.Insert();
    for (const Frame& frame : film) {
        EXPECT_LE(strays(frame.picture), 1u) << frame.t << "\n" << frame.picture;
    }
    for (std::size_t i = 0; i < shots.size(); ++i) {
        EXPECT_EQ(hit[i], shots[i].hit)
            << "shot " << i + 1 << ": from the " << (shots[i].fromLeft ? "left" : "right")
            << ", key " << shots[i].key << " at " << shots[i].front;
    }
    // The score of the twelve hits stands after the last; the tune 40 ms later.
    const auto over = std::find_if(film.begin(), film.end(),
                                   [](const Frame& f) { return f.picture == ScorePicture(12); });
    ASSERT_NE(over, film.end());
    EXPECT_EQ(Played("zx_gameover.wav").size(), 1u);
    EXPECT_NEAR(Played("zx_gameover.wav").at(0), over->t + 0.04, 0.0015);
}

// (waiting, the clock's start)
INSTANTIATE_TEST_SUITE_P(
    Machines, PlayTest,
    ::testing::Combine(::testing::Bool(), ::testing::Values(0.0, 86390.0, 40 * 86400.0 + 86390.0)));

}  // namespace
}  // namespace lumidot
