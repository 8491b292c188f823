#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace lumidot::lua {

// The file by its name relative to the cartridge's folder, resolved to its
// real path, or "" when it is missing, is not a regular file, or lies
// outside the folder: an absolute name, a ".." that climbs out, or a link
// that points elsewhere. Only a path from here reaches a loader.
std::string CartridgeFile(const std::filesystem::path& folder, std::string_view name);

// The cartridge's script, cartridge.lua, judged by its size before it is
// read. A missing, unreadable or oversized script is error 53.
std::string ReadScript(const std::filesystem::path& folder);

}  // namespace lumidot::lua
