#include "sound/WavHeader.h"

#include <SDL_audio.h>

#include <algorithm>
#include <array>
#include <fstream>

namespace lumidot {

namespace {

enum Encoding : std::uint16_t {
    kPcm = 0x0001,
    kMsAdpcm = 0x0002,
    kFloat = 0x0003,
    kALaw = 0x0006,
    kMuLaw = 0x0007,
    kImaAdpcm = 0x0011,
    kExtensible = 0xfffe,
};

// SDL gives up on a file with more chunks before its data.
constexpr int kMaxChunks = 10000;
// SDL reads no more of the format chunk (MS ADPCM's coefficients end there).
constexpr std::uint32_t kMaxFormatBytes = 1046;
// The tail every extensible subformat GUID of a plain format tag shares.
constexpr std::array<unsigned char, 14> kGuidTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                     0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71};

std::uint32_t Little(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

std::string Read(std::ifstream& in, std::uint64_t at, std::uint32_t size) {
    std::string bytes(size, '\0');
    in.clear();
    in.seekg(static_cast<std::streamoff>(at));
    in.read(bytes.data(), static_cast<std::streamsize>(size));
    bytes.resize(static_cast<std::size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return bytes;
}

// The format chunk's first bytes and the data chunk's start and claimed
// length: the first of each, the format first, chunks padded to even lengths.
struct Chunks {
    std::string format;
    std::uint64_t dataStart = 0;
    std::uint32_t dataLength = 0;
};

std::optional<Chunks> FindChunks(std::ifstream& in) {
    const std::string riff = Read(in, 0, 12);
    if (riff.size() < 12 || riff.compare(0, 4, "RIFF") != 0 || riff.compare(8, 4, "WAVE") != 0) {
        return {};
    }
    Chunks found;
    bool haveFormat = false;
    std::uint64_t at = 12;
    for (int i = 0; i < kMaxChunks; ++i) {
        const std::string head = Read(in, at, 8);
        if (head.size() < 8) {
            return {};
        }
        const std::uint32_t length = Little(head, 4, 4);
        if (head.compare(0, 4, "fmt ") == 0 && !haveFormat) {
            found.format = Read(in, at + 8, std::min(length, kMaxFormatBytes));
            haveFormat = true;
        } else if (head.compare(0, 4, "data") == 0) {
            found.dataStart = at + 8;
            found.dataLength = length;
            return haveFormat ? std::optional(found) : std::nullopt;
        }
        at += 8 + std::uint64_t{length} + (length & 1);
    }
    return {};
}

struct Format {
    std::uint16_t encoding;
    std::uint32_t channels;
    std::uint32_t rate;
    std::uint32_t blockAlign;
    std::uint32_t bits;
};

// The format chunk's fields, an extensible one's subformat as its encoding.
std::optional<Format> ReadFormat(const std::string& fmt) {
    if (fmt.size() < 16) {
        return {};
    }
    Format format{static_cast<std::uint16_t>(Little(fmt, 0, 2)), Little(fmt, 2, 2),
                  Little(fmt, 4, 4), Little(fmt, 12, 2), Little(fmt, 14, 2)};
    if (format.encoding == kExtensible) {
        if (fmt.size() < 40 || Little(fmt, 16, 2) < 22 ||
            !std::equal(
                kGuidTail.begin(), kGuidTail.end(), fmt.begin() + 26,
                [](unsigned char a, char b) { return a == static_cast<unsigned char>(b); })) {
            return {};
        }
        format.encoding = static_cast<std::uint16_t>(Little(fmt, 24, 2));
        if (format.encoding != kPcm && format.encoding != kFloat) {
            return {};
        }
    }
    if (format.channels == 0 || format.blockAlign == 0) {
        return {};
    }
    return format;
}

// PCM and float: SDL counts whole blocks and widens 24-bit samples to 32 bits.
std::optional<WavShape> Linear(const Format& f, std::uint64_t held) {
    const bool pcm = f.encoding == kPcm;
    if ((pcm && f.bits != 8 && f.bits != 16 && f.bits != 24 && f.bits != 32) ||
        (!pcm && f.bits != 32) || (f.channels * f.bits) % (f.blockAlign * 8) != 0) {
        return {};
    }
    const std::uint64_t blocks = held / f.blockAlign;
    WavShape shape;
    shape.format = !pcm           ? AUDIO_F32LSB
                   : f.bits == 8  ? AUDIO_U8
                   : f.bits == 16 ? AUDIO_S16LSB
                                  : AUDIO_S32LSB;
    shape.decodedBytes = blocks * (f.bits == 24 ? f.channels * 4 : f.blockAlign);
    return shape;
}

// ADPCM: whole blocks, a partly held block counted whole, each block at
// the most frames SDL lets its size hold: a header of `headerBytes` a
// channel holding `headerFrames`, then 4 bits a sample.
std::optional<WavShape> Adpcm(const Format& f, std::uint64_t held, std::uint32_t headerBytes,
                              std::uint32_t headerFrames) {
    if (f.bits != 4 || f.blockAlign < headerBytes * f.channels) {
        return {};
    }
    const std::uint64_t blocks = (held + f.blockAlign - 1) / f.blockAlign;
    const std::uint64_t perBlock =
        (f.blockAlign - headerBytes * f.channels) * 8 / (4 * f.channels) + headerFrames;
    WavShape shape;
    shape.format = AUDIO_S16SYS;
    shape.decodedBytes = blocks * perBlock * f.channels * 2;
    return shape;
}

std::optional<WavShape> Decoded(const Format& f, std::uint64_t held) {
    switch (f.encoding) {
        case kPcm:
        case kFloat:
            return Linear(f, held);
        case kALaw:
        case kMuLaw:
            if (f.bits != 8 || f.blockAlign != f.channels) {
                return {};
            }
            return WavShape{0, 0, AUDIO_S16SYS, 0, held / f.channels * f.channels * 2};
        case kImaAdpcm:
            return f.blockAlign % 4 != 0 ? std::nullopt : Adpcm(f, held, 4, 1);
        case kMsAdpcm:
            return f.channels > 2 ? std::nullopt : Adpcm(f, held, 7, 2);
        default:
            return {};
    }
}

}  // namespace

std::optional<WavShape> ReadWavShape(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return {};
    }
    const auto fileBytes = static_cast<std::uint64_t>(std::max<std::streamoff>(in.tellg(), 0));
    const std::optional<Chunks> chunks = FindChunks(in);
    const std::optional<Format> format = chunks ? ReadFormat(chunks->format) : std::nullopt;
    if (!format || format->channels > 255 || format->rate > 0x7fffffff) {
        return {};
    }
    // A data chunk may claim more than the file holds; SDL decodes what it holds.
    const std::uint64_t held = std::min<std::uint64_t>(
        chunks->dataLength, fileBytes - std::min(fileBytes, chunks->dataStart));
    std::optional<WavShape> shape = Decoded(*format, held);
    if (shape) {
        shape->rate = static_cast<int>(format->rate);
        shape->channels = static_cast<int>(format->channels);
        shape->frames =
            shape->decodedBytes / (SDL_AUDIO_BITSIZE(shape->format) / 8u * format->channels);
    }
    return shape;
}

}  // namespace lumidot
