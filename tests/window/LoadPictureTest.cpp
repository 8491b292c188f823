#include "window/LoadPicture.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "console/RuntimeError.h"

namespace lumidot {
namespace {

namespace fs = std::filesystem;

// A GIF whose logical screen is screenWidth x screenHeight, holding one image
// of width x height at its top left, of which only the first pixel is coded.
std::string Gif(int screenWidth, int screenHeight, int width, int height) {
    std::string bytes = "GIF89a";
    const auto word = [&bytes](int value) {
        bytes += static_cast<char>(value & 0xff);
        bytes += static_cast<char>(value >> 8 & 0xff);
    };
    word(screenWidth);
    word(screenHeight);
    bytes += std::string("\x80\0\0\xff\xff\xff\0\0\0", 9);  // two colours
    bytes += "\x2c";                                        // the image
    word(0);
    word(0);
    word(width);
    word(height);
    bytes += std::string("\0\x02\x02\x44\x01\0\x3b", 7);  // one pixel, the end
    return bytes;
}

std::function<void(const fs::path&)> Writing(const std::string& bytes) {
    return [bytes](const fs::path& file) { std::ofstream(file, std::ios::binary) << bytes; };
}

// The error number loading the file raises; 0 when it loads.
int ErrorNumberOf(const fs::path& file) {
    try {
        LoadPicture(file.string());
    } catch (const RuntimeError& error) {
        return error.Number();
    }
    return 0;
}

TEST(LoadPictureTest, APictureIsJudgedByItsHeaderBeforeItIsDecoded) {
    const fs::path folder =
        fs::temp_directory_path() / ("lumidot-pictures-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const struct {
        const char* name;
        std::function<void(const fs::path&)> make;
        int number;
    } cases[] = {
        {"missing.gif", [](const fs::path&) {}, kErrFileNotFound},
        {"a-folder.gif", [](const fs::path& file) { fs::create_directory(file); },
         kErrFileNotFound},
        {"empty.gif", Writing(""), kErrInvalidPicture},
        {"text.gif", Writing("GIF89a, or so it says"), kErrInvalidPicture},
        // Each of these decodes without an error when nothing is judged first.
        {"screen-8192x4095.gif", Writing(Gif(8192, 4095, 1, 1)), kErrInvalidPicture},
        {"image-1280x24084.gif", Writing(Gif(1280, 24084, 1280, 24084)), kErrInvalidPicture},
        {"screen-8192x1000.gif", Writing(Gif(8192, 1000, 1, 1)), kErrInvalidPicture},
        {"image-4096x4000.gif", Writing(Gif(4096, 4000, 4096, 4000)), kErrInvalidPicture},
        // One pixel followed by 100 MB of nothing (a sparse file).
        {"100-mb.gif",
         [](const fs::path& file) {
             Writing(Gif(1, 1, 1, 1))(file);
             fs::resize_file(file, 100'000'000);
         },
         kErrInvalidPicture},
    };
    for (const auto& c : cases) {
        c.make(folder / c.name);
        EXPECT_EQ(ErrorNumberOf(folder / c.name), c.number) << c.name;
    }
    fs::remove_all(folder);

    EXPECT_TRUE(LoadPicture("").isNull());
    EXPECT_EQ(LoadPicture(LUMIDOT_PROGRAM_FOLDER "/overlays/Zentrax.gif").size(), QSize(169, 169));
}

}  // namespace
}  // namespace lumidot
