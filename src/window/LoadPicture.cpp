#include "window/LoadPicture.h"

#include <QFileInfo>
#include <QImageReader>

#include "console/RuntimeError.h"

namespace lumidot {

QPixmap LoadPicture(const std::string& path) {
    if (path.empty()) {
        return {};
    }
    const QString file = QString::fromStdString(path);
    if (!QFileInfo(file).isFile()) {
        throw RuntimeError(kErrFileNotFound, "File not found: " + path);
    }
    QImageReader reader(file);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw RuntimeError(kErrInvalidPicture, "Invalid picture: " + path);
    }
    return QPixmap::fromImage(image);
}

}  // namespace lumidot
