#include "sound/WavPlayer.h"

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

namespace lumidot {

namespace {

using Clock = std::chrono::steady_clock;

// A small device buffer keeps the end of a sound close to the end of the
// call: 512 frames are 12 ms at 44.1 kHz.
constexpr int kDeviceFrames = 512;

constexpr double kPi = 3.14159265358979323846;

double SecondsOf(const WavPlayer::Samples& samples) {
    return static_cast<double>(samples.size()) / (WavPlayer::kRate * WavPlayer::kChannels);
}

Clock::time_point After(Clock::time_point start, double seconds) {
    return start +
           std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

}  // namespace

WavPlayer::WavPlayer() {
    SDL_SetMainReady();
}

WavPlayer::~WavPlayer() {
    if (device_ != 0) {
        SDL_CloseAudioDevice(device_);
    }
    if (triedToOpen_) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
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
    SDL_AudioSpec spec;
    Uint8* buffer = nullptr;
    Uint32 length = 0;
    if (SDL_LoadWAV(path.c_str(), &spec, &buffer, &length) == nullptr) {
        return {};
    }
    // Converted in one piece: SDL's streaming converter holds back the
    // last few hundred frames.
    SDL_AudioCVT cvt;
    Samples out;
    if (SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, kChannels,
                          kRate) >= 0) {
        std::vector<Uint8> work(static_cast<std::size_t>(length) *
                                static_cast<std::size_t>(std::max(cvt.len_mult, 1)));
        std::memcpy(work.data(), buffer, length);
        cvt.buf = work.data();
        cvt.len = static_cast<int>(length);
        if (SDL_ConvertAudio(&cvt) == 0) {
            const std::size_t frames =
                static_cast<std::size_t>(cvt.len_cvt) / (sizeof(std::int16_t) * kChannels);
            out.resize(frames * kChannels);
            std::memcpy(out.data(), work.data(), out.size() * sizeof(std::int16_t));
        }
    }
    SDL_FreeWAV(buffer);
    return out;
}

bool WavPlayer::OpenDevice() {
    if (triedToOpen_) {
        return device_ != 0;
    }
    triedToOpen_ = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return false;
    }
    SDL_AudioSpec want;
    SDL_zero(want);
    want.freq = kRate;
    want.format = AUDIO_S16SYS;
    want.channels = kChannels;
    want.samples = kDeviceFrames;
    // No changes allowed: SDL converts to whatever the hardware takes.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
    return device_ != 0;
}

void WavPlayer::Play(const std::string& path) {
    Samples samples = Load(path);
    if (samples.empty()) {
        samples = DefaultSound();
    }
    const double seconds = SecondsOf(samples);
    if (OpenDevice()) {
        PlayOnDevice(samples, seconds);
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

}  // namespace lumidot
