#include "cartridges/lua/CartridgeFiles.h"

#include <fstream>
#include <iterator>
#include <system_error>

#include "console/RuntimeError.h"

namespace lumidot::lua {

namespace fs = std::filesystem;

namespace {

// No cartridge's script needs more: a game for a 16 x 16 display is a few
// hundred lines.
constexpr std::uintmax_t kMostScriptBytes = 1u << 20;

}  // namespace

std::string CartridgeFile(const fs::path& folder, std::string_view name) {
    if (name.empty() || name.find('\0') != name.npos) {
        return {};
    }
    const fs::path relative(name);
    if (relative.is_absolute() || relative.has_root_name() || relative.has_root_directory()) {
        return {};
    }
    std::error_code error;
    const fs::path root = fs::canonical(folder, error);
    if (error) {
        return {};
    }
    const fs::path file = fs::canonical(root / relative, error);
    if (error || !fs::is_regular_file(file, error)) {
        return {};
    }
    // Inside means below: the first step from the folder to the file is
    // neither ".." nor the folder itself.
    const fs::path inside = file.lexically_relative(root);
    if (inside.empty() || *inside.begin() == ".." || inside == ".") {
        return {};
    }
    return file.string();
}

std::string ReadScript(const fs::path& folder) {
    const std::string path = CartridgeFile(folder, "cartridge.lua");
    std::error_code error;
    const std::uintmax_t size = path.empty() ? 0 : fs::file_size(path, error);
    if (path.empty() || error) {
        throw RuntimeError(kErrFileNotFound, "File not found: cartridge.lua");
    }
    if (size > kMostScriptBytes) {
        throw RuntimeError(kErrFileNotFound, "cartridge.lua is larger than 1 MiB");
    }
    std::ifstream in(path, std::ios::binary);
    std::string script;
    script.resize(static_cast<std::size_t>(size));
    if (!in.read(script.data(), static_cast<std::streamsize>(size)) || in.peek() != EOF) {
        throw RuntimeError(kErrFileNotFound, "cartridge.lua cannot be read");
    }
    return script;
}

}  // namespace lumidot::lua
