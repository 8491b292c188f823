#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace lumidot {

// A cartridge written in Lua: a folder that holds cartridge.lua, named after
// the folder.
struct CartridgeFolder {
    std::string name;
    std::filesystem::path folder;
};

// Where cartridges are found: folders given on the command line, the user's
// own folder of cartridges and the one shipped beside the program.
struct CartridgePlaces {
    std::vector<std::filesystem::path> commandLine;
    std::filesystem::path user;
    std::filesystem::path shipped;
};

// The name the built-in cartridge has, which no folder can take.
inline constexpr char kBuiltInName[] = "Zentrax";

// The cartridges found, by name (a name found twice is listed once: the
// command line's over the user's, the user's over the shipped one), and
// which of them the command line chose last, or -1.
struct Shelf {
    std::vector<CartridgeFolder> cartridges;
    int chosen = -1;
};
Shelf FindCartridges(const CartridgePlaces& places);

// Why a folder given on the command line cannot be a cartridge, or "".
std::string WhyNoCartridge(const std::filesystem::path& folder);

}  // namespace lumidot
