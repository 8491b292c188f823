// One session, ended in each of its phases by a closed window, a removed
// cartridge or a fault: "Go", ten slow bars of three on row 7 from the
// left, the last one shot down; the score, the tune and the wait.

#include <cmath>
#include <new>
#include <stdexcept>

#include "zentrax/Game.h"

namespace lumidot {
namespace {

struct Session : testing::GameTest {
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
    using GameTest::At, GameTest::console, GameTest::host, GameTest::Now, GameTest::platform,
        GameTest::Played, GameTest::slot;
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

TEST(PhasesTest, ACloseOrARemovalEndsEveryPhaseAtItsNextLookWithTheDisplayBlank) {
    for (const Phase& phase : Phases()) {
        for (const bool close : {true, false}) {
            SCOPED_TRACE(std::string(phase.name) + (close ? ", closed" : ", out"));
            Session session;
            session.At(phase.at, [&] { close ? session.slot.Close() : session.slot.Remove(); });
            session.slot.Insert();
            EXPECT_NEAR(session.Now(), phase.endsAt, 0.0025);
            EXPECT_EQ(session.platform.played.size(), phase.sounds);
            EXPECT_EQ(testing::Shown(session.console), testing::Picture().Text());
            EXPECT_EQ(session.host.report, "");
        }
    }
}

// Out of memory is 7; anything else failing inside the program 51; a draw
// that puts a target off the display 9, or out of all range 6.
TEST(PhasesTest, AFaultInEveryPhaseIsReportedWithItsNumberAndNothingRunsAfterIt) {
    const std::string report = "Whoops... Error in Zentrax_Init(), cannot continue. Error number: ";
    bool outOfMemory = false;
    for (const Phase& phase : Phases()) {
        SCOPED_TRACE(phase.name);
        Session session;
        long pumps = -1;
        std::string shown;
        outOfMemory = !outOfMemory;
        const auto fault = [&] {
            pumps = session.platform.pumps;
            shown = testing::Shown(session.console);
            outOfMemory ? throw std::bad_alloc() : throw std::logic_error("a fault");
        };
        session.platform.onSound = [&](const std::string&) {
            if (phase.inSound && session.Now() > phase.at - 0.2) {
                fault();
            }
        };
        if (!phase.inSound) {
            session.At(phase.at, fault);
        }
        session.slot.Insert();
        EXPECT_EQ(session.host.report, report + (outOfMemory ? "7" : "51"));
        EXPECT_TRUE(session.host.closed);
        EXPECT_EQ(session.platform.pumps, pumps) << "a pump after the fault";
        EXPECT_EQ(testing::Shown(session.console), shown);
    }
    for (const auto& [row, number] :
         std::initializer_list<std::pair<float, int>>{{2.0f, 9}, {5000.0f, 6}, {NAN, 6}}) {
        Session session;
        session.platform.draws = {0.25f, row};
        session.slot.Insert();
        EXPECT_EQ(session.host.report, report + std::to_string(number));
        EXPECT_EQ(testing::Shown(session.console), testing::Picture().Gun(2).Text());
    }
}

}  // namespace
}  // namespace lumidot
