// Whole games on the virtual clock: the menu is keyed in, the random draws
// are scripted, a player reacts to what the display shows, and every change
// of the display is filmed for the checks afterwards.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <set>

#include "zentrax/Session.h"

namespace lumidot {
namespace {

using testing::DotPicture;
using testing::kDressing;
using testing::kFolder;
using testing::Picture;
using testing::ScorePicture;
using testing::ZentraxTest;

struct Cell {
    int column;
    int row;
    bool operator==(const Cell& other) const { return column == other.column && row == other.row; }
};

struct Frame {
    double t;
    std::string picture;
};

bool IsLit(const std::string& picture, int column, int row) {
    return picture[static_cast<std::size_t>((row - 1) * 17 + column - 1)] == '#';
}

std::vector<int> LitColumns(const std::string& picture, int row) {
    std::vector<int> columns;
    for (int column = 1; column <= 16; ++column) {
        if (IsLit(picture, column, row)) {
            columns.push_back(column);
        }
    }
    return columns;
}

// The lit dots above the gun, leaving out `row` between the columns `from`
// and `to`, where a target is known to be.
std::vector<Cell> LitAbove(const std::string& picture, int row = 0, int from = 1, int to = 16) {
    std::vector<Cell> cells;
    for (int y = 1; y <= 13; ++y) {
        for (int x = 1; x <= 16; ++x) {
            if (IsLit(picture, x, y) && !(y == row && x >= from && x <= to)) {
                cells.push_back({x, y});
            }
        }
    }
    return cells;
}

// The gun position that rows 14 to 16 show; 0 for anything else.
int GunIn(const std::string& picture) {
    for (int position = 1; position <= 3; ++position) {
        if (picture.substr(13 * 17) == Picture().Gun(position).Text().substr(13 * 17)) {
            return position;
        }
    }
    return 0;
}

// Each game is played twice: on a machine whose loops spin, pumping a
// millisecond at a time, and on one that sleeps in its waits until an event
// comes or a step is due. The game must look and sound the same on both.
class PlayTest : public ZentraxTest, public ::testing::WithParamInterface<bool> {
  protected:
    PlayTest() {
        platform.SetWaiting(GetParam());
        platform.OnEveryPump([this] {
            std::string picture = DotPicture(console);
            if (film.empty() || film.back().picture != picture) {
                film.push_back({platform.Seconds(), std::move(picture)});
            }
            if (platform.DrawsTaken() >= drawsPerSpawn * (spawns.size() + 1)) {
                spawns.push_back(platform.Seconds());
            }
            if (player) {
                player();
            }
        });
    }

    // Waiting, a game pumps for its steps and its events only: a couple
    // of pumps per step, not one per millisecond.
    void TearDown() override {
        if (GetParam() && platform.Seconds() > 1.0) {
            EXPECT_LT(static_cast<double>(platform.Pumps()), 100.0 * platform.Seconds());
        }
    }

    // Keys in the settings, then "Go" at 0.1 s.
    void Menu(const std::vector<std::int16_t>& keys) {
        double t = 0.01;
        for (const std::int16_t key : keys) {
            Click(t, key);
            t += 0.005;
        }
        Click(0.1, 5);
    }

    // The frames from t on, up to but not including `until`.
    std::vector<Frame> Between(double t, double until) const {
        std::vector<Frame> frames;
        for (const Frame& frame : film) {
            if (frame.t >= t && frame.t < until) {
                frames.push_back(frame);
            }
        }
        return frames;
    }

    std::vector<double> Played(const std::string& sound) const {
        std::vector<double> times;
        for (const auto& played : platform.Played()) {
            if (played.path == kFolder + "/samples/" + sound) {
                times.push_back(played.at);
            }
        }
        return times;
    }

