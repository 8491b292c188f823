#include "cartridges/lua/Shelf.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <system_error>

namespace lumidot {

namespace {

namespace fs = std::filesystem;

// A folder holds at most this many cartridges that are listed: the list is
// for choosing, and a folder of thousands is no shelf.
constexpr std::size_t kMostPerFolder = 256;

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The folder's own name, also when it is given as "." or with a trailing
// separator.
std::string NameOf(const fs::path& folder) {
    std::error_code error;
    const fs::path whole = fs::weakly_canonical(folder, error);
    return (error ? folder : whole).filename().string();
}

bool IsCartridge(const fs::path& folder) {
    std::error_code error;
    return fs::is_regular_file(folder / "cartridge.lua", error);
}

// Adds the folder under its name, unless a place that wins has it already.
void Add(std::map<std::string, CartridgeFolder>& found, const fs::path& folder) {
    if (WhyNoCartridge(folder).empty()) {
        const std::string name = NameOf(folder);
        found.emplace(name, CartridgeFolder{name, folder});
    }
}

void AddFolderOfCartridges(std::map<std::string, CartridgeFolder>& found, const fs::path& place) {
    std::error_code error;
    std::vector<fs::path> folders;
    for (fs::directory_iterator it(place, error), end; !error && it != end; it.increment(error)) {
        if (it->is_directory(error) && folders.size() < kMostPerFolder) {
            folders.push_back(it->path());
        }
    }
    for (const fs::path& folder : folders) {
        Add(found, folder);
    }
}

}  // namespace

Shelf FindCartridges(const CartridgePlaces& places) {
    std::map<std::string, CartridgeFolder> found;
    for (auto it = places.commandLine.rbegin(); it != places.commandLine.rend(); ++it) {
        Add(found, *it);
    }
    AddFolderOfCartridges(found, places.user);
    AddFolderOfCartridges(found, places.shipped);
    Shelf shelf;
    for (auto& [name, cartridge] : found) {
        shelf.cartridges.push_back(std::move(cartridge));
    }
    // By name as a reader sorts: letters alike in either case.
    std::stable_sort(shelf.cartridges.begin(), shelf.cartridges.end(),
                     [](const CartridgeFolder& a, const CartridgeFolder& b) {
                         return Lowered(a.name) < Lowered(b.name);
                     });
    if (!places.commandLine.empty()) {
        const std::string last = NameOf(places.commandLine.back());
        for (std::size_t i = 0; i < shelf.cartridges.size(); ++i) {
            if (shelf.cartridges[i].name == last) {
                shelf.chosen = static_cast<int>(i);
            }
        }
    }
    return shelf;
}

std::string WhyNoCartridge(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(folder, error)) {
        return "no folder " + folder.string();
    }
    if (!IsCartridge(folder)) {
        return folder.string() + " holds no cartridge.lua";
    }
    if (Lowered(NameOf(folder)) == Lowered(kBuiltInName)) {
        return "\"" + std::string(kBuiltInName) + "\" is the built-in cartridge's name";
    }
    return {};
}

}  // namespace lumidot
