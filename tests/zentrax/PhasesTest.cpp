// One session, ended in each of its phases by a closed window, a removed
// cartridge or a fault: "Go", ten slow bars of three on row 7 from the
// left, the last one shot down; the score, the tune and the wait.

#include <cmath>
#include <new>
#include <stdexcept>

#include "zentrax/Game.h"

namespace lumidot {
namespace {

class Session : public testing::GameTest {
  public:
    using GameTest::At;
    using GameTest::console;
    using GameTest::host;
    using GameTest::Now;
    using GameTest::platform;
    using GameTest::Played;
    using GameTest::Remove;
    using GameTest::slot;

    Session() {
        platform.waiting = true;
        for (int i = 0; i < 10; ++i) {
            platform.draws.insert(platform.draws.end(), {0.25f, 0.8125f});
        }
        Key(0.1, 5);
        platform.onPump = [this] {
            const std::vector<int> row7 = RowSeven();
            if (!fired && platform.drawsTaken == 20 && !row7.empty() && row7.back() == 6) {
                fired = true;
                console.PressKey(8);
            }
        };
    }
    void TestBody() override {}

    std::vector<int> RowSeven() const {
        std::vector<int> lit;
        for (int column = 1; column <= 16; ++column) {
            if (console.Dots(6 * 16 + column) == kTrue) {
                lit.push_back(column);
            }
        }
        return lit;
    }

    bool fired = false;
};

enum class Ending { kClose, kRemove, kFault };

struct Phase {
    const char* name;
    double at;           // when the ending comes
    double endsAt;       // when the game must have returned
    std::size_t sounds;  // how many sounds have started by then
    bool inSound;        // the ending comes with a sound: a fault is the sound's own
};

std::vector<Phase> Phases() {
    Session dry;
    dry.Remove(60);
    dry.slot.Insert();
    const double hit = dry.Played("zx_hit.wav").at(0);
    const double tune = dry.Played("zx_gameover.wav").at(0);
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

TEST(PhasesTest, ACloseOrARemovalEndsEveryPhaseAtItsNextLookAndLeavesTheDisplayBlank) {
    for (const Phase& phase : Phases()) {
        for (const Ending ending : {Ending::kClose, Ending::kRemove}) {
            SCOPED_TRACE(std::string(phase.name) +
                         (ending == Ending::kClose ? ", closed" : ", out"));
            Session session;
            session.At(phase.at, [&] {
                ending == Ending::kClose ? session.slot.Close() : session.slot.Remove();
            });
            session.slot.Insert();
            EXPECT_NEAR(session.Now(), phase.endsAt, 0.0025);
            EXPECT_EQ(session.platform.played.size(), phase.sounds);
            EXPECT_EQ(testing::Shown(session.console), testing::Picture().Text());
            EXPECT_EQ(session.host.report, "");
        }
    }
}

// Out of memory is 7; anything else that fails inside the program, 51.
TEST(PhasesTest, AFaultInEveryPhaseIsReportedWithItsNumberAndNothingRunsAfterIt) {
    bool outOfMemory = false;
    for (const Phase& phase : Phases()) {
        SCOPED_TRACE(phase.name);
        outOfMemory = !outOfMemory;
        Session session;
        long pumpsAtFault = -1;
        std::string shownAtFault;
        const auto fault = [&] {
            pumpsAtFault = session.platform.pumps;
            shownAtFault = testing::Shown(session.console);
            if (outOfMemory) {
                throw std::bad_alloc();
            }
            throw std::logic_error("a fault");
        };
        if (phase.inSound) {
            session.platform.onSound = [&](const std::string&) {
                if (session.Now() > phase.at - 0.2) {
                    fault();
                }
            };
        } else {
            session.At(phase.at, fault);
        }
        session.slot.Insert();
        ASSERT_GE(pumpsAtFault, 0);
        EXPECT_EQ(session.host.report,
                  "Whoops... Error in Zentrax_Init(), cannot continue. Error number: " +
                      std::string(outOfMemory ? "7" : "51"));
        EXPECT_TRUE(session.host.closed);
        EXPECT_EQ(session.platform.pumps, pumpsAtFault) << "a pump after the fault";
        EXPECT_EQ(testing::Shown(session.console), shownAtFault);
    }
}

// A random source gone wrong puts the first target on a row that does not
// exist, or on none at all.
TEST(PhasesTest, ADrawOffTheDisplayIsAFaultOfItsOwn) {
    const std::pair<float, int> cases[] = {{2.0f, 9}, {5000.0f, 6}, {NAN, 6}};
    for (const auto& [row, number] : cases) {
        Session session;
        session.platform.draws = {0.25f, row};
        session.slot.Insert();
        EXPECT_EQ(session.host.report,
                  "Whoops... Error in Zentrax_Init(), cannot continue. Error number: " +
                      std::to_string(number));
        EXPECT_EQ(testing::Shown(session.console), testing::Picture().Gun(2).Text());
    }
}

}  // namespace
}  // namespace lumidot