    std::size_t drawsPerSpawn = 2;
    std::vector<Frame> film;
    // The first pump after each spawn.
    std::vector<double> spawns;
    std::function<void()> player;
};

TEST_P(PlayTest, TenTargetsCrossUnhitAndTheGameEndsWithAScoreOfNothing) {
    Menu({1, 1, 1, 1, 2, 2});  // size and speed random, one round of ten targets
    drawsPerSpawn = 4;
    const float kLast = 0.99999994f;  // the largest draw below 1
    struct Target {
        float length, interval, side, row;
        int expectedLength;
        double expectedInterval;
        bool fromLeft;
        int expectedRow;
    };
    const std::vector<Target> targets = {
        {kLast, 0.0f, 0.0f, 0.0f, 4, 0.1, true, 1},
        {0.0f, 0.5f, 0.5f, kLast, 1, 0.05, false, 8},
        {0.0f, 0.49999997f, 0.75f, 0.875f, 1, 0.1, false, 8},
        {0.25f, 0.9f, 0.1f, 0.5f, 2, 0.05, true, 5},
        {kLast, 0.0f, kLast, kLast, 4, 0.1, false, 8},
        {0.0f, 0.0f, 0.0f, 0.125f, 1, 0.1, true, 2},
        {0.3f, 0.7f, 0.8f, 0.75f, 2, 0.05, false, 7},
        {0.6f, 0.2f, 0.3f, 0.65f, 3, 0.1, true, 6},
        {0.8f, 0.6f, 0.2f, 0.4f, 4, 0.05, true, 4},
        {0.1f, 0.95f, 0.6f, 0.0f, 1, 0.05, false, 1},
    };
    std::vector<float> draws;
    for (const Target& target : targets) {
        draws.insert(draws.end(), {target.length, target.interval, target.side, target.row});
    }
    platform.ScriptRandom(draws);

    // Target 3: a shot from the right, a key while its beam flies and one
    // after it has gone. Target 4: a shot so late that the next target
    // spawns under the flying beam. Target 5: the new shot that brings.
    const std::map<std::size_t, std::vector<std::pair<double, std::int16_t>>> shots = {
        {3, {{0.01, 9}, {0.2, 7}, {0.7, 8}}},
        {4, {{0.85, 7}}},
        {5, {{0.01, 8}}},
    };
    std::size_t seen = 0;
    double gameOver = 0;
    player = [&] {
        if (spawns.size() > seen) {
            seen = spawns.size();
            const auto planned = shots.find(seen);
            if (planned != shots.end()) {
                for (const auto& [after, key] : planned->second) {
                    Click(spawns.back() + after, key);
                }
            }
        }
        if (gameOver == 0 && film.back().picture == ScorePicture(0)) {
            gameOver = platform.Seconds();
            Click(gameOver + 0.5, 4);
            platform.At(gameOver + 0.6, [this] { EXPECT_EQ(console.KeyPressed(), 4); });
            Click(gameOver + 1.0, 5);
            ReadAt(gameOver + 1.1);
            Remove(gameOver + 1.5);
        }
    };

    Insert();

    ASSERT_EQ(spawns.size(), 10u) << "ten targets and no more";
    spawns.push_back(gameOver);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const Target& target = targets[i];
        SCOPED_TRACE("target " + std::to_string(i + 1));
        const int row = target.expectedRow;
        const int length = target.expectedLength;
        // It enters whole at its edge...
        const std::vector<Frame> life = Between(spawns[i], spawns[i + 1]);
        ASSERT_FALSE(life.empty());
        std::vector<int> entered;
        for (int n = 0; n < length; ++n) {
            entered.push_back(target.fromLeft ? 1 + n : 16 - n);
        }
        std::sort(entered.begin(), entered.end());
        EXPECT_EQ(LitColumns(life.front().picture, row), entered);
        // ...and takes 19 steps to be gone; the next target (or the end)
        // comes on the turn after, the turns passing a millisecond each.
        // Targets 3 and 5 are held up by the hit test.
        const double lifetime = spawns[i + 1] - spawns[i];
        if (i != 2 && i != 4) {
            EXPECT_GE(lifetime, 19 * target.expectedInterval);
            EXPECT_LE(lifetime, 19 * target.expectedInterval + 0.025);
        }
    }

