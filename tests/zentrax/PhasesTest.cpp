// Whole sessions on the virtual clock, ended in each of their phases by a
// closed window or by a fault, run at any hour, and run a thousand times.

#include <sys/resource.h>

#include <algorithm>
#include <cstdint>

#include "zentrax/Session.h"

namespace lumidot {
namespace {

using testing::kFolder;
using testing::VirtualPlatform;

const std::string kHitSound = kFolder + "/samples/zx_hit.wav";
const std::string kTune = kFolder + "/samples/zx_gameover.wav";

// One session: "Go", ten slow bars of four, the first (on row 8 from the
// left) shot down, the others let through; then the score, the tune and the
// game-over wait, until the window closes.
struct Session {
    explicit Session(double start) : platform(start) {
        platform.SetWaiting(true);
        platform.ScriptRandom({0.25f, 0.99f});
        platform.At(start + 0.1, [this] { console.PressKey(5); });
        platform.OnEveryPump([this] {
            const bool barAt7 =
                console.Dots(7 * 16 + 7) == kTrue && console.Dots(7 * 16 + 8) != kTrue;
            if (!fired && console.KeyPressed() == 5 && barAt7) {
                fired = true;
                const double now = platform.Seconds();
                platform.At(now, [this] { console.PressKey(8); });
            }
        });
        platform.At(start + 600, [this] {
            ADD_FAILURE() << "the session outlived its script";
            slot.Close();
        });
        slot.Plug(game);
    }

    // As the window's close does.
    void CloseAt(double t) {
        platform.At(t, [this] { slot.Close(); });
    }

    void Run() { slot.Insert(); }

    double SoundAt(const std::string& path) const {
        for (const auto& played : platform.Played()) {
            if (played.path == path) {
                return played.at;
            }
        }
        return -1;
    }

