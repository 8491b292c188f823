#include "HostileFiles.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <filesystem>
#include <fstream>
#include <utility>

namespace lumidot::bench {

namespace {

void Append(std::string& bytes, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes += static_cast<char>(value >> (8 * i) & 0xff);
    }
}

QByteArray Word(int value) {
    return QByteArray(1, char(value & 0xff)) + char(value >> 8 & 0xff);
}

QByteArray BigEndianWord(int value) {
    return QByteArray(1, char(value >> 8 & 0xff)) + char(value & 0xff);
}

}  // namespace

WavFormat Pcm(std::uint32_t rate, std::uint16_t channels, std::uint16_t bits) {
    const auto block = static_cast<std::uint16_t>(channels * bits / 8);
    return {1, channels, rate, rate * block, block, bits, {}};
}

WavFormat MuLaw(std::uint32_t rate, std::uint16_t channels) {
    return {7, channels, rate, rate * channels, channels, 8, {}};
}

WavFormat ImaAdpcm(std::uint32_t rate, std::uint16_t channels, std::uint16_t blockAlign) {
    // A 4-byte header a channel holds the first frame; then two frames a byte.
    const std::uint32_t frames = (blockAlign - 4u * channels) * 2u / channels + 1u;
    std::string extra;
    Append(extra, frames, 2);
    return {0x11, channels, rate, rate * blockAlign / frames, blockAlign, 4, extra};
}

void WriteWav(const std::string& path, const WavFormat& format, std::uint32_t dataBytes,
              std::uintmax_t fileBytes) {
    std::string fmt;
    Append(fmt, format.tag, 2);
    Append(fmt, format.channels, 2);
    Append(fmt, format.rate, 4);
    Append(fmt, format.byteRate, 4);
    Append(fmt, format.blockAlign, 2);
    Append(fmt, format.bits, 2);
    if (format.tag != 1 || !format.extra.empty()) {
        Append(fmt, static_cast<std::uint32_t>(format.extra.size()), 2);
        fmt += format.extra;
    }
    // A chunk of odd length is followed by a padding byte.
    const std::string padding(fmt.size() % 2, '\0');
    std::string bytes = "RIFF";
    Append(bytes, static_cast<std::uint32_t>(4 + 8 + fmt.size() + padding.size() + 8 + dataBytes),
           4);
    bytes += "WAVEfmt ";
    Append(bytes, static_cast<std::uint32_t>(fmt.size()), 4);
    bytes += fmt + padding + "data";
    Append(bytes, dataBytes, 4);
    std::ofstream(path, std::ios::binary)
        << bytes << std::string(fileBytes == 0 ? dataBytes : 0, '\x40');
    if (fileBytes != 0) {
        std::filesystem::resize_file(path,
                                     fileBytes == kSparse ? bytes.size() + dataBytes : fileBytes);
    }
}

QByteArray Gif(int width, int height, int imageWidth, int imageHeight) {
    // Two colours; the image at 0, 0; LZW codes of 2 bits: clear, pixel 0, end.
    return "GIF89a" + Word(width) + Word(height) +
           QByteArray("\x80\0\0\xff\xff\xff\0\0\0\x2c", 10) + Word(0) + Word(0) + Word(imageWidth) +
           Word(imageHeight) + QByteArray("\0\x02\x02\x44\x01\0\x3b", 7);
}

QByteArray ProgressiveJpeg(int width, int height, int scans) {
    QImage grey(16, 16, QImage::Format_Grayscale8);
    grey.fill(128);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setProgressiveScanWrite(true);
    writer.write(grey);
    QByteArray jpeg = buffer.data();
    // The frame header (SOF2): length, precision, then height and width.
    const qsizetype frame = jpeg.indexOf("\xff\xc2");
    const qsizetype lastScan = jpeg.lastIndexOf("\xff\xda");
    const qsizetype end = jpeg.lastIndexOf("\xff\xd9");
    if (frame < 0 || lastScan < frame || end < lastScan) {
        return {};
    }
    jpeg.replace(frame + 5, 4, BigEndianWord(height) + BigEndianWord(width));
    const QByteArray scan = jpeg.mid(lastScan, end - lastScan);
    return jpeg.left(end) + scan.repeated(scans - 1) + "\xff\xd9";
}

}  // namespace lumidot::bench