    // The first target's every position: sixteen moves until it has gone.
    std::vector<std::vector<int>> positions;
    for (const Frame& frame : Between(spawns[0], spawns[1])) {
        const std::vector<int> bar = LitColumns(frame.picture, 1);
        if (positions.empty() || positions.back() != bar) {
            positions.push_back(bar);
        }
    }
    std::vector<std::vector<int>> crossing;
    for (int head = 4; head <= 20; ++head) {
        std::vector<int> bar;
        for (int column = std::max(1, head - 3); column <= std::min(16, head); ++column) {
            bar.push_back(column);
        }
        crossing.push_back(bar);
    }
    EXPECT_EQ(positions, crossing);

    // Target 3's beam climbs from the gun on the right to the top left
    // corner, one dot at a time, and a 14th step puts out the last. Neither
    // key 7 in flight nor key 8 after it fires again or moves the gun.
    std::vector<std::vector<Cell>> beam;
    double lastChange = 0;
    for (const Frame& frame : Between(spawns[2], spawns[2] + 0.8)) {
        std::vector<Cell> cells = LitAbove(frame.picture, 8, 9, 16);
        if (beam.empty() || beam.back() != cells) {
            beam.push_back(cells);
            lastChange = frame.t;
        }
        EXPECT_EQ(GunIn(frame.picture), frame.t < spawns[2] + 0.01 ? 2 : 3) << frame.t;
    }
    std::vector<std::vector<Cell>> diagonal = {{}};
    for (int k = 13; k >= 1; --k) {
        diagonal.push_back({{k, k}});
    }
    diagonal.push_back({});
    EXPECT_EQ(beam, diagonal);
    const double shot = spawns[2] + 0.01;
    EXPECT_GE(lastChange - shot, 14 * 0.04) << "fourteen beam steps";
    EXPECT_LE(lastChange - shot, 14 * 0.04 + 0.04 + 0.02) << "one of them held up 40 ms";

    // Target 5 spawns under target 4's beam: the display is cleared to the
    // gun, where it stood, and the new bar; the next key 8 fires again.
    const std::vector<Frame> fifth = Between(spawns[4], spawns[5]);
    EXPECT_EQ(fifth.front().picture, Picture().Gun(1).Dots(8, {13, 14, 15, 16}).Text());
    const auto beamAgain = std::find_if(fifth.begin(), fifth.end(), [](const Frame& frame) {
        return !LitAbove(frame.picture, 8, 12, 16).empty();
    });
    ASSERT_NE(beamAgain, fifth.end());
    EXPECT_EQ(LitAbove(beamAgain->picture, 8, 12, 16), (std::vector<Cell>{{8, 13}}));
    EXPECT_EQ(GunIn(beamAgain->picture), 2);

