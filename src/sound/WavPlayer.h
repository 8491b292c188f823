#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace lumidot {

// Plays WAV files synchronously through SDL's audio subsystem alone (SDL
// never touches video or events here). The output device is opened at a
// sound and kept open while sounds follow one another. Once none has played
// for a while, a thread of the player's own closes it and shuts SDL's audio
// down, since both keep threads that wake many times a second even while
// nothing plays; closing can block for half a second, so the caller never
// waits for it unless a sound comes while it is under way.
class WavPlayer {
  public:
    // How long the device stays open after a sound.
    static constexpr double kReleaseAfterSeconds = 2.0;

    // An infinite `releaseAfter` keeps the device open until the player
    // ends, as the benchmark's baseline does.
    explicit WavPlayer(double releaseAfter = kReleaseAfterSeconds);
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
    using Clock = std::chrono::steady_clock;

    // Opens SDL's audio and the device unless they are open, once a release
    // under way has ended. False when there is no device to play on.
    bool OpenDevice();
    void PlayOnDevice(const Samples& samples, double seconds);
    // The releasing thread: sleeps while nothing is open or a sound plays,
    // and releases what is open once no sound has played for a while, or
    // when the player ends.
    void ReleaseWhenIdle();
    void Release(std::unique_lock<std::mutex>& lock);

    const double releaseAfter_;
    // Set once opening has failed: from then on sounds only take their time.
    bool noDevice_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    // Guarded by mutex_: SDL's audio is touched by one thread at a time,
    // the player's caller while `playing_`, the releasing thread while
    // `releasing_`.
    std::uint32_t device_ = 0;
    bool audioUp_ = false;
    bool playing_ = false;
    bool releasing_ = false;
    bool ending_ = false;
    Clock::time_point lastEnded_{};
    std::thread releaser_;
};

}  // namespace lumidot
