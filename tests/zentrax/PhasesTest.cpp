// One session, ended in each of its phases by a closed window, a removed
// cartridge or a fault: "Go", ten slow bars of three on row 7 from the
// left, the last one shot down; the score, the tune and the wait.

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

}  // namespace
}  // namespace lumidot