    // Game over: the score, the tune 40 ms later, then "Go" starts afresh.
    EXPECT_TRUE(Played("zx_hit.wav").empty());
    ASSERT_EQ(Played("zx_gameover.wav").size(), 1u);
    EXPECT_NEAR(Played("zx_gameover.wav")[0], gameOver + 0.04, 0.0015);
    EXPECT_EQ(readings, std::vector<std::string>{"4S1 0"});
    EXPECT_NEAR(platform.Seconds(), gameOver + 1.5, 0.0015);
}

// The moments of truth in a film: the display just before each hit test,
// when the beam's next cell is on the target's row. What a player sees
// there decides the shot: the bar's next span against the beam's next cell.
struct HitTest {
    double t;
    int direction;   // 1 moving right, 2 moving left
    int offset;      // the beam's next column less the bar's next leading column
    bool predicted;  // the next cell within the bar's next span
};

std::vector<HitTest> HitTests(const std::vector<Frame>& film, int row, int length, int direction) {
    std::vector<HitTest> tests;
    for (std::size_t i = 0; i + 1 < film.size(); ++i) {
        const std::vector<Cell> beam = LitAbove(film[i].picture, row);
        const std::vector<int> bar = LitColumns(film[i].picture, row);
        if (beam.size() != 1 || beam[0].row != row + 1 ||
            LitAbove(film[i + 1].picture, row) == beam || static_cast<int>(bar.size()) != length ||
            bar.back() - bar.front() + 1 != length) {
            continue;
        }
        const int gun = GunIn(film[i].picture);
        const int next = beam[0].column + (gun == 1 ? 1 : gun == 3 ? -1 : 0);
        const int head = direction == 1 ? bar.back() + 1 : bar.front() - 1;
        const int offset = next - head;
        const bool hit =
            direction == 1 ? -length < offset && offset <= 0 : 0 <= offset && offset < length;
        tests.push_back({film[i].t, direction, offset, hit});
    }
    return tests;
}

TEST_P(PlayTest, AShotHitsWhenTheBeamsNextCellIsWhereTheBarGoesNext) {
    Menu({1, 3});  // bars of three dots, twenty of them, slowly
    struct Target {
        bool fromLeft;
        int row;
        std::int16_t key;
        int fireAt;  // the bar's leading column when the key is pressed
    };
    // clang-format off
    const std::vector<Target> targets = {
        {true, 6, 8, 5}, {false, 5, 8, 13}, {true, 4, 8, 3}, {false, 7, 8, 11},
        {true, 8, 8, 7}, {false, 1, 8, 12}, {true, 8, 8, 4}, {false, 3, 8, 10},
        {true, 2, 8, 6}, {false, 3, 8, 9}, {true, 4, 8, 8}, {false, 3, 8, 11},
        {true, 5, 9, 3}, {false, 6, 7, 14}, {true, 7, 7, 5}, {false, 2, 9, 12},
        {true, 3, 9, 4}, {false, 4, 7, 14}, {true, 1, 8, 6}, {true, 6, 8, 5},
    };
    // clang-format on
    std::vector<float> draws;
    for (const Target& target : targets) {
        draws.push_back(target.fromLeft ? 0.25f : 0.75f);
        draws.push_back((static_cast<float>(target.row) - 0.5f) / 8);
    }
    platform.ScriptRandom(draws);
    bool fired = false;
    double gameOver = 0;
    player = [&] {
        if (spawns.empty() || spawns.size() > targets.size() || gameOver > 0) {
            return;
        }
        if (platform.Seconds() == spawns.back()) {
            fired = false;
        }
        const Target& target = targets[spawns.size() - 1];
        const std::vector<int> bar = LitColumns(film.back().picture, target.row);
        if (!fired && !bar.empty() &&
            (target.fromLeft ? bar.back() : bar.front()) == target.fireAt) {
            Click(platform.Seconds(), target.key);
            fired = true;
        }
        if (GunIn(film.back().picture) == 0 && spawns.size() == targets.size()) {
            gameOver = platform.Seconds();
            Remove(gameOver + 1);
        }
    };

    Insert();

    ASSERT_GT(gameOver, 0) << "the game did not end";
    EXPECT_EQ(platform.DrawsTaken(), 2 * targets.size()) << "no target after the last";
    spawns.push_back(gameOver);
    // The bar and the beam on the display at each look decide every shot:
    // a hit is heard 40 ms after the look (the look's pause), 40 ms later.
    std::set<std::pair<int, int>> offsets;
    std::vector<double> heard;
    std::size_t looks = 0;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        for (const HitTest& test : HitTests(Between(spawns[i], spawns[i + 1]), targets[i].row, 3,
                                            targets[i].fromLeft ? 1 : 2)) {
            ++looks;
            offsets.insert({test.direction, test.offset});
            if (test.predicted) {
                heard.push_back(test.t + 0.08);
            }
        }
    }
    EXPECT_EQ(looks, targets.size()) << "one look as each beam crosses its bar's row";
    const std::vector<double> hits = Played("zx_hit.wav");
    ASSERT_EQ(hits.size(), heard.size());
    for (std::size_t n = 0; n < hits.size(); ++n) {
        EXPECT_NEAR(hits[n], heard[n], 0.002) << "hit " << n + 1;
    }
    // Both ends of each span were hit, and the cells just outside missed,
    // the one just behind a bar moving right while the bar still covered it.
    for (const std::pair<int, int>& edge :
         {std::pair{1, -3}, {1, -2}, {1, 0}, {1, 1}, {2, -1}, {2, 0}, {2, 2}, {2, 3}}) {
        EXPECT_EQ(offsets.count(edge), 1u) << edge.first << " " << edge.second;
    }

