#include "window/LoadPicture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "console/RuntimeError.h"

namespace lumidot {
namespace {

// A GIF whose logical screen is screen wide and high, holding one image of
// width x height at its top left, of which only the first pixel is coded.
QByteArray Gif(int screenWidth, int screenHeight, int width, int height) {
    QByteArray bytes("GIF89a");
    const auto word = [&bytes](int value) {
        bytes.append(char(value & 0xff)).append(char(value >> 8));
    };
    word(screenWidth);
    word(screenHeight);
    bytes.append("\x80\0\0\xff\xff\xff\0\0\0\x2c", 10);  // two colours, the image
    word(0);
    word(0);
    word(width);
    word(height);
    return bytes.append("\0\x02\x02\x44\x01\0\x3b", 7);  // one pixel, the end
}

// A picture is judged by its file and header before it is decoded: each
// large one here decodes without an error when nothing is judged first.
TEST(LoadPictureTest, AFileThatIsNoPictureOrTooLargeIsRefusedWithItsNumber) {
    QTemporaryDir folder;
    const std::pair<QByteArray, int> cases[] = {{"", kErrInvalidPicture},
                                                {"GIF89a, or so it says", kErrInvalidPicture},
                                                {Gif(8192, 4095, 1, 1), kErrInvalidPicture},
                                                {Gif(1280, 24084, 1280, 24084), kErrInvalidPicture},
                                                {Gif(8192, 1000, 1, 1), kErrInvalidPicture},
                                                {Gif(4096, 4000, 4096, 4000), kErrInvalidPicture}};
    const auto numberOf = [](const QString& file) {
        try {
            LoadPicture(file.toStdString());
        } catch (const RuntimeError& error) {
            return error.Number();
        }
        return 0;
    };
    for (const auto& [bytes, number] : cases) {
        QFile file(folder.filePath("picture.gif"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        EXPECT_EQ(numberOf(file.fileName()), number) << bytes.size() << " bytes";
    }
    // A file of 100 MB, nothing but one pixel.
    QFile file(folder.filePath("picture.gif"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(Gif(1, 1, 1, 1));
    file.resize(100'000'000);
    file.close();
    EXPECT_EQ(numberOf(folder.filePath("picture.gif")), kErrInvalidPicture);
    EXPECT_EQ(numberOf(folder.filePath("missing.gif")), kErrFileNotFound);
    EXPECT_EQ(numberOf(folder.path()), kErrFileNotFound) << "a folder";
    EXPECT_TRUE(LoadPicture("").isNull());
    EXPECT_EQ(LoadPicture(LUMIDOT_PROGRAM_FOLDER "/overlays/Zentrax.gif").size(), QSize(169, 169));
}

}  // namespace
}  // namespace lumidot
