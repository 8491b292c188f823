#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lumidot {

// Plays WAV files synchronously through SDL's audio subsystem alone (SDL
// never touches video or events here). The output device is opened at the
// first sound and kept open: closing it can block for half a second.
class WavPlayer {
  public:
    WavPlayer();
    ~WavPlayer();
    WavPlayer(const WavPlayer&) = delete;
    WavPlayer& operator=(const WavPlayer&) = delete;

    // Plays the file and returns when it has ended. A file that is missing
    // or cannot be decoded plays the default sound instead. With no audio
    // device the call sleeps for as long as the sound would have played.
    void Play(const std::string& path);

    // Samples in the device's format: interleaved stereo, signed 16 bits.
    using Samples = std::vector<std::int16_t>;

    static constexpr int kRate = 44100;
    static constexpr int kChannels = 2;

    // The short chime played in place of a file that cannot be played.
    static Samples DefaultSound();

    // The file's samples converted to the device's format. Empty when the
    // file cannot be read as a WAV, holds no samples, or is refused by the
    // limits on its size, rate, channels, length and decoded size, all
    // judged from its header before anything is decoded; or when converting
    // it runs out of memory.
    static Samples Load(const std::string& path);

    // How long the samples take to play on the device.
    static double Seconds(const Samples& samples);

  private:
    bool OpenDevice();
    void PlayOnDevice(const Samples& samples, double seconds);

    std::uint32_t device_ = 0;
    bool triedToOpen_ = false;
};

}  // namespace lumidot
