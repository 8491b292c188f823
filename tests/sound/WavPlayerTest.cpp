#include "sound/WavPlayer.h"

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

// A PCM WAV: rate, channels, bits, the data length claimed and the bytes held.
void WriteWav(const fs::path& file, unsigned rate, unsigned channels, unsigned bits,
              unsigned claimed, unsigned body) {
    // clang-format off
    const unsigned fields[][2] = {{0x46464952, 4}, {36 + body, 4}, {0x45564157, 4}, {0x20746d66, 4},
        {16, 4}, {1, 2}, {channels, 2}, {rate, 4}, {rate * channels * bits / 8, 4},
        {channels * bits / 8, 2}, {bits, 2}, {0x61746164, 4}, {claimed, 4}};  // RIFF WAVE fmt data
    // clang-format on
    std::string bytes;
    for (const auto& [value, size] : fields) {
        for (unsigned i = 0; i < size; ++i)
            bytes += static_cast<char>(value >> (8 * i) & 0xff);
    }
    std::ofstream(file, std::ios::binary) << bytes << std::string(body, '\x40');
}

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

// Each gives no samples, so the short default sound plays in its place.
TEST_F(WavPlayerTest, AFileThatCannotBePlayedGivesTheDefaultSound) {
    const std::pair<const char*, std::function<void(const fs::path&)>> cases[] = {
        {"missing", [](const fs::path&) {}},
        {"1 Hz, 3,044 samples", [](const fs::path& f) { WriteWav(f, 1, 1, 8, 3044, 3044); }},
        {"1 Hz, 25 seconds", [](const fs::path& f) { WriteWav(f, 1, 2, 16, 100, 100); }},
        {"31 seconds", [](const fs::path& f) { WriteWav(f, 8000, 1, 8, 248000, 248000); }},
        {"300 kHz", [](const fs::path& f) { WriteWav(f, 300000, 1, 16, 6000, 6000); }},
        {"200 MB", [](const fs::path& f) {
             WriteWav(f, 22050, 1, 16, 4410, 4410), fs::resize_file(f, 200'000'000);
         }}};
    for (const auto& [what, make] : cases) {
        make(folder / what);
        EXPECT_TRUE(WavPlayer::Load((folder / what).string()).empty()) << what;
    }
    const double chime = WavPlayer::Seconds(WavPlayer::DefaultSound());
    {
        WavPlayer player;
        EXPECT_GE(Play(player, folder / "1 Hz, 3,044 samples"), chime - 0.002);
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
