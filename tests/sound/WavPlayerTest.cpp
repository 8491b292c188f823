#include "sound/WavPlayer.h"

#include "HostileFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace lumidot {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const std::string kHit = LUMIDOT_SAMPLES "/zx_hit.wav";  // 0.25 s of mono at 22.05 kHz

// SDL's disk driver writes what it plays to a file, in real time.
class WavPlayerTest : public ::testing::Test {
  protected:
    WavPlayerTest() {
        fs::create_directories(folder);
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", (folder / "device.raw").c_str(), 1);
    }
    ~WavPlayerTest() override { fs::remove_all(folder); }
    // Plays the file; how long the call took.
    static double Play(WavPlayer& player, const fs::path& file) {
        const auto start = Clock::now();
        player.Play(file.string());
        return std::chrono::duration<double>(Clock::now() - start).count();
    }
    // The seconds of sound (samples not silent) the device has written, once
    // it holds `expected` or at a generous deadline.
    double Heard(double expected) {
        double heard = 0;
        for (const auto end = Clock::now() + std::chrono::seconds(30);
             heard < expected - 0.01 && Clock::now() < end;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::ifstream in(folder / "device.raw", std::ios::binary);
            const std::string raw((std::istreambuf_iterator<char>(in)), {});
            std::size_t sounding = 0;
            for (std::size_t i = 0; i + 1 < raw.size(); i += 2)
                sounding += (raw[i] | raw[i + 1]) != 0;
            heard = double(sounding) / (WavPlayer::kRate * WavPlayer::kChannels);
        }
        return heard;
    }

    const fs::path folder = fs::temp_directory_path() / ("lumidot-" + std::to_string(::getpid()));
};

// Threads of SDL's audio in this process: its device's wakes even while paused.
int SdlThreads() {
    int count = 0;
    for (const auto& thread : fs::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(thread.path() / "comm"), name);
        count += name.rfind("SDL", 0) == 0;
    }
    return count;
}

TEST_F(WavPlayerTest, ASoundIsConvertedWholeAndPlaysToItsEndLeavingTheSignalsAlone) {
    std::signal(SIGTERM, SIG_DFL);
    WavPlayer player(0.1);  // released a tenth of a second after a sound
    EXPECT_GE(Play(player, kHit), 0.25 - 0.002);
    EXPECT_NEAR(Heard(0.25), 0.25, 0.02);
    struct sigaction action {};
    ::sigaction(SIGTERM, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL) << "the sound system took over the signal";
    // Once released nothing of SDL's is left to wake, and the next sound
    // opens the device again (which empties the disk driver's file).
    const auto end = Clock::now() + std::chrono::seconds(30);
    while (SdlThreads() > 0 && Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(SdlThreads(), 0);
    EXPECT_GE(Play(player, kHit), 0.25 - 0.002);
    EXPECT_NEAR(Heard(0.25), 0.25, 0.02);
}

// Sounds of 30 s, within the README's limits, in encodings whose length
// the header gives only through their arithmetic: each plays whole.
TEST_F(WavPlayerTest, ASoundJustWithinTheLimitsGivesAllItsSamples) {
    using namespace bench;
    WavFormat odd = MuLaw(4000, 1);
    odd.extra = "!";  // a format chunk of odd length, then its padding byte
    WriteWav((folder / "mu-law").string(), odd, 120000);
    WriteWav((folder / "IMA ADPCM").string(), ImaAdpcm(4000, 1, 256), 60672);  // 237 blocks
    WavFormat extensible = Pcm(4000, 1, 16);
    extensible.tag = 0xfffe;  // 16 valid bits, no channel mask, PCM's subformat GUID
    extensible.extra =
        std::string("\x10\0\0\0\0\0\x01\0\0\0\0\0\x10\0\x80\0\0\xaa\0\x38\x9b\x71", 22);
    WriteWav((folder / "extensible").string(), extensible, 240000);
    for (const char* what : {"mu-law", "IMA ADPCM", "extensible"})
        EXPECT_NEAR(WavPlayer::Seconds(WavPlayer::Load((folder / what).string())), 30, 0.1) << what;
}

// Each gives no samples, so the short default sound plays in its place;
// each long or large one is refused from its header alone, before SDL
// decodes it (the README: at most 30 seconds, 64 MB as it is converted).
TEST_F(WavPlayerTest, AFileThatCannotBePlayedGivesTheDefaultSound) {
    using namespace bench;
    const std::pair<const char*, std::function<void(const std::string&)>> cases[] = {
        {"missing", [](const std::string&) {}},
        {"1 Hz, 25 seconds", [](const std::string& f) { WriteWav(f, Pcm(1, 2, 16), 100); }},
        {"300 kHz", [](const std::string& f) { WriteWav(f, Pcm(300000, 1, 16), 6000); }},
        {"66 MB", [](const std::string& f) { WriteWav(f, Pcm(22050, 1, 16), 4410, 66'000'000); }},
        {"31 s of PCM", [](const std::string& f) { WriteWav(f, Pcm(4000, 2, 16), 496000); }},
        {"31 s of mu-law", [](const std::string& f) { WriteWav(f, MuLaw(4000, 1), 124000); }},
        // 246 blocks of 505 frames: 62 KB.
        {"31 s of IMA ADPCM",
         [](const std::string& f) { WriteWav(f, ImaAdpcm(4000, 1, 256), 62976); }},
        // 6 s in 28 MB, 37 MB as SDL widens it to 32 bits, twice that to resample.
        {"74 MB to convert",
         [](const std::string& f) { WriteWav(f, Pcm(192000, 8, 24), 27'648'000, kSparse); }}};
    for (const auto& [what, make] : cases) {
        make((folder / what).string());
        EXPECT_TRUE(WavPlayer::Load((folder / what).string()).empty()) << what;
    }
    const double chime = WavPlayer::Seconds(WavPlayer::DefaultSound());
    {
        WavPlayer player;
        EXPECT_GE(Play(player, folder / "1 Hz, 25 seconds"), chime - 0.002);
        EXPECT_NEAR(Heard(chime), chime, 0.02);
    }
    // With no audio device a sound still takes its time.
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    WavPlayer silent;
    EXPECT_GE(Play(silent, kHit), 0.25 - 0.002);
    EXPECT_GE(Play(silent, folder / "missing"), chime - 0.002);
}

}  // namespace
}  // namespace lumidot
