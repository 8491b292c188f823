// Zentrax through the slot: the menu, whole games, every phase's ending.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <new>
#include <numeric>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "cartridges/Host.h"
#include "cartridges/zentrax/Zentrax.h"
#include "console/Console.h"
#include "console/Slot.h"
#include "support/Glyphs.h"
#include "support/RecordingHost.h"
#include "support/VirtualPlatform.h"

namespace lumidot {
namespace {

using testing::Picture;
using testing::RecordingHost;
using testing::Shown;

// Zentrax in the slot of a console on the virtual clock, driven through
// what the window does: keys pressed, the cartridge in and out.
struct GameTest : ::testing::Test {
    explicit GameTest(double start = 0.0) : platform(start), start_(start) {
        slot.Plug(game);
        At(900.0, [this] {
            ADD_FAILURE() << "the game outlived its script";
            slot.Close();
        });
    }

    // Times count from the start of the virtual clock.
    double Now() { return platform.Seconds() - start_; }
    void At(double t, std::function<void()> action) { platform.At(start_ + t, std::move(action)); }
    void Key(double t, std::int16_t key) {
        At(t, [this, key] { console.PressKey(key); });
    }
    std::vector<double> Played(const std::string& name) const {
        std::vector<double> times;
        for (const auto& [path, at] : platform.played) {
            if (path == platform.folder + "/samples/" + name) times.push_back(at - start_);
        }
        return times;
    }

    testing::VirtualPlatform platform;
    Console console{platform};
    RecordingHost host;
    Zentrax game{console, host};
    Slot slot{console};