    // The last target was hit: its sound, then at once the score and the
    // tune.
    EXPECT_EQ(Between(gameOver, gameOver + 0.5).front().picture,
              ScorePicture(static_cast<int>(hits.size())));
    ASSERT_EQ(Played("zx_gameover.wav").size(), 1u);
    EXPECT_NEAR(Played("zx_gameover.wav")[0], hits.back() + 0.25 + 0.04, 0.002);
}

TEST_P(PlayTest, GamesFollowOneAnotherWithoutNestingAndEndWithTheCartridge) {
    // Three quick games in a row with "Go", the third ended in its wait.
    std::vector<std::uintptr_t> waitedAt;
    double removal = 0;
    player = [&] {
        const std::string& shown = film.back().picture;
        if (shown != ScorePicture(0) || film.back().t != platform.Seconds()) {
            return;
        }
        const char marker = 0;
        waitedAt.push_back(reinterpret_cast<std::uintptr_t>(&marker));
        const double t = platform.Seconds();
        if (waitedAt.size() < 3) {
            Click(t + 0.5, 5);
            Click(t + 0.6, 2);
            Click(t + 0.7, 5);
        } else {
            removal = t + 0.5;
            Remove(removal);
        }
    };
    Menu({2});
    Insert();
    ASSERT_EQ(waitedAt.size(), 3u);
    EXPECT_EQ(waitedAt[1], waitedAt[0]) << "a new game runs at the same depth as the last";
    EXPECT_EQ(waitedAt[2], waitedAt[0]);
    EXPECT_EQ(Played("zx_gameover.wav").size(), 3u);
    EXPECT_NEAR(platform.Seconds(), removal, 0.0015) << "removal ended the wait";
    EXPECT_EQ(host.calls.size(), 3 * kDressing.size());
}

TEST_P(PlayTest, ARemovalDuringAHitEndsPlayOnABlankDisplay) {
    // A bar coming from the left on row 8 and a shot that meets it: the
    // cartridge comes out as the beam reaches the row below the bar, so the
    // rest of that turn scores the hit and draws the gun after the removal.
    platform.ScriptRandom({0.25f, 0.99f});
    double removed = 0;
    player = [&] {
        const std::vector<int> bar = LitColumns(film.back().picture, 8);
        if (console.KeyPressed() == 5 && !bar.empty() && bar.back() == 7) {
            console.PressKey(8);
        }
        if (removed == 0 && LitAbove(film.back().picture, 8) == std::vector<Cell>{{8, 9}}) {
            removed = platform.Seconds();
            slot.Remove();
        }
    };
    Menu({});
    Insert();
    ASSERT_GT(removed, 0);
    ASSERT_EQ(Played("zx_hit.wav").size(), 1u);
    EXPECT_GT(Played("zx_hit.wav")[0], removed) << "the turn went on after the removal";
    EXPECT_NEAR(platform.Seconds(), Played("zx_hit.wav")[0] + 0.25, 0.0015);
    EXPECT_EQ(DotPicture(console), Picture().Text()) << "nothing is left of the game";
}

TEST_P(PlayTest, AFaultInPlayIsReportedWithItsNumber) {
    // A random source gone wrong puts the first target on a row that does
    // not exist, or on none at all.
    const struct {
        float row;
        int number;
    } cases[] = {{2.0f, kErrSubscriptOutOfRange}, {5000.0f, kErrOverflow}, {NAN, kErrOverflow}};
    for (const auto& c : cases) {
        host.calls.clear();
        platform.ScriptRandom({0.25f, c.row});
        Click(platform.Seconds() + 0.01, 5);
        Insert();
        ASSERT_EQ(host.calls.size(), kDressing.size() + 2);
        EXPECT_EQ(host.calls[kDressing.size()],
                  "box \"Whoops...\": Error in Zentrax_Init(), cannot continue. Error number: " +
                      std::to_string(c.number));
        EXPECT_EQ(host.calls.back(), "close window");
        EXPECT_EQ(DotPicture(console), Picture().Gun(2).Text()) << "as the fault left it";
        slot.Remove();
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, PlayTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& machine) {
                             return machine.param ? "Waiting" : "Spinning";
                         });

}  // namespace
}  // namespace lumidot