    VirtualPlatform platform;
    Console console{platform};
    testing::RecordingHost host;
    Zentrax game{console, host};
    Slot slot{console};
    bool fired = false;
};

struct Phase {
    const char* name;
    double at;               // when the close or the fault comes, from the start
    std::string sound = {};  // the sound playing then, if any
    double soundEnd = 0;
};

// How long a sound lasts on the virtual machine.
constexpr double kSoundSeconds = 0.25;

// The phases of a session run once to its wait, from the clock's start.
std::vector<Phase> Phases(double start) {
    Session dry(start);
    dry.CloseAt(start + 60);
    dry.Run();
    const double hit = dry.SoundAt(kHitSound) - start;
    const double tune = dry.SoundAt(kTune) - start;
    EXPECT_GT(hit, 0);
    EXPECT_GT(tune, hit);
    return {{"menu", 0.05},
            {"play", 0.3},
            {"hit sound", hit + 0.1, kHitSound, hit + kSoundSeconds},
            {"play after the hit", hit + 1.0},
            {"closing tune", tune + 0.1, kTune, tune + kSoundSeconds},
            {"game-over wait", tune + 3.0}};
}

TEST(PhasesTest, AClosedWindowEndsEveryPhaseAtItsNextLook) {
    for (const Phase& phase : Phases(0)) {
        SCOPED_TRACE(phase.name);
        Session session(0);
        session.CloseAt(phase.at);
        session.Run();
        // A sound plays to its end; then the first pump sees the close.
        EXPECT_NEAR(session.platform.Seconds(), std::max(phase.at, phase.soundEnd), 0.0025);
        EXPECT_EQ(session.host.calls.back(), "key 12 hidden") << "no report";
        for (const auto& played : session.platform.Played()) {
            EXPECT_LT(played.at, phase.at) << "a sound after the close";
        }
    }
}

TEST(PhasesTest, AFaultInEveryPhaseIsReportedAndNothingAfterItRuns) {
    for (const Phase& phase : Phases(0)) {
        SCOPED_TRACE(phase.name);
        Session session(0);
        long pumpsAtFault = -1;
        std::string displayAtFault;
        const auto fault = [&] {
            pumpsAtFault = session.platform.Pumps();
            displayAtFault = testing::DotPicture(session.console);
            throw RuntimeError(kErrOutOfMemory, "injected");
        };
        if (!phase.sound.empty()) {
            // The sound itself fails.
            session.platform.OnSound([&](const std::string& path) {
                if (path == phase.sound) {
                    fault();
                }
            });
        } else {
            session.platform.At(phase.at, fault);
        }
        session.Run();
        ASSERT_GE(pumpsAtFault, 0);
        const std::vector<std::string>& calls = session.host.calls;
        ASSERT_GE(calls.size(), 2u);
        EXPECT_EQ(calls[calls.size() - 2],
                  "box \"Whoops...\": Error in Zentrax_Init(), cannot continue. Error number: 7");
        EXPECT_EQ(calls.back(), "close window");
        EXPECT_EQ(session.platform.Pumps(), pumpsAtFault) << "a pump after the fault";
        EXPECT_EQ(testing::DotPicture(session.console), displayAtFault);
    }
}

// The clock the game reads is monotonic: a session that runs across
// midnight, or after forty days, keeps every interval.
TEST(PhasesTest, ASessionRunsTheSameAtAnyHour) {
    // When the hit sound and the tune start, and when the close ends the
    // session, counted from its start.
    const auto offsets = [](double start) {
        Session session(start);
        session.CloseAt(start + 60);
        session.Run();
        std::vector<double> times;
        for (const auto& played : session.platform.Played()) {
            times.push_back(played.at - start);
        }
        times.push_back(session.platform.Seconds() - start);
        return times;
    };
    const std::vector<double> fromZero = offsets(0);
    ASSERT_EQ(fromZero.size(), 3u);
    for (const double start : {86390.0, 40 * 86400.0 + 86390.0}) {
        SCOPED_TRACE(start);
        const std::vector<double> later = offsets(start);
        ASSERT_EQ(later.size(), fromZero.size());
        for (std::size_t i = 0; i < later.size(); ++i) {
            EXPECT_NEAR(later[i], fromZero[i], 1e-4) << i;
        }
    }
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A thousand games, each started with "Go" from the last one's wait: every
// wait runs at the same stack depth, and memory stays where it was after
// the first hundred.
TEST(PhasesTest, AThousandGamesInARowKeepTheStackAndMemoryFlat) {
    VirtualPlatform platform;
    platform.SetWaiting(true);
    Console console{platform};
    testing::RecordingHost host;
    Zentrax game{console, host};
    Slot slot{console};
    slot.Plug(game);
    platform.At(0.1, [&] { console.PressKey(5); });
    std::size_t games = 0;
    std::uintptr_t firstWait = 0;
    long peakAfterHundred = 0;
    platform.OnEveryPump([&] {
        if (platform.Played().size() == games) {
            return;
        }
        games = platform.Played().size();
        const char marker = 0;
        const auto here = reinterpret_cast<std::uintptr_t>(&marker);
        firstWait = firstWait == 0 ? here : firstWait;
        EXPECT_EQ(here, firstWait) << "game " << games;
        EXPECT_EQ(platform.Depth(), 1) << "game " << games;
        peakAfterHundred = games == 100 ? PeakKilobytes() : peakAfterHundred;
        // "Go" in the wait starts a new game, "Go" in its menu plays it;
        // after the thousandth the cartridge comes out.
        const double now = platform.Seconds();
        if (games == 1000) {
            platform.At(now + 0.1, [&slot] { slot.Remove(); });
            return;
        }
        platform.At(now + 0.1, [&console] { console.PressKey(5); });
        platform.At(now + 0.2, [&console] { console.PressKey(5); });
    });
    slot.Insert();
    EXPECT_EQ(games, 1000u);
    EXPECT_EQ(host.calls.size(), 1000 * testing::kDressing.size());
#if !defined(__SANITIZE_ADDRESS__)
    // (AddressSanitizer keeps freed memory aside, so its peak grows anyway;
    // its leak check covers this run.)
    EXPECT_LT(PeakKilobytes() - peakAfterHundred, 2048);
#endif
}

}  // namespace
}  // namespace lumidot
