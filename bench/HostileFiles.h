#pragma once

#include <QByteArray>
#include <cstdint>
#include <string>

// The files the benchmark and the tests hand the program: WAV and GIF files
// whose headers say what the caller asks, and a JPEG that is slow to decode.
namespace lumidot::bench {

// A WAV file's format chunk, as any format tag may fill it: `extra` is what
// follows the common fields (an ADPCM block's frame count, coefficients).
struct WavFormat {
    std::uint16_t tag;
    std::uint16_t channels;
    std::uint32_t rate;
    std::uint32_t byteRate;
    std::uint16_t blockAlign;
    std::uint16_t bits;
    std::string extra;
};

WavFormat Pcm(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits);
WavFormat MuLaw(std::uint32_t rate, std::uint16_t channels);
// Blocks of `blockAlign` bytes, each filled with as many frames as it holds.
WavFormat ImaAdpcm(std::uint32_t rate, std::uint16_t channels, std::uint16_t blockAlign);

// The file size that holds a WAV's data whole, made sparse.
constexpr std::uintmax_t kSparse = ~std::uintmax_t{0};

// Writes a RIFF WAVE file whose data chunk claims `dataBytes`. With no
// `fileBytes` the data follows, every byte 0x40; otherwise the file is cut
// or extended to that size (or to hold the data, with kSparse), sparse, so
// a large file costs no disk.
void WriteWav(const std::string& path, const WavFormat& format, std::uint32_t dataBytes,
              std::uintmax_t fileBytes = 0);

// A GIF89a whose logical screen is width x height, around one image of
// imageWidth x imageHeight whose first pixel alone is coded.
QByteArray Gif(int width, int height, int imageWidth, int imageHeight);

// A progressive JPEG whose frame claims width x height, made from a small
// grey picture, with its last scan repeated until it has `scans` of them:
// each scan still visits every block of the frame.
QByteArray ProgressiveJpeg(int width, int height, int scans);

}  // namespace lumidot::bench
