#include "window/LoadPicture.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <optional>

#include "console/RuntimeError.h"

namespace lumidot {

namespace {

// Limits a picture is judged by before it is decoded: its header can claim
// anything, and decoding allocates whatever it claims.

// The display shows 169 x 169 pixels at scale 1; no overlay or key needs more.
constexpr int kMaxSide = 4096;
// What a picture may cost decoded, at 4 bytes a pixel; Qt alone lets 128 MiB through.
constexpr qint64 kMaxDecodedBytes = 64'000'000;
// Qt's decoders allocate no more (MiB): a backstop for a header that understates the size.
constexpr int kAllocationLimitMiB = 64;
// No picture within the limits needs a larger file: stored raw it takes kMaxDecodedBytes.
constexpr qint64 kMaxFileBytes = kMaxDecodedBytes;

[[noreturn]] void Refuse(const std::string& path) {
    throw RuntimeError(kErrInvalidPicture, "Invalid picture: " + path);
}

// The logical screen a GIF file claims; nothing for a file that does not
// start as a GIF does. Qt's GIF handler reads a file without checking its
// signature, and answers size() with its first frame's size when the screen
// is much larger, but decodes onto the whole screen.
std::optional<QSize> GifScreen(const QString& file) {
    QFile in(file);
    const QByteArray head = in.open(QIODevice::ReadOnly) ? in.read(10) : QByteArray();
    if (head.size() < 10 || !(head.startsWith("GIF87a") || head.startsWith("GIF89a"))) {
        return {};
    }
    const auto word = [&head](int at) {
        return static_cast<unsigned char>(head[at]) | static_cast<unsigned char>(head[at + 1]) << 8;
    };
    return QSize(word(6), word(8));
}

// Whether a picture of this size, read from its header, may be decoded.
bool WithinLimits(const QSize& size) {
    return size.isValid() && size.width() <= kMaxSide && size.height() <= kMaxSide &&
           qint64{size.width()} * size.height() * 4 <= kMaxDecodedBytes;
}

}  // namespace

QPixmap LoadPicture(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const QString file = QString::fromStdString(path);
    const QFileInfo info(file);
    if (!info.isFile()) {
        throw RuntimeError(kErrFileNotFound, "File not found: " + path);
    }
    if (info.size() > kMaxFileBytes) {
        Refuse(path);
    }
    // Pictures are GIFs and nothing else: Qt's own detection would hand a
    // file to whichever decoder its content suggests, whatever its name.
    const std::optional<QSize> screen = GifScreen(file);
    if (!screen) {
        Refuse(path);
    }
    QImageReader reader(file, "gif");
    reader.setAutoDetectImageFormat(false);
    reader.setDecideFormatFromContent(false);
    reader.setAllocationLimit(kAllocationLimitMiB);
    // A size the header does not give cannot be judged, and is refused too.
    if (!WithinLimits(*screen) || !WithinLimits(reader.size())) {
        Refuse(path);
    }
    const QImage image = reader.read();
    if (image.isNull() || !WithinLimits(image.size())) {
        Refuse(path);
    }
    return QPixmap::fromImage(image);
}

}  // namespace lumidot