  private:
    double start_;
};

using MenuTest = GameTest;

TEST_F(MenuTest, EachKeyStepsItsSettingRoundAndRemovalEndsTheGameBlank) {
    std::vector<std::string> readings;
    const auto readAt = [&](double t) {
        At(t, [&] { readings.push_back(Shown(console) + std::to_string(console.KeyPressed())); });
    };
    console.PressKey(5);  // pressed with the slot empty: forgotten
    readAt(0.005);
    // Each key, and the menu and the latch after it.
    // clang-format off
    const std::vector<std::pair<std::int16_t, std::string>> script = {
        {1, "3S10"}, {1, "2S10"}, {1, "1S10"}, {1, "CS10"}, {1, "4S10"}, {2, "4F10"}, {2, "4C10"},
        {2, "4S10"}, {3, "4S20"}, {3, "4S30"}, {3, "4S40"}, {3, "4S50"}, {3, "4S60"}, {3, "4S70"},
        {3, "4S80"}, {3, "4S90"}, {3, "4S10"}, {7, "4S17"}, {4, "4S14"}, {12, "4S112"}, {2, "4F10"}};
    // clang-format on
    // The menu "4S1" and the key "0" as the display and the latch show them.
    const auto shown = [](const std::string& menu) {
        return testing::MenuPicture(menu.substr(0, 3)) + menu.substr(3);
    };
    std::vector<std::string> expected = {shown("4S10")};
    double t = 0.010;
    for (const auto& [key, menu] : script) {
        Key(t, key);
        readAt(t + 0.005);
        expected.push_back(shown(menu));
        t += 0.010;
    }
    // Two presses within one pump: the latch holds one key.
    At(t, [this] {
        console.PressKey(1);
        console.PressKey(1);
    });
    readAt(t + 0.005);
    expected.push_back(shown("3F10"));
    At(t + 0.010, [this] { slot.Remove(); });
    slot.Insert();
    EXPECT_EQ(readings, expected);
    EXPECT_NEAR(Now(), t + 0.010, 0.0015) << "the game ends at its first look";
    EXPECT_EQ(Shown(console), testing::Picture().Text());
    const std::string buttons = platform.folder + "/buttons/zx_kp_0";
    EXPECT_EQ(host.Keypad(), "Size Speed Targets - Go - " + buttons + "7.gif=Fire left " + buttons +
                                 "8.gif=Fire up " + buttons + "9.gif=Fire right - - - ");
    EXPECT_EQ(host.overlay, platform.folder + "/overlays/Zentrax.gif");
}

// One session ended in each phase by a close, a removal or a fault: "Go", ten
// slow bars of three on row 7 from the left, the last shot down; score, tune.
struct Session : GameTest {
    Session() {
        platform.waiting = true;
        for (int i = 0; i < 10; ++i) {
            platform.draws.insert(platform.draws.end(), {0.25f, 0.8125f});
        }
        Key(0.1, 5);
        // A bar of row 7 whose front stands at 6 is hit from the middle; the
        // key comes as a click does, an event that wakes a waiting game.
        platform.onPump = [this] {
            if (fired == 0 && platform.drawsTaken == 20 && console.Dots(6 * 16 + 6) == kTrue &&
                console.Dots(6 * 16 + 7) != kTrue && console.Dots(6 * 16 + 4) == kTrue) {
                Key(fired = Now(), 8);
            }
        };
    }
    void TestBody() override {}
    double fired = 0;
};

struct Phase {
    const char* name;
    double at;           // when the ending comes
    double endsAt;       // when the game has returned
    std::size_t sounds;  // how many sounds started by then
    bool inSound;        // a fault then is the sound's own
};

std::vector<Phase> Phases() {
    Session dry;
    dry.At(60, [&] { dry.slot.Remove(); });
    dry.slot.Insert();
    const double hit = dry.Played("zx_hit.wav").at(0), tune = dry.Played("zx_gameover.wav").at(0);
    // Six beam steps to the row below the bar, the look's pause, the hit's.
    EXPECT_NEAR(hit, dry.fired + 6 * 0.04 + 0.04 + 0.04, 0.01);
    EXPECT_NEAR(tune, hit + 0.25 + 0.04, 0.002) << "the last hit goes straight to the score";
    return {{"menu", 0.05, 0.05, 0, false},
            {"play", 0.5, 0.5, 0, false},
            {"the last hit's pause", hit - 0.02, hit + 0.25, 1, false},
            // Seen in the pause before the tune, after the score is drawn.
            {"the hit sound", hit + 0.1, tune, 1, true},
            {"the pause before the tune", tune - 0.02, tune, 1, false},
            {"the tune", tune + 0.1, tune + 0.25, 2, true},
            {"the wait", tune + 3, tune + 3, 2, false}};
}

// A close or a removal ends every phase at the game's next look, with the
// display blank. A fault is reported with its number, out of memory 7 and
// anything else 51, and nothing runs after it.
TEST(PhasesTest, EveryPhaseEndsAtOnceOnACloseARemovalOrAFault) {
    const std::string report = "Whoops... Error in Zentrax_Init(), cannot continue. Error number: ";
    for (const Phase& phase : Phases()) {
        for (const int ending : {0, 1, 2, 3}) {  // close, removal, out of memory, another fault
            SCOPED_TRACE(std::string(phase.name) + " " + std::to_string(ending));
            Session session;
            long pumps = -1;
            std::string shown;
            const auto end = [&] {
                if (ending == 0) return session.slot.Close();
                if (ending == 1) return session.slot.Remove();
                pumps = session.platform.pumps;
                shown = testing::Shown(session.console);
                ending == 2 ? throw std::bad_alloc() : throw std::logic_error("a fault");
            };
            session.platform.onSound = [&](const std::string&) {
                if (ending >= 2 && phase.inSound && session.Now() > phase.at - 0.2) end();
            };
            if (ending < 2 || !phase.inSound) session.At(phase.at, end);
            session.slot.Insert();
            if (ending < 2) {
                EXPECT_NEAR(session.Now(), phase.endsAt, 0.0025);
                EXPECT_EQ(session.platform.played.size(), phase.sounds);
                EXPECT_EQ(testing::Shown(session.console), testing::Picture().Text());
                EXPECT_EQ(session.host.report, "");
            } else {
                EXPECT_EQ(session.host.report, report + (ending == 2 ? "7" : "51"));
                EXPECT_TRUE(session.host.closed);
                EXPECT_EQ(session.platform.pumps, pumps) << "a pump after the fault";
                EXPECT_EQ(testing::Shown(session.console), shown);
            }
        }
    }
}

// Whole games on the virtual clock, the draws scripted, a player reacting to
// the display and every change of it filmed; on a machine that spins and on
// one that sleeps in its waits, from 0, just before midnight and forty days on.

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

class PlayTest : public GameTest, public ::testing::WithParamInterface<std::tuple<bool, double>> {
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
        if (over == 0 && film.back().picture == testing::ScorePicture(0)) {
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

// Bars of three on row 7, fired at when their front reaches a column. The beam
// reaches row 8 six steps after the shot, the bar two: from the middle a bar
// moving right is hit if its front stood at 5 to 7, moving left at 9 to 11;
// corner beams drift a column a step, shifting the spans by two. Each span's
// ends and both its neighbours:
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
    const auto over = std::find_if(film.begin(), film.end(), [](const Frame& f) {
        return f.picture == testing::ScorePicture(12);
    });
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
