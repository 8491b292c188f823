#include "sound/WavPlayer.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "sound/WavHeader.h"

namespace lumidot {

namespace {

using Clock = std::chrono::steady_clock;

// A small device buffer keeps the end of a sound close to the end of the
// call: 512 frames are 12 ms at 44.1 kHz.
constexpr int kDeviceFrames = 512;

constexpr double kPi = 3.14159265358979323846;

// Limits a file is judged by before anything is decoded: its header can
// claim anything, the decoder allocates whatever it claims, and the game
// waits for every sound to end.

// Half the rate of telephone speech; lower rates stretch a few bytes into minutes.
constexpr int kMinRate = 4000;
// The highest rate audio hardware records at.
constexpr int kMaxRate = 192000;
// The most channels SDL 2.26's converter takes (7.1 sound).
constexpr int kMaxChannels = 8;
// The game's sounds last a second or two, and the game stands still while one plays.
constexpr int kMaxSeconds = 30;
// What the decoded samples may take, grown to what the converter works in:
// 30 s of 48 kHz stereo takes 23 MB at most.
constexpr std::uint64_t kMaxConvertingBytes = 64'000'000;
// No sound within the limits needs more: decoded samples never take less
// room than the file's, plus 1 MiB of other chunks.
constexpr std::uintmax_t kMaxFileBytes = kMaxConvertingBytes + (1u << 20);

Clock::time_point After(Clock::time_point start, double seconds) {
    return start +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// Builds the conversion from the file's format to the device's in one
// piece: SDL's streaming converter holds back the last few hundred frames.
bool BuildConversion(SDL_AudioCVT& cvt, SDL_AudioFormat format, int channels, int rate) {
    return SDL_BuildAudioCVT(&cvt, format, static_cast<Uint8>(channels), rate, AUDIO_S16SYS,
                             WavPlayer::kChannels, WavPlayer::kRate) >= 0;
}

// Whether the samples the header describes may be decoded and converted.
bool WithinLimits(const WavShape& shape) {
    SDL_AudioCVT cvt;
    if (shape.rate < kMinRate || shape.rate > kMaxRate || shape.channels < 1 ||
        shape.channels > kMaxChannels ||
        shape.frames > std::uint64_t{kMaxSeconds} * std::uint64_t(shape.rate) ||
        !BuildConversion(cvt, shape.format, shape.channels, shape.rate)) {
        return false;
    }
    return shape.decodedBytes * static_cast<std::uint64_t>(std::max(cvt.len_mult, 1)) <=
           kMaxConvertingBytes;
}

using SdlBuffer = std::unique_ptr<Uint8, decltype(&SDL_free)>;

// Converts the decoded samples in SDL's own buffer, grown to what the
// converter works in, and copies out only the result.
WavPlayer::Samples Convert(const SDL_AudioSpec& spec, SdlBuffer buffer, Uint32 length) {
    SDL_AudioCVT cvt;
    if (!BuildConversion(cvt, spec.format, spec.channels, spec.freq)) {
        return {};
    }
    const std::uint64_t working =
        std::uint64_t{length} * static_cast<std::uint64_t>(std::max(cvt.len_mult, 1));
    // SDL holds a conversion's length in an int.
    if (working > static_cast<std::uint64_t>(std::numeric_limits<int>::max())) {
        return {};
    }
    if (working > length) {
        auto* grown = static_cast<Uint8*>(SDL_realloc(buffer.get(), working));
        if (grown == nullptr) {
            return {};
        }
        buffer.release();
        buffer.reset(grown);
    }
    cvt.buf = buffer.get();
    cvt.len = static_cast<int>(length);
    if (SDL_ConvertAudio(&cvt) != 0) {
        return {};
    }
    try {
        WavPlayer::Samples out(static_cast<std::size_t>(cvt.len_cvt) /
                               (sizeof(std::int16_t) * WavPlayer::kChannels) *
                               WavPlayer::kChannels);
        if (!out.empty()) {
            std::memcpy(out.data(), buffer.get(), out.size() * sizeof(std::int16_t));
        }
        return out;
    } catch (const std::bad_alloc&) {
        // Too large for the memory left: played like any other unplayable file.
        return {};
    }
}

}  // namespace

WavPlayer::WavPlayer(double releaseAfter) : releaseAfter_(releaseAfter) {
    SDL_SetMainReady();
}

WavPlayer::~WavPlayer() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (releaser_.joinable()) {
        ending_ = true;
        lock.unlock();
        changed_.notify_all();
        // Releases whatever is still open.
        releaser_.join();
    } else if (audioUp_) {
        Release(lock);
    }
}

WavPlayer::Samples WavPlayer::DefaultSound() {
    // Two short falling tones, 0.2 s in all.
    constexpr double kSeconds = 0.2;
    const int frames = static_cast<int>(kSeconds * kRate);
    Samples out(static_cast<std::size_t>(frames) * kChannels);
    for (int i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double freq = t < kSeconds / 2 ? 1320.0 : 990.0;
        const double phase = std::fmod(t, kSeconds / 2);
        const double envelope = std::exp(-phase * 30.0);
        const auto v = static_cast<std::int16_t>(9000.0 * envelope * std::sin(2 * kPi * freq * t));
        out[static_cast<std::size_t>(i) * 2] = v;
        out[static_cast<std::size_t>(i) * 2 + 1] = v;
    }
    return out;
}

WavPlayer::Samples WavPlayer::Load(const std::string& path) {
    // Judged by its size and header before SDL reads it; a folder or a
    // missing file has neither.
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    if (error || bytes > kMaxFileBytes) {
        return {};
    }
    const std::optional<WavShape> shape = ReadWavShape(path);
    if (!shape || !WithinLimits(*shape)) {
        return {};
    }
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &spec, &buffer, &length) == nullptr) {
        return {};
    }
    SdlBuffer owned(buffer, &SDL_free);
    // An empty data chunk comes back as no buffer at all.
    if (buffer == nullptr || length == 0) {
        return {};
    }
    return Convert(spec, std::move(owned), length);
}

