#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <string>

#include "Children.h"
#include "HostileFiles.h"
#include "sound/WavPlayer.h"

namespace lumidot::bench {

namespace {

struct Hostile {
    const char* name;
    WavFormat format;
    std::uint32_t dataBytes;
    // A sparse file of this size, or 0 for the data written out.
    std::uintmax_t fileBytes;
};

const WavFormat kFloat8 = {3, 8, 192000, 192000 * 32, 32, 32, {}};

// Files that once crashed the converter, froze the window for minutes (a
// second of 1 Hz is a byte), asked for 46 GB to convert, or were decoded
// whole before they were refused, at every hit; and the smallest file
// there is: 44 bytes, with an empty data chunk.
const Hostile kRefused[] = {
    {"1 Hz, 3,044 samples", Pcm(1, 1, 8), 3044, 0},
    {"1 Hz, a 100-byte body", Pcm(1, 1, 8), 100, 0},
    {"1 Hz, a 644-byte file", Pcm(1, 1, 8), 600, 0},
    {"1 Hz, 64 KB", Pcm(1, 1, 8), 65536, 0},
    {"an empty data chunk", Pcm(22050, 1, 16), 0, 0},
    {"184 MB of IMA ADPCM, 69 minutes", ImaAdpcm(44100, 2, 2048), 184'000'000, kSparse},
    {"192 kHz, 8 channels, float, 29.9 s", kFloat8, 183'705'600, kSparse},
};

// The largest sounds the limits let through: 64 MB as the converter works
// on them (a million frames, twice their size to resample), and 30 s of 8
// channels that convert in place.
const Hostile kLargest[] = {
    {"192 kHz, 8 channels, float, 5.2 s",
     {3, 8, 192000, 6'144'000, 32, 32, {}},
     32'000'000,
     kSparse},
    {"44.1 kHz, 8 channels, 32 bits, 30 s", Pcm(44100, 8, 32), 42'336'000, kSparse},
};

std::string Written(const QTemporaryDir& folder, const Hostile& sound) {
    const std::string file = folder.filePath(QString::fromLatin1(sound.name)).toStdString();
    WriteWav(file, sound.format, sound.dataBytes, sound.fileBytes);
    return file;
}

// How long Load took, in seconds; whether it gave samples.
double TimedLoad(const std::string& file, bool& played) {
    const double start = MonotonicSeconds();
    played = !WavPlayer::Load(file).empty();
    return MonotonicSeconds() - start;
}

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
    bool played = false;
    double refusedPlayed = 0.0;
    for (const Hostile& sound : kRefused) {
        const std::string file = Written(folder, sound);
        longestLoad = std::max(longestLoad, TimedLoad(file, played));
        refusedPlayed += played ? 1.0 : 0.0;
        const double start = MonotonicSeconds();
        player.Play(file);
        longestPlay = std::max(longestPlay, MonotonicSeconds() - start);
    }
    double largestPlayed = 0.0;
    for (const Hostile& sound : kLargest) {
        longestLoad = std::max(longestLoad, TimedLoad(Written(folder, sound), played));
        largestPlayed += played ? 1.0 : 0.0;
    }
    PrintFigures({{"sounds longest load", 1000.0 * longestLoad},
                  {"sounds longest play", 1000.0 * longestPlay},
                  {"sounds peak memory", PeakMegabytes()},
                  {"sounds refused loaded", refusedPlayed},
                  {"sounds largest loaded", largestPlayed}});
    return 0;
}

}  // namespace lumidot::bench
