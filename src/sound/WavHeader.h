#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lumidot {

// What a WAV file's header says its samples will cost, read without reading
// the samples: the decoder allocates whatever the header claims.
struct WavShape {
    int rate = 0;
    int channels = 0;
    // The SDL_AudioFormat SDL decodes the samples to.
    std::uint16_t format = 0;
    // Never less than what SDL 2.26 decodes from the file.
    std::uint64_t frames = 0;
    std::uint64_t decodedBytes = 0;
};

// Walks a RIFF WAVE file's chunks to its format and data chunks as SDL does,
// counting only the data the file holds. Empty for anything that is no such
// file in PCM (8, 16, 24 or 32 bits), 32-bit float, mu-law, A-law, IMA ADPCM
// or MS ADPCM as SDL reads them; WAVE_FORMAT_EXTENSIBLE only around PCM or
// float.
std::optional<WavShape> ReadWavShape(const std::string& path);

}  // namespace lumidot