double WavPlayer::Seconds(const Samples& samples) {
    return static_cast<double>(samples.size()) / (kRate * kChannels);
}

bool WavPlayer::OpenDevice() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !releasing_; });
        if (noDevice_) {
            return false;
        }
        playing_ = true;
        if (audioUp_) {
            return true;
        }
    }
    // SDL's own handlers would swallow SIGINT and SIGTERM once audio runs.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    const bool up = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    SDL_AudioDeviceID device = 0;
    if (up) {
        SDL_AudioSpec want;
        SDL_zero(want);
        want.freq = kRate;
        want.format = AUDIO_S16SYS;
        want.channels = kChannels;
        want.samples = kDeviceFrames;
        // No changes allowed: SDL converts to whatever the hardware takes.
        device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    }
    const std::lock_guard<std::mutex> lock(mutex_);
    device_ = device;
    audioUp_ = up;
    noDevice_ = device == 0;
    playing_ = device != 0;
    // Without a device SDL's audio is released all the same: its backend
    // may keep a thread of its own awake.
    if (up && !releaser_.joinable() && std::isfinite(releaseAfter_)) {
        releaser_ = std::thread([this] { ReleaseWhenIdle(); });
    }
    return device != 0;
}

void WavPlayer::Play(const std::string& path) {
    Samples samples = Load(path);
    if (samples.empty()) {
        samples = DefaultSound();
    }
    const double seconds = Seconds(samples);
    if (OpenDevice()) {
        PlayOnDevice(samples, seconds);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            playing_ = false;
            lastEnded_ = Clock::now();
        }
        changed_.notify_all();
    } else {
        // No sound can be heard, but the game keeps its timing.
        std::this_thread::sleep_until(After(Clock::now(), seconds));
    }
}

void WavPlayer::PlayOnDevice(const Samples& samples, double seconds) {
    SDL_ClearQueuedAudio(device_);
    const auto start = Clock::now();
    if (SDL_QueueAudio(device_, samples.data(),
                       static_cast<Uint32>(samples.size() * sizeof(std::int16_t))) != 0) {
        std::this_thread::sleep_until(After(start, seconds));
        return;
    }
    SDL_PauseAudioDevice(device_, 0);
    // The sound has ended once its own length has passed and the device has
    // taken the last sample: the call never returns early, and a device that
    // stalls is given up on two seconds later.
    std::this_thread::sleep_until(After(start, seconds));
    const auto giveUp = After(start, seconds + 2.0);
    while (SDL_GetQueuedAudioSize(device_) > 0 && Clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    SDL_PauseAudioDevice(device_, 1);
    SDL_ClearQueuedAudio(device_);
}

void WavPlayer::ReleaseWhenIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        // Not woken at all while nothing is open, nor while a sound plays.
        changed_.wait(lock, [this] { return ending_ || (audioUp_ && !playing_); });
        const auto idleEnd = After(lastEnded_, releaseAfter_);
        if (!ending_ && Clock::now() < idleEnd) {
            // Woken by a sound's end, a new one's start or the time: look again.
            changed_.wait_until(lock, idleEnd);
            continue;
        }
        if (audioUp_) {
            Release(lock);
        }
        if (ending_) {
            return;
        }
    }
}

void WavPlayer::Release(std::unique_lock<std::mutex>& lock) {
    releasing_ = true;
    const SDL_AudioDeviceID device = std::exchange(device_, 0);
    lock.unlock();
    if (device != 0) {
        SDL_CloseAudioDevice(device);
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    lock.lock();
    audioUp_ = false;
    releasing_ = false;
    changed_.notify_all();
}

}  // namespace lumidot
