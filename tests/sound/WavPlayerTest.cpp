#include "sound/WavPlayer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <system_error>
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
    std::error_code missing;
    const std::uintmax_t bytes = fs::file_size(output, missing);
    std::ifstream in(output, std::ios::binary);
    WavPlayer::Samples samples(missing ? 0 : static_cast<std::size_t>(bytes) / 2);
    in.read(reinterpret_cast<char*>(samples.data()),
            static_cast<std::streamsize>(samples.size()) * 2);
    const auto loud = [](std::int16_t sample) { return std::abs(sample) > 50; };
    const auto first = std::find_if(samples.begin(), samples.end(), loud);
    const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
    return first < last ? WavPlayer::Seconds(WavPlayer::Samples(first, last)) : 0.0;
}

// Writes the first bytes of a file to another.
void CopyStart(const fs::path& from, const fs::path& to, std::uintmax_t bytes) {
    std::ifstream in(from, std::ios::binary);
    std::vector<char> start(static_cast<std::size_t>(bytes));
    in.read(start.data(), static_cast<std::streamsize>(start.size()));
    std::ofstream(to, std::ios::binary).write(start.data(), in.gcount());
}

// A PCM WAV file: its format, the data length its header claims and the
// bytes of sound it holds.
struct Wav {
    std::uint32_t rate;
    std::uint32_t channels;
    std::uint32_t bits;
    std::uint32_t claimed;
    std::uint32_t body;
};

void WriteWav(const fs::path& file, const Wav& wav) {
    std::string bytes;
    const auto put = [&bytes](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>(value >> (8 * i) & 0xff);
        }
    };
    const std::uint32_t frameBytes = wav.channels * wav.bits / 8;
    bytes += "RIFF";
    put(36 + wav.body, 4);
    bytes += "WAVEfmt ";
    put(16, 4);
    put(1, 2);  // PCM
    put(wav.channels, 2);
    put(wav.rate, 4);
    put(wav.rate * frameBytes, 4);
    put(frameBytes, 2);
    put(wav.bits, 2);
    bytes += "data";
    put(wav.claimed, 4);
    bytes.append(wav.body, '\x40');
    std::ofstream(file, std::ios::binary) << bytes;
}

std::function<void(const fs::path&)> Making(const Wav& wav) {
    return [wav](const fs::path& file) { WriteWav(file, wav); };
}

// Whether the signal still has its default action (the process ends).
bool LeftToItsDefault(int signal) {
    struct sigaction action {};
    ::sigaction(signal, nullptr, &action);
    return action.sa_handler == SIG_DFL;
}

// Loads the file with only 32 MB more address space than the process has,
// and ends the process: with 0 when no samples came back (2: no limit set).
[[noreturn]] void LoadShortOfMemory(const fs::path& file) {
    std::ifstream statm("/proc/self/statm");
    rlim_t pages = 0;
    statm >> pages;
    const rlim_t bytes = pages * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE)) + (32u << 20);
    const rlimit limit{bytes, bytes};
    if (::setrlimit(RLIMIT_AS, &limit) != 0) {
        std::_Exit(2);
    }
    std::_Exit(WavPlayer::Load(file.string()).empty() ? 0 : 1);
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
        const auto deadline = Clock::now() + std::chrono::seconds(30);
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
    // 22.05 kHz mono is converted to the device's 44.1 kHz stereo, whole.
    const double hit = WavPlayer::Seconds(WavPlayer::Load(kHit.string()));
    EXPECT_NEAR(hit, 0.25, 0.001);
    EXPECT_NEAR(WavPlayer::Seconds(WavPlayer::Load(kGameOver.string())), 1.45, 0.001);

    // Ctrl-C and a polite kill still end the program once sound has started.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    WavPlayer player;
    EXPECT_GE(TimedPlay(player, kHit), hit - 0.002);
    EXPECT_NEAR(WaitForSound(hit), hit, 0.02);
    EXPECT_TRUE(LeftToItsDefault(SIGINT));
    EXPECT_TRUE(LeftToItsDefault(SIGTERM));

    // The device stays open: a second sound follows the first.
    EXPECT_GE(TimedPlay(player, kHit), hit - 0.002);
}

TEST_F(WavPlayerTest, AFileThatCannotBePlayedGivesTheDefaultSound) {
    const struct {
        const char* name;
        std::function<void(const fs::path&)> make;
    } cases[] = {
        {"missing.wav", [](const fs::path&) {}},
        {"a-folder.wav", [](const fs::path& file) { fs::create_directory(file); }},
        {"empty.wav", [](const fs::path& file) { std::ofstream{file}; }},
        {"text.wav", [](const fs::path& file) { std::ofstream(file) << "this is no RIFF file"; }},
        {"cut-in-its-header.wav", [](const fs::path& file) { CopyStart(kHit, file, 30); }},
        // 8-bit mono at 1 Hz: converting it overflows SDL's 32-bit lengths.
        {"1-hz-3044-samples.wav", Making({1, 1, 8, 3044, 3044})},
        // 25 seconds of 16-bit stereo: only its rate is wrong.
        {"1-hz-100-bytes.wav", Making({1, 2, 16, 100, 100})},
        {"no-samples.wav", Making({22050, 1, 16, 0, 0})},
        // 64 KB whose conversion would take 46 GB.
        {"1-hz-64-kb.wav", Making({1, 1, 8, 65536, 65536})},
        {"31-seconds.wav", Making({8000, 1, 8, 31 * 8000, 31 * 8000})},
        {"300-khz.wav", Making({300000, 1, 16, 6000, 6000})},
        // A short sound followed by 200 MB of nothing (a sparse file).
        {"200-mb.wav",
         [](const fs::path& file) {
             WriteWav(file, {22050, 1, 16, 4410, 4410});
             fs::resize_file(file, 200'000'000);
         }},
    };
    for (const auto& c : cases) {
        c.make(folder / c.name);
        EXPECT_TRUE(WavPlayer::Load((folder / c.name).string()).empty()) << c.name;
    }

    const double chime = WavPlayer::Seconds(WavPlayer::DefaultSound());
    ASSERT_GT(chime, 0.05);
    WavPlayer player;
    EXPECT_GE(TimedPlay(player, folder / "1-hz-3044-samples.wav"), chime - 0.002);
    EXPECT_NEAR(WaitForSound(chime), chime, 0.02);
}

TEST_F(WavPlayerTest, AConversionThatRunsOutOfMemoryGivesNoSamples) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer ends the process when an allocation fails";
#endif
    // 30 s of 8-bit sound on 8 channels at 4 kHz: within every limit, but
    // converted it takes 92 MB.
    const fs::path file = folder / "large.wav";
    WriteWav(file, {4000, 8, 8, 960000, 960000});
    ASSERT_FALSE(WavPlayer::Load(file.string()).empty());
    EXPECT_EXIT(LoadShortOfMemory(file), ::testing::ExitedWithCode(0), "");
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
    EXPECT_GE(TimedPlay(player, folder / "missing.wav"),
              WavPlayer::Seconds(WavPlayer::DefaultSound()) - 0.002);
    EXPECT_FALSE(fs::exists(output));
}

}  // namespace
}  // namespace lumidot
