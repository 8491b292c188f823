#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <utility>

#include "Children.h"
#include "sound/WavPlayer.h"

namespace lumidot::bench {

namespace {

// A PCM WAV file of the rate, channels and bits, whose data chunk holds
// `body` bytes of one value, as its header says.
void WriteWav(const std::string& file, std::uint32_t rate, std::uint32_t channels,
              std::uint32_t bits, std::uint32_t body) {
    std::string bytes;
    const std::pair<std::uint32_t, int> fields[] = {{0x46464952, 4},
                                                    {36 + body, 4},
                                                    {0x45564157, 4},
                                                    {0x20746d66, 4},
                                                    {16, 4},  // RIFF fmt
                                                    {1, 2},
                                                    {channels, 2},
                                                    {rate, 4},
                                                    {rate * channels * bits / 8, 4},
                                                    {channels * bits / 8, 2},
                                                    {bits, 2},
                                                    {0x61746164, 4},
                                                    {body, 4}};  // data
    for (const auto& [value, size] : fields) {
        for (int i = 0; i < size; ++i) {
            bytes += static_cast<char>(value >> (8 * i) & 0xff);
        }
    }
    std::ofstream(file, std::ios::binary) << bytes << std::string(body, '\x40');
}

struct Hostile {
    const char* name;
    std::uint32_t rate;
    std::uint32_t channels;
    std::uint32_t bits;
    std::uint32_t body;
};

// Files that once crashed the converter, froze the window for minutes (a
// second of 1 Hz is a byte), or asked for 46 GB to convert, and the
// smallest file there is: 44 bytes, with an empty data chunk.
constexpr Hostile kSounds[] = {{"1 Hz, 3,044 samples", 1, 1, 8, 3044},
                               {"1 Hz, a 100-byte body", 1, 1, 8, 100},
                               {"1 Hz, a 644-byte file", 1, 1, 8, 600},
                               {"1 Hz, 64 KB", 1, 1, 8, 65536},
                               {"an empty data chunk", 22050, 1, 16, 0}};

}  // namespace

int RunHostileSounds() {
    // Played as the window plays them, on SDL's dummy driver: in real time
    // without a sound card.
    qputenv("SDL_AUDIODRIVER", "dummy");
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        return 1;
    }
    WavPlayer player;
    double longestLoad = 0.0;
    double longestPlay = 0.0;
    for (const Hostile& sound : kSounds) {
        const std::string file = folder.filePath(QString::fromLatin1(sound.name)).toStdString();
        WriteWav(file, sound.rate, sound.channels, sound.bits, sound.body);
        const double start = MonotonicSeconds();
        WavPlayer::Load(file);
        const double loaded = MonotonicSeconds();
        player.Play(file);
        longestLoad = std::max(longestLoad, loaded - start);
        longestPlay = std::max(longestPlay, MonotonicSeconds() - loaded);
    }
    PrintFigures({{"sounds longest load", 1000.0 * longestLoad},
                  {"sounds longest play", 1000.0 * longestPlay}});
    return 0;
}

}  // namespace lumidot::bench
