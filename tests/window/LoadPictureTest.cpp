// Pictures are read from files as GIFs, judged before they are decoded.

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <tuple>

#include "HostileFiles.h"
#include "console/RuntimeError.h"
#include "window/LoadPicture.h"

namespace lumidot {
namespace {

using bench::Gif;

// The report's number for the file, 0 when it loads.
int Number(const QString& path) {
    try {
        LoadPicture(path.toStdString());
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

// Each large one decodes without an error when nothing is judged first, and
// each that is no GIF decodes as whatever Qt takes it for. The numbers are
// the README's: 53 for a missing file, 481 for one that is no readable
// picture or larger than 4,096 pixels a side.
TEST(LoadPictureTest, AFileThatIsNoGifOrTooLargeIsRefusedWithItsNumber) {
    QTemporaryDir folder;
    const auto file = [&folder](const QByteArray& bytes, qint64 size = 0) {
        QFile made(folder.filePath("picture.gif"));
        made.open(QIODevice::WriteOnly | QIODevice::Truncate);
        made.write(bytes);
        made.resize(std::max(size, made.size()));
        return made.fileName();
    };
    EXPECT_EQ(Number(file(Gif(2, 2, 1, 1))), 0);
    EXPECT_EQ(Number(file(Gif(2, 2, 1, 1).replace(3, 3, "87a"))), 0) << "GIF87a";
    // clang-format off
    const std::tuple<const char*, QByteArray, qint64> refused[] = {
        {"its image broken", Gif(2, 2, 1, 1).replace(29, 1, "\x0f"), 0},
        {"no signature", Gif(2, 2, 1, 1).replace(0, 1, "g"), 0},
        {"8,192 wide", Gif(8192, 1000, 1, 1), 0}, {"8,192 high", Gif(1000, 8192, 1, 1), 0},
        {"65.5 MB", Gif(4096, 4000, 4096, 4000), 0}, {"a 100 MB file", Gif(1, 1, 1, 1), 100'000'000}};
    // clang-format on
    for (const auto& [what, bytes, size] : refused)
        EXPECT_EQ(Number(file(bytes, size)), 481) << what;
    EXPECT_EQ(Number(folder.filePath("missing.gif")), 53);
    EXPECT_EQ(Number(folder.path()), 53) << "a folder";
}

}  // namespace
}  // namespace lumidot
