#include "sound/WavPlayer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace lumidot {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The game's own sounds: 16-bit mono at 22.05 kHz.
const fs::path kHit = fs::path(LUMIDOT_SAMPLES) / "zx_hit.wav";            // 0.25 s
const fs::path kGameOver = fs::path(LUMIDOT_SAMPLES) / "zx_gameover.wav";  // 1.45 s

// The seconds of sound between the first and the last sample that is not
// silence in what the disk driver wrote (stereo, 16 bits, 44.1 kHz).
double SoundSecondsIn(const fs::path& output) {
    std::ifstream in(output, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto* samples = reinterpret_cast<const std::int16_t*>(bytes.data());
    const std::size_t count = bytes.size() / 2;
    std::size_t first = count, last = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (std::abs(samples[i]) > 50) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first >= count) {
        return 0.0;
    }
    return static_cast<double>(last - first + 1) / (WavPlayer::kRate * WavPlayer::kChannels);
}

// Writes the first bytes of a file to another.
void CopyStart(const fs::path& from, const fs::path& to, std::uintmax_t bytes) {
    std::ifstream in(from, std::ios::binary);
    std::vector<char> start(static_cast<std::size_t>(bytes));
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    std::ofstream(to, std::ios::binary).write(start.data(), in.gcount());
}

// SDL's disk driver writes what would be played to a file, in real time.
class WavPlayerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("lumidot-sound-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
        output = folder / "device.raw";
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        ::setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(folder); }

    // Plays the file and returns how long the call took.
    double TimedPlay(WavPlayer& player, const fs::path& file) {
        const auto start = Clock::now();
        player.Play(file.string());
        return std::chrono::duration<double>(Clock::now() - start).count();
    }

    // The driver writes on its own thread; wait for the sound to arrive.
    double WaitForSound(double expected) {
        const auto deadline = Clock::now() + std::chrono::seconds(10);
        double seen = 0.0;
        while (Clock::now() < deadline) {
            seen = SoundSecondsIn(output);
            if (seen >= expected - 0.01) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return seen;
    }

    fs::path folder;
    fs::path output;
};

TEST_F(WavPlayerTest, PlaysAFileToItsEndInTheDevicesFormat) {
    // 22.05 kHz mono is converted to the device's 44.1 kHz stereo.
    WavPlayer player;
    EXPECT_GE(TimedPlay(player, kHit), 0.25 - 0.002);
    EXPECT_NEAR(WaitForSound(0.25), 0.25, 0.02);

    // The device stays open: a second sound follows the first.
    EXPECT_GE(TimedPlay(player, kGameOver), 1.45 - 0.002);
}

TEST_F(WavPlayerTest, AFileThatCannotBePlayedGivesTheDefaultSound) {
    const double chime = static_cast<double>(WavPlayer::DefaultSound().size()) /
                         (WavPlayer::kRate * WavPlayer::kChannels);
    ASSERT_GT(chime, 0.05);

    const fs::path text = folder / "not-a-sound.wav";
    std::ofstream(text) << "this is no RIFF file";
    const fs::path empty = folder / "empty.wav";
    std::ofstream{empty};
    const fs::path header = folder / "cut-in-its-header.wav";
    CopyStart(kHit, header, 30);
    WavPlayer player;
    for (const fs::path& file : {folder / "missing.wav", text, empty, header, folder}) {
        EXPECT_GE(TimedPlay(player, file), chime - 0.002) << file;
    }
    EXPECT_GT(WaitForSound(chime), chime - 0.02);
}

TEST_F(WavPlayerTest, ATruncatedFilePlaysWhatItHolds) {
    // The header and the first half of the hit's 0.25 s of samples.
    const fs::path half = folder / "half.wav";
    CopyStart(kHit, half, 44 + fs::file_size(kHit) / 2);
    WavPlayer player;
    EXPECT_GE(TimedPlay(player, half), 0.12);
    EXPECT_NEAR(WaitForSound(0.125), 0.125, 0.02);
}

TEST_F(WavPlayerTest, WithNoAudioDeviceASoundStillTakesItsTime) {
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    WavPlayer player;
    EXPECT_GE(TimedPlay(player, kHit), 0.25 - 0.002);
    EXPECT_GE(TimedPlay(player, folder / "missing.wav"), 0.15);
    EXPECT_FALSE(fs::exists(output));
}

}  // namespace
}  // namespace lumidot
